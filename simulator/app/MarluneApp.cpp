#include "MarluneApp.h"

#include <utility>

#include <QApplication>

#include "MarluneDlg.h"
#include "Resources.h"

CMarluneApp::CMarluneApp(DesktopOptions options) : m_options(std::move(options))
{
    // Message boxes take this name as their caption.
    QCoreApplication::setApplicationName(LoadVersionField(QStringLiteral("InternalName")));
    QCoreApplication::setApplicationVersion(LoadVersionField(QStringLiteral("version")));
    QGuiApplication::setWindowIcon(LoadIcon(128));
}

bool CMarluneApp::InitInstance()
{
    {
        CMarluneDlg dialog;
        if (m_options.table)
            dialog.ShowTable(*m_options.table);
        if (m_options.seed)
            dialog.m_sim.rng.Seed(*m_options.seed);
        dialog.exec();
    }
    return false;
}
