// GoogleTest entry for tests that need the Qt application and highgui alive.
#include <gtest/gtest.h>

#include <QApplication>

#include "app/MarluneApp.h"

namespace {

// The offscreen platform warns that it cannot pass size hints to a window manager it
// does not have, once per highgui window; that says nothing about the tests.
QtMessageHandler standard = nullptr;

void QuietMessageHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.contains(QLatin1String("propagateSizeHints"))) return;
    standard(type, context, message);
}

}  // namespace

int main(int argc, char* argv[])
{
    standard = qInstallMessageHandler(QuietMessageHandler);
    QApplication application(argc, argv);
    CMarluneApp app;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
