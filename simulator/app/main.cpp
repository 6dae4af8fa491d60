#include <iostream>
#include <optional>

#include <QApplication>

#include "app/DesktopOptions.h"
#include "app/DisplayConnectionGuard.h"
#include "app/MarluneApp.h"
#include "common/CommandLineValues.h"

int main(int argc, char* argv[])
{
    const std::string program = "marlune";
    // --help and --version answer before anything graphical starts: they must work over
    // ssh and in a package build, where there is no display.
    InformationOptions information;
    for (int i = 1; i < argc; ++i) ReadInformationOption(argv[i], information);
    if (AnswerInformationOptions(information, program, DesktopHelp(), std::cout)) return 0;

    // The QApplication comes before any highgui call: highgui would otherwise make one
    // of its own. It also takes its own options (-platform, ...) out of argv.
    std::optional<QApplication> application;
    {
        DisplayConnectionGuard guard;
        application.emplace(argc, argv);
    }
    DesktopOptions options;
    try {
        options = ParseDesktopOptions(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const UsageError& error) {
        return RefuseCommandLine(program, error.what(), std::cerr);
    }
    CMarluneApp app(options);
    app.InitInstance();
    return 0;
}
