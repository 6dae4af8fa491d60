#pragma once
#include <cstddef>
#include <string>
#include <vector>

// What marlune-score --require asks of every table, as a teacher's autograder would:
// comma-separated clauses KEY OP NUMBER, blanks allowed around each token, e.g.
// "collisions<=1, coverage >= 0.4".
enum class ScoreMeasure { Collisions, Speed, Coverage };
enum class ScoreComparison { AtMost, AtLeast, Below, Above };

struct RequirementClause {
    ScoreMeasure measure;
    ScoreComparison comparison;
    double bound;
};

// The figures a requirement looks at, the means over the arenas.
struct RequiredFigures {
    double collisions;  // per 1000 passes
    double speed;       // pixels per pass
    double coverage;    // share of the interior cells entered, 0 to 1
};

// A requirement is typed by hand: anything longer or with more clauses is a mistake, and
// the parser never reads further.
inline constexpr std::size_t kMaxRequirementLength = 256;
inline constexpr std::size_t kMaxRequirementClauses = 16;

// Throws UsageError with one line naming what is wrong: an empty clause, an unknown key
// or operator, a bound that is not a finite decimal number, or a text past the limits.
std::vector<RequirementClause> ParseRequirement(const std::string& text);

// The clauses the figures miss, each written back as "collisions 1.5 > 1"; empty when
// every clause is met.
std::vector<std::string> MissedClauses(const std::vector<RequirementClause>& requirement,
                                       const RequiredFigures& figures);
