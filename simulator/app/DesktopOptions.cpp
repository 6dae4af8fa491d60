#include "app/DesktopOptions.h"

#include "interop/TableLoading.h"

DesktopOptions ParseDesktopOptions(const std::vector<std::string>& arguments)
{
    DesktopOptions options;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (ReadInformationOption(argument, options)) continue;
        if (argument == "--seed") {
            options.seed = ParseSeed(argument, OptionValue(arguments, i));
        } else if (argument.rfind("-", 0) == 0) {
            throw UnknownOption(argument);
        } else if (options.table) {
            throw UsageError("unexpected argument '" + argument + "': one table at most (see --help)");
        } else {
            options.table = LoadTableForRun(argument, "TABLE");
        }
    }
    return options;
}

const char* DesktopHelp()
{
    return R"(Usage: marlune [TABLE] [--seed N]

Opens the dialog "Robot KALO : Evitement d'Obstacles".
  TABLE      an inference table (.ifi, or a .fll or .fis engine as marlune-export
             writes it) loaded into the dialog at start; all sixteen numbers are needed
  --seed N   state of the world's random generator before the first run, decimal
             or 0x hexadecimal (64-bit). Without it the clock chooses.
  --version  the program's version.

The window "Inférence floue" shows the generator state at the start of each run:
`marlune-run --seed <state> --table TABLE` replays that run without a window, pass
for pass. Exit code 2: bad arguments or an unreadable or incomplete table.
)";
}
