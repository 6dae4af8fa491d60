#pragma once
#include "app/DesktopOptions.h"

// The application: gives the process its name and version, then runs the main dialog.
// Needs the QApplication to exist already.
class CMarluneApp {
public:
    explicit CMarluneApp(DesktopOptions options = {});
    // Shows the main dialog modally and returns once it has closed and been destroyed.
    // False: the program has nothing left to run afterwards.
    bool InitInstance();

private:
    DesktopOptions m_options;
};
