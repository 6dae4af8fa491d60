#include <iostream>

#include <QApplication>

#include "CommandLineValues.h"
#include "DesktopOptions.h"
#include "MarluneApp.h"

int main(int argc, char* argv[])
{
    // The QApplication comes first: highgui would otherwise make one of its own. It also
    // takes its own options (-platform, ...) out of argv.
    QApplication application(argc, argv);
    const std::string program = "marlune";
    DesktopOptions options;
    try {
        options = ParseDesktopOptions(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const UsageError& error) {
        return RefuseCommandLine(program, error.what(), std::cerr);
    }
    if (AnswerInformationOptions(options, program, DesktopHelp(), std::cout)) return 0;
    CMarluneApp app(options);
    app.InitInstance();
    return 0;
}
