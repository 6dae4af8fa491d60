#pragma once
#include <cstdint>
#include <iosfwd>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// A command line the program cannot act on: the message is one line for the user,
// and the program ends with exit code 2.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// --help (or -h) and --version, which every program takes and answers before any work.
struct InformationOptions {
    bool help = false;
    bool version = false;
};

// Notes the argument when it is --help, -h or --version; false for any other.
bool ReadInformationOption(const std::string& argument, InformationOptions& information);

// Writes the help text, or else the version line, when either was asked for; returns
// whether it did, and the program is then done (exit code 0). Help wins over version.
bool AnswerInformationOptions(const InformationOptions& information, const std::string& program, std::string_view help,
                              std::ostream& out);

// The one line on err with which a program gives up, "program: message", and the exit
// code it gives up with: 2 for a command line it cannot act on, 1 for an output it
// could not write.
int RefuseCommandLine(const std::string& program, std::string_view message, std::ostream& err);
int ReportUnwrittenOutput(const std::string& program, std::string_view message, std::ostream& err);

// The value that follows the option at `index`, which then moves on to it.
const std::string& OptionValue(const std::vector<std::string>& arguments, std::size_t& index);

// The refusals every program words the same way.
UsageError UnknownOption(const std::string& argument);
UsageError UnexpectedArgument(const std::string& argument);

// A 64-bit unsigned number, decimal or 0x-prefixed hexadecimal, with nothing around it.
std::uint64_t ParseSeed(std::string_view option, std::string_view text);

// A whole number of at least 1, decimal.
long long ParsePositiveCount(std::string_view option, std::string_view text);
