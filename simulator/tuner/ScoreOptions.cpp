#include "tuner/ScoreOptions.h"

#include <limits>
#include <optional>

#include "common/NumberText.h"
#include "common/PrintableText.h"

namespace {

void ParseSeedRange(const std::string& option, const std::string& text, ScoreOptions& options)
{
    const auto dash = text.find('-');
    const std::string shape = option + " takes FIRST-LAST, two decimal seeds";
    if (dash == std::string::npos) throw UsageError(shape + ", got '" + PrintableText(text) + "'");
    const std::optional<std::uint64_t> first = ParseExactWhole<std::uint64_t>(std::string_view(text).substr(0, dash));
    const std::optional<std::uint64_t> last = ParseExactWhole<std::uint64_t>(std::string_view(text).substr(dash + 1));
    if (!first || !last) throw UsageError(shape + ", got '" + PrintableText(text) + "'");
    if (*first > *last) throw UsageError(option + ": FIRST is above LAST in '" + text + "'");
    if (*last - *first >= kMaxScoreArenas)
        throw UsageError(option + ": at most " + std::to_string(kMaxScoreArenas) + " arenas, got '" + text + "'");
    options.firstSeed = *first;
    options.lastSeed = *last;
}

int ParsePasses(const std::string& option, const std::string& text)
{
    const long long value = ParsePositiveCount(option, text);
    if (value > std::numeric_limits<int>::max())
        throw UsageError(option + " must be a whole number from 1 to " +
                         std::to_string(std::numeric_limits<int>::max()));
    return static_cast<int>(value);
}

}  // namespace

ScoreOptions ParseScoreOptions(const std::vector<std::string>& arguments)
{
    ScoreOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        if (ReadInformationOption(option, options)) continue;
        if (option.rfind("--", 0) != 0) {
            options.tablePaths.push_back(option);
            continue;
        }
        const std::string& value = OptionValue(arguments, i);
        if (option == "--seeds")
            ParseSeedRange(option, value, options);
        else if (option == "--passes")
            options.passes = ParsePasses(option, value);
        else if (option == "--csv")
            options.csvPath = value;
        else if (option == "--chart")
            options.chartPath = value;
        else if (option == "--require") {
            options.requirement = ParseRequirement(value);
            options.hasRequirement = true;
        } else
            throw UnknownOption(option);
    }
    if (options.tablePaths.empty() && !options.help && !options.version)
        throw UsageError("no table to score (see --help)");
    return options;
}

std::vector<std::uint64_t> ScoreSeeds(const ScoreOptions& options)
{
    std::vector<std::uint64_t> seeds;
    seeds.reserve(options.lastSeed - options.firstSeed + 1);
    for (std::uint64_t seed = options.firstSeed;; ++seed) {
        seeds.push_back(seed);
        if (seed == options.lastSeed) return seeds;
    }
}

std::string ScoreHelp()
{
    return R"(marlune-score: scores inference tables (.ifi, or .fll/.fis engines) on the same arenas, for
a fair comparison of a class's tables, and prints one row per table, best first.

Usage: marlune-score TABLE... [options]
  --seeds FIRST-LAST  the arenas, as marlune-run --seed gives them (default 1-30, at most
                      100000 arenas)
  --passes N          passes per arena, from the usual start (default 3000)
  --csv FILE          also write the rows as CSV: the figures, their intervals, whether the
                      table met --require, the reason a table could not be read
  --chart FILE.png    also draw the rows as bars with their 95 % intervals
  --require EXPR      what every table must achieve, e.g. "collisions<=1,coverage>=0.4":
                      comma-separated clauses KEY OP NUMBER, KEY collisions, speed or
                      coverage, OP <=, >=, < or > (at most 16 clauses, 256 characters)
  --help              this text
  --version           the program's version

Every table runs on every arena (every core is used; the figures do not depend on it):
  collisions  entries of the robot's centre into blocked ground per 1000 passes
  speed       pixels travelled by the robot's centre per pass
  coverage    share of the arena's interior cells the centre entered (16 x 16-pixel
              cells, columns and rows 2 to 13), shown as a percentage; --require takes
              it as a share from 0 to 1
Each figure is the mean over the arenas with its 95 % confidence interval (Student's t;
one arena gives none). The rows are ranked by marlune-tune's score over all the arenas
together, ties by name; a table that cannot be read gets its row, last, with the reason,
and the others still run. A robot that leaves the image ends its run there.
On a terminal a progress line shows the runs done and the time left. Ctrl-C stops the
scoring and still prints (and writes) the rows of the tables finished; a second Ctrl-C
ends the program at once.
Exit codes: 0 every table was read, scored and met --require; 1 a table missed --require
or could not be read, the scoring was stopped, or an output could not be written; 2 a bad
command line or an output naming a table or the other output (before any run).
)";
}
