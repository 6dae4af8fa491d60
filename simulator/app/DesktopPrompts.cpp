#include "app/DesktopPrompts.h"

#include <QCoreApplication>
#include <QPushButton>

std::unique_ptr<QFileDialog> MakeInferenceFileDialog(QWidget* parent, UserPrompts::FileMode mode)
{
    auto dialog = std::make_unique<QFileDialog>(parent);
    const bool saving = mode != UserPrompts::FileMode::Load;
    dialog->setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog->setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog->setOption(QFileDialog::DontConfirmOverwrite);
    // A desktop's native dialog would speak the desktop's language, not the program's.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    if (mode == UserPrompts::FileMode::Export) {
        // The format follows the extension, so the suffix added to a bare name follows
        // the filter chosen.
        dialog->setNameFilters({QStringLiteral("Moteur fuzzylite (*.fll)"), QStringLiteral("Matlab/Octave (*.fis)"),
                                QStringLiteral("IEC 61131-7 (*.fcl)")});
        dialog->setDefaultSuffix(QStringLiteral("fll"));
        QFileDialog* chooser = dialog.get();
        QObject::connect(chooser, &QFileDialog::filterSelected, chooser, [chooser](const QString& filter) {
            chooser->setDefaultSuffix(filter.section(QStringLiteral("*."), 1).chopped(1));
        });
        return dialog;
    }
    dialog->setNameFilter(mode == UserPrompts::FileMode::Load
                              ? QStringLiteral("Fichiers d'inférences (*.ifi *.fll *.fis)")
                              : QStringLiteral("Fichiers d'inférences (*.ifi)"));
    dialog->setDefaultSuffix(QStringLiteral("ifi"));
    dialog->selectFile(QStringLiteral("*.ifi"));
    return dialog;
}

std::unique_ptr<QMessageBox> MakeMessageBox(QWidget* parent, const QString& text, QMessageBox::Icon icon)
{
    return std::make_unique<QMessageBox>(icon, QCoreApplication::applicationName(), text, QMessageBox::Ok, parent);
}

std::unique_ptr<QMessageBox> MakeUnsavedChangesBox(QWidget* parent)
{
    auto box = std::make_unique<QMessageBox>(QMessageBox::Warning, QCoreApplication::applicationName(),
                                             QStringLiteral("La table d'inférences a été modifiée depuis le dernier "
                                                            "chargement ou la dernière sauvegarde.\n"
                                                            "Voulez-vous la sauvegarder avant de quitter ?"),
                                             QMessageBox::NoButton, parent);
    box->setDefaultButton(box->addButton(QStringLiteral("Sauvegarder"), QMessageBox::AcceptRole));
    box->addButton(QStringLiteral("Quitter sans sauvegarder"), QMessageBox::DestructiveRole);
    box->setEscapeButton(box->addButton(QStringLiteral("Annuler"), QMessageBox::RejectRole));
    return box;
}

UserPrompts::UnsavedChoice ChoiceOf(QMessageBox::ButtonRole role)
{
    switch (role) {
    case QMessageBox::AcceptRole:
        return UserPrompts::UnsavedChoice::Save;
    case QMessageBox::DestructiveRole:
        return UserPrompts::UnsavedChoice::Discard;
    default:
        // Closing the question with its close box or Escape keeps the program open.
        return UserPrompts::UnsavedChoice::Cancel;
    }
}

QString DesktopPrompts::ChooseInferenceFile(QWidget* parent, FileMode mode)
{
    const auto dialog = MakeInferenceFileDialog(parent, mode);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return QString();
    return dialog->selectedFiles().constFirst();
}

void DesktopPrompts::ShowMessage(QWidget* parent, const QString& text, QMessageBox::Icon icon)
{
    MakeMessageBox(parent, text, icon)->exec();
}

UserPrompts::UnsavedChoice DesktopPrompts::AskToSaveChanges(QWidget* parent)
{
    const auto box = MakeUnsavedChangesBox(parent);
    box->exec();
    return ChoiceOf(box->buttonRole(box->clickedButton()));
}
