#include <iostream>

#include <QApplication>

#include "CommandLineValues.h"
#include "DesktopOptions.h"
#include "MarluneApp.h"
#include "ProgramVersion.h"

int main(int argc, char* argv[])
{
    // The QApplication comes first: highgui would otherwise make one of its own. It also
    // takes its own options (-platform, ...) out of argv.
    QApplication application(argc, argv);
    DesktopOptions options;
    try {
        options = ParseDesktopOptions(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const UsageError& error) {
        std::cerr << "marlune: " << error.what() << '\n';
        return 2;
    }
    if (options.help) {
        std::cout << DesktopHelp();
        return 0;
    }
    if (options.version) {
        std::cout << VersionLine("marlune");
        return 0;
    }
    CMarluneApp app(options);
    app.InitInstance();
    return 0;
}
