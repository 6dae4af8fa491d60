#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "tuner/TableEvaluation.h"
#include "world/InferenceTable.h"

// A table the search ran, with what it did.
struct MetTable {
    InferenceTable table;
    RunTotals tuning;
    std::optional<RunTotals> validation;  // the finalists only
    int frontRank = 0;                    // 1, 2... along the front from slowest to fastest; 0 off it
};

// Every table the search met, and the one it chose.
struct TuningFront {
    std::vector<MetTable> met;
    std::size_t chosen = 0;
};

// The trade-off between collisions and speed: the tables that no other table beats on
// both (as few collisions and as fast, one of them strictly), on the tuning arenas.
// Only tables that enter at least kFrontCoverageShare of the interior that `reference`
// enters take part: a robot that stands still or spins never collides and would
// otherwise be offered as the most cautious table of all.
inline constexpr double kFrontCoverageShare = 0.8;
void MarkFront(std::vector<MetTable>& met, const RunTotals& reference);

// How many of the best tables on the tuning arenas run again on the validation arenas,
// beside the front, so that the one kept is the best on worlds the search never saw.
inline constexpr std::size_t kFinalists = 8;

// The tables worth validating: the `count` best by tuning score, then the front.
std::vector<std::size_t> Finalists(const std::vector<MetTable>& met, const ScoreFormula& formula, std::size_t count);

// The validated table with the best validation score; ties go to the one met first.
std::size_t BestOnValidation(const std::vector<MetTable>& met, const ScoreFormula& formula);

// --pick: the balanced table is the one chosen on the validation arenas; the cautious one
// is the slowest of the front (its fewest collisions), the fast one the fastest; a number
// is a front rank, as the front's picture labels it.
struct FrontPick {
    enum class Kind { Balanced, Cautious, Fast, Rank };
    Kind kind = Kind::Balanced;
    int rank = 0;
};

// Throws UsageError for anything but cautious, balanced, fast or a rank from 1.
FrontPick ParseFrontPick(const std::string& option, const std::string& text);

// The index of the picked table among tables whose front ranks are `frontRanks` (0 off
// the front), `chosen` being the balanced one; throws UsageError for a rank beyond the front.
std::size_t PickFromFront(const std::vector<int>& frontRanks, std::size_t chosen, const FrontPick& pick);
std::vector<int> FrontRanks(const std::vector<MetTable>& met);
