#include "common/CommandLineValues.h"

#include <ostream>

#include "common/NumberText.h"
#include "common/PrintableText.h"
#include "common/ProgramVersion.h"

namespace {

UsageError NotANumber(std::string_view option, std::string_view text, std::string_view expected)
{
    return UsageError(std::string(option) + ": '" + std::string(text) + "' is not " + std::string(expected));
}

// Messages quote arguments and files, which may hold anything: one printable line each.
int GiveUp(const std::string& program, std::string_view message, std::ostream& err, int exitCode)
{
    err << program << ": " << PrintableText(message) << '\n';
    return exitCode;
}

}  // namespace

bool ReadInformationOption(const std::string& argument, InformationOptions& information)
{
    if (argument == "--help" || argument == "-h") {
        information.help = true;
        return true;
    }
    if (argument == "--version") {
        information.version = true;
        return true;
    }
    return false;
}

bool AnswerInformationOptions(const InformationOptions& information, const std::string& program, std::string_view help,
                              std::ostream& out)
{
    if (information.help)
        out << help;
    else if (information.version)
        out << VersionLine(program);
    return information.help || information.version;
}

int RefuseCommandLine(const std::string& program, std::string_view message, std::ostream& err)
{
    return GiveUp(program, message, err, 2);
}

int ReportUnwrittenOutput(const std::string& program, std::string_view message, std::ostream& err)
{
    return GiveUp(program, message, err, 1);
}

const std::string& OptionValue(const std::vector<std::string>& arguments, std::size_t& index)
{
    if (index + 1 >= arguments.size()) throw UsageError(arguments[index] + ": missing value");
    return arguments[++index];
}

UsageError UnknownOption(const std::string& argument)
{
    return UsageError("unknown option '" + argument + "' (see --help)");
}

UsageError UnexpectedArgument(const std::string& argument)
{
    return UsageError("unexpected argument '" + argument + "' (see --help)");
}

std::uint64_t ParseSeed(std::string_view option, std::string_view text)
{
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const std::optional<std::uint64_t> seed =
        hex ? ParseExactWhole<std::uint64_t>(text.substr(2), 16) : ParseExactWhole<std::uint64_t>(text);
    if (!seed) throw NotANumber(option, text, "a 64-bit seed (decimal or 0x hexadecimal)");
    return *seed;
}

long long ParsePositiveCount(std::string_view option, std::string_view text)
{
    const std::optional<long long> count = ParseExactWhole<long long>(text);
    if (!count || *count < 1) throw NotANumber(option, text, "a whole number of at least 1");
    return *count;
}
