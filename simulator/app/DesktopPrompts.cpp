#include "DesktopPrompts.h"

#include <QCoreApplication>

std::unique_ptr<QFileDialog> MakeInferenceFileDialog(QWidget* parent, UserPrompts::FileMode mode)
{
    auto dialog = std::make_unique<QFileDialog>(parent);
    const bool saving = mode == UserPrompts::FileMode::Save;
    dialog->setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog->setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog->setNameFilter(QStringLiteral("Fichiers d'inférences (*.ifi)"));
    dialog->setDefaultSuffix(QStringLiteral("ifi"));
    dialog->setOption(QFileDialog::DontConfirmOverwrite);
    return dialog;
}

std::unique_ptr<QMessageBox> MakeMessageBox(QWidget* parent, const QString& text, QMessageBox::Icon icon)
{
    return std::make_unique<QMessageBox>(icon, QCoreApplication::applicationName(), text, QMessageBox::Ok, parent);
}

QString DesktopPrompts::ChooseInferenceFile(QWidget* parent, FileMode mode)
{
    const auto dialog = MakeInferenceFileDialog(parent, mode);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return QString();
    return dialog->selectedFiles().constFirst();
}

void DesktopPrompts::ShowMessage(QWidget* parent, const QString& text, QMessageBox::Icon icon)
{
    MakeMessageBox(parent, text, icon)->exec();
}
