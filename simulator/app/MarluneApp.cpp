#include "app/MarluneApp.h"

#include <utility>

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "app/MarluneDlg.h"
#include "res/Resources.h"

namespace {

void InstallQtFrenchTranslation()
{
    // Qt's own dialogs (files, message-box buttons) speak French like the rest of the
    // program, whatever the desktop's language. The translator lives as long as the
    // application object that owns it, and one is enough however often the
    // application object is built.
    const QString name = QStringLiteral("qtbase_fr");
    if (QCoreApplication::instance()->findChild<QTranslator*>(name, Qt::FindDirectChildrenOnly)) return;
    auto* translator = new QTranslator(QCoreApplication::instance());
    translator->setObjectName(name);
    const QString folder = QLibraryInfo::location(QLibraryInfo::TranslationsPath);
    if (!translator->load(name, folder)) {
        qWarning("Marlune: no qtbase_fr translation in %s (package qttranslations5-l10n): "
                 "the file dialogs will speak English",
                 qUtf8Printable(folder));
        delete translator;
        return;
    }
    QCoreApplication::installTranslator(translator);
}

}  // namespace

CMarluneApp::CMarluneApp(DesktopOptions options) : m_options(std::move(options))
{
    // Message boxes take this name as their caption.
    QCoreApplication::setApplicationName(LoadVersionField(QStringLiteral("InternalName")));
    QCoreApplication::setApplicationVersion(LoadVersionField(QStringLiteral("version")));
    QGuiApplication::setWindowIcon(LoadIcon(128));
    InstallQtFrenchTranslation();
}

bool CMarluneApp::InitInstance()
{
    {
        CMarluneDlg dialog;
        if (m_options.table) dialog.ShowTable(*m_options.table);
        if (m_options.seed) dialog.m_sim.rng.Seed(*m_options.seed);
        dialog.exec();
    }
    return false;
}
