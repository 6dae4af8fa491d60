#include "tuner/TunerOptions.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>

#include "common/NumberText.h"
#include "runner/PictureOutput.h"

namespace {

constexpr double kLargestBound = 1e6;

// Finite only: a search box without ends or a score that is not a number would leave
// nothing to compare.
double ParseReal(const std::string& option, const std::string& text)
{
    const std::optional<double> value = ParseExactNumber(text);
    if (!value) throw UsageError(option + ": '" + text + "' is not a finite number");
    return *value;
}

int ParseAtLeast(const std::string& option, const std::string& text, int minimum)
{
    const long long value = text == "0" ? 0 : ParsePositiveCount(option, text);
    if (value < minimum || value > std::numeric_limits<int>::max())
        throw UsageError(option + " must be a whole number from " + std::to_string(minimum) + " to " +
                         std::to_string(std::numeric_limits<int>::max()));
    return static_cast<int>(value);
}

void ParseRange(const std::string& option, const std::string& text, double& low, double& high)
{
    const auto colon = text.find(':', 1);  // a leading '-' belongs to the first number
    if (colon == std::string::npos) throw UsageError(option + " takes MIN:MAX, got '" + text + "'");
    low = ParseReal(option, text.substr(0, colon));
    high = ParseReal(option, text.substr(colon + 1));
    // Beyond a million degrees or pixels per pass a table means nothing, and sums of
    // such values in the search overflow to infinity.
    if (std::abs(low) > kLargestBound || std::abs(high) > kLargestBound)
        throw UsageError(option + ": bounds must lie within -1e6:1e6");
    if (!(low <= high)) throw UsageError(option + ": MIN is above MAX");
}

}  // namespace

std::string FrontCsvPath(const std::string& picturePath)
{
    const auto dot = picturePath.find_last_of('.');
    const auto slash = picturePath.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return picturePath + ".csv";
    return picturePath.substr(0, dot) + ".csv";
}

std::string DefaultReportPath(const std::string& outPath)
{
    const std::string extension = ".ifi";
    if (outPath.size() > extension.size() &&
        outPath.compare(outPath.size() - extension.size(), extension.size(), extension) == 0)
        return outPath.substr(0, outPath.size() - extension.size()) + ".txt";
    return outPath + ".txt";
}

TunerOptions ParseTunerOptions(const std::vector<std::string>& arguments, int defaultThreads)
{
    TunerOptions options;
    TuningSettings& s = options.settings;
    s.threads = defaultThreads;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        if (ReadInformationOption(option, options)) continue;
        if (option.rfind("--", 0) != 0) throw UnexpectedArgument(option);
        const std::string& value = OptionValue(arguments, i);
        if (option == "--seed")
            s.seed = ParseSeed(option, value);
        else if (option == "--out")
            options.outPath = value;
        else if (option == "--report")
            options.reportPath = value;
        else if (option == "--start")
            options.startPath = value;
        else if (option == "--compare")
            options.comparePath = value;
        else if (option == "--front")
            options.frontPath = PicturePath(option, value);
        else if (option == "--from")
            options.fromPath = value;
        else if (option == "--pick")
            options.pick = ParseFrontPick(option, value);
        else if (option == "--arenas")
            s.arenas = ParseAtLeast(option, value, 1);
        else if (option == "--passes")
            s.passes = ParseAtLeast(option, value, 1);
        else if (option == "--population")
            s.population = ParseAtLeast(option, value, 4);
        else if (option == "--generations")
            s.generations = ParseAtLeast(option, value, 0);
        else if (option == "--threads")
            s.threads = ParseAtLeast(option, value, 1);
        else if (option == "--collision-weight") {
            s.collisionWeight = ParseReal(option, value);
            if (!(s.collisionWeight >= 0)) throw UsageError(option + " must not be negative");
        } else if (option == "--angles")
            ParseRange(option, value, s.angleMin, s.angleMax);
        else if (option == "--speeds")
            ParseRange(option, value, s.speedMin, s.speedMax);
        else
            throw UnknownOption(option);
    }
    if (options.outPath.empty()) throw UsageError("--out needs a file name");
    if (options.reportPath.empty()) options.reportPath = DefaultReportPath(options.outPath);
    if (!options.fromPath.empty() && !options.frontPath.empty())
        throw UsageError("--from picks from a front already drawn: --front needs a search");
    return options;
}

double TuningMemoryBytes(const TuningSettings& settings)
{
    // Generous per-item sizes, containers' overheads included; a world is three images
    // of 256 x 256 pixels and the stack its thread uses.
    constexpr double kBytesPerSeed = 64;
    constexpr double kBytesPerTable = 1024;
    constexpr double kBytesPerWorld = 1 << 20;
    const double arenas = settings.arenas;
    const double population = settings.population;
    const double pairs = population * arenas;
    const double worlds = std::min(static_cast<double>(settings.threads), pairs);
    // The tables met are kept for the front, twice over while the outcome is made.
    const double met =
        std::min(population * (static_cast<double>(settings.generations) + 1), static_cast<double>(kMetTablesKept));
    return 2 * arenas * kBytesPerSeed + population * kBytesPerTable + pairs * static_cast<double>(sizeof(RunTotals)) +
           worlds * kBytesPerWorld + 2 * met * static_cast<double>(sizeof(MetTable));
}

void RefuseSearchesBeyondMemory(const TuningSettings& settings, double availableBytes)
{
    const double needed = TuningMemoryBytes(settings);
    if (needed <= availableBytes) return;
    char text[256];
    std::snprintf(text, sizeof text,
                  "--population %d, --arenas %d and --threads %d need about %.3g bytes of memory, more than the "
                  "%.3g this machine has",
                  settings.population, settings.arenas, settings.threads, needed, availableBytes);
    throw UsageError(text);
}

std::string TunerHelp()
{
    std::string help = R"(marlune-tune: searches the sixteen values of an inference table (.ifi) with which the
simulated robot drives among the obstacles, fast and without touching them.

Usage: marlune-tune [options]
       marlune-tune --from FRONT.csv [--pick WHICH] [--out FILE.ifi]
  --seed N              decimal or 0x hex, 64-bit (default 1). Fixes the K tuning arenas, the K
                        validation arenas (never one of the tuning arenas) and the search itself:
                        the same seed and settings give the same table, whatever --threads.
  --out FILE.ifi        where the table is written (default best.ifi)
  --report FILE         where the report is written (default: FILE.ifi with .txt)
  --arenas K            tuning arenas, and as many validation arenas (default @ARENAS@)
  --passes P            passes per arena, from the usual start (default @PASSES@)
  --population N        tables per generation, at least 4 (default @POPULATION@)
  --generations G       generations after the first population (default @GENERATIONS@)
  --collision-weight W  how much collisions cost in the score (default @WEIGHT@)
  --angles MIN:MAX      bounds of the eight angles, degrees (default -90:90)
  --speeds MIN:MAX      bounds of the eight speeds, pixels per pass (default 0:3)
                        (bounds lie within -1e6:1e6)
  --start FILE.ifi      a table that joins the first generation (the result is never worse)
  --compare FILE.ifi    also report this table's figures on the same arenas
  --front FILE.png      draw the tables met: collisions per 1000 passes against mean speed,
                        coloured by the interior entered, the front joined and numbered, the
                        table written ringed in red; FILE.csv beside it holds every table met
  --pick WHICH          the table written: balanced (default: the chosen one), cautious (the
                        front's fewest collisions), fast (the front's fastest) or a front rank
  --from FRONT.csv      no search: write the --pick table of a front written before
  --threads T           worker threads, one world each (default: every core)
  --help                this text
  --version             the program's version

Score of a table, over the K tuning arenas together:
  score = mean speed x interior x exp(-W x collisions per 1000 passes)
  mean speed = pixels travelled by the robot's centre / passes (as marlune-run reports it)
  interior   = mean share of an arena's 144 interior cells that the centre entered: the
               cells of 16 x 16 pixels at least 32 pixels inside the border (columns and
               rows 2 to 13). Circling along the border wall enters none of them, spinning
               on the spot one; only driving among the obstacles pays.
  collisions = entries of the centre into blocked ground, as marlune-run counts them. They
               multiply the score down rather than subtract from it, so standing still
               (score 0) never beats a table that moves, and each collision per 1000
               passes costs the same share of the score whatever the table's speed.
  Long runs make a loop stop paying: the interior it enters is entered in its first lap.
  A robot that leaves the image has left its arena: its run ends there (the report
  counts these escapes). A table that throws the robot beyond any meaningful range
  (huge speeds or turns) has failed: its score is -inf.

The search is differential evolution (rand/1/bin, F 0.6, CR 0.9) inside the bounds. It
keeps the last 100000 tables met; the @FINALISTS@ best on the tuning arenas and the front run
again on the K validation arenas, and the best there is the chosen table: the one
written, unless --pick says otherwise. The front: the tables no other beats on both
collisions and speed, among those entering at least 80 % of the interior the best table
on the tuning arenas enters (a robot that stands still never collides).
On a terminal a progress line shows the generation, the best score and the time left.
Ctrl-C stops the search and still writes the best table found so far, then chooses on
the validation arenas and writes the report; a second Ctrl-C ends the program at once
(a table is already written).
The report gives score, collisions per 1000 passes, mean speed and interior on the tuning
and on the validation arenas, and the gap between the two scores. The table, the report
and the front replace their files only once they are complete; their folders are checked
before the search starts.
Exit codes: 0 done (stopped or not), 1 the table, the report or the front cannot be
written, 2 a bad command line, a search larger than the memory, an output naming an input
or another output, a --start/--compare table that cannot be read or holds fewer than
sixteen numbers, a --from file that is not a front, or a --pick rank the front does not
hold.
)";
    // The defaults are the settings' own, so the text cannot drift from them.
    const TuningSettings defaults;
    char weight[32];
    std::snprintf(weight, sizeof weight, "%g", defaults.collisionWeight);
    const std::pair<const char*, std::string> values[] = {{"@ARENAS@", std::to_string(defaults.arenas)},
                                                          {"@PASSES@", std::to_string(defaults.passes)},
                                                          {"@POPULATION@", std::to_string(defaults.population)},
                                                          {"@GENERATIONS@", std::to_string(defaults.generations)},
                                                          {"@WEIGHT@", weight},
                                                          {"@FINALISTS@", std::to_string(kFinalists)}};
    for (const auto& [mark, value] : values) help.replace(help.find(mark), std::string(mark).size(), value);
    return help;
}
