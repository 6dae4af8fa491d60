#include <QApplication>

#include "MarluneApp.h"

int main(int argc, char* argv[])
{
    // The QApplication comes first: highgui would otherwise make one of its own.
    QApplication application(argc, argv);
    CMarluneApp app;
    app.InitInstance();
    return 0;
}
