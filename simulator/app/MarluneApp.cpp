#include "MarluneApp.h"

#include <QApplication>

#include "MarluneDlg.h"
#include "Resources.h"

CMarluneApp::CMarluneApp()
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
        dialog.exec();
    }
    return false;
}
