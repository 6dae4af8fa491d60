#include "tuner/ScoreRequirement.h"

#include <string_view>

#include "common/CommandLineValues.h"
#include "common/NumberText.h"
#include "common/PrintableText.h"

namespace {

struct NamedMeasure {
    std::string_view key;
    ScoreMeasure measure;
};
constexpr NamedMeasure kMeasures[] = {
    {"collisions", ScoreMeasure::Collisions}, {"speed", ScoreMeasure::Speed}, {"coverage", ScoreMeasure::Coverage}};

struct NamedComparison {
    std::string_view op;
    ScoreComparison comparison;
    std::string_view opposite;  // how a miss reads
};
// The two-character operators first, so that "<=" is not read as "<" and "=".
constexpr NamedComparison kComparisons[] = {{"<=", ScoreComparison::AtMost, ">"},
                                            {">=", ScoreComparison::AtLeast, "<"},
                                            {"<", ScoreComparison::Below, ">="},
                                            {">", ScoreComparison::Above, "<="}};

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

UsageError ClauseError(std::string_view clause, const std::string& what)
{
    return UsageError("--require: " + what + " in '" + PrintableText(clause) +
                      "' (clauses are KEY OP NUMBER, KEY collisions, speed or coverage, OP <=, >=, < or >)");
}

RequirementClause ParseClause(std::string_view clause)
{
    std::string_view rest = Trimmed(clause);
    if (rest.empty()) throw UsageError("--require: an empty clause (clauses are separated by commas)");
    std::size_t keyLength = 0;
    while (keyLength < rest.size() && rest[keyLength] >= 'a' && rest[keyLength] <= 'z') ++keyLength;
    const std::string_view key = rest.substr(0, keyLength);
    const NamedMeasure* measure = nullptr;
    for (const NamedMeasure& named : kMeasures)
        if (named.key == key) measure = &named;
    if (!measure) throw ClauseError(clause, "unknown key '" + PrintableText(key) + "'");
    rest = Trimmed(rest.substr(keyLength));
    const NamedComparison* comparison = nullptr;
    for (const NamedComparison& named : kComparisons)
        if (!comparison && rest.substr(0, named.op.size()) == named.op) comparison = &named;
    if (!comparison) throw ClauseError(clause, "no comparison after '" + std::string(key) + "'");
    const std::string_view number = Trimmed(rest.substr(comparison->op.size()));
    const std::optional<double> bound = ParseExactNumber(number);
    if (!bound) throw ClauseError(clause, "'" + PrintableText(number) + "' is not a finite number");
    return {measure->measure, comparison->comparison, *bound};
}

double FigureOf(ScoreMeasure measure, const RequiredFigures& figures)
{
    switch (measure) {
    case ScoreMeasure::Collisions:
        return figures.collisions;
    case ScoreMeasure::Speed:
        return figures.speed;
    case ScoreMeasure::Coverage:
        return figures.coverage;
    }
    return figures.collisions;
}

bool Meets(double figure, const RequirementClause& clause)
{
    switch (clause.comparison) {
    case ScoreComparison::AtMost:
        return figure <= clause.bound;
    case ScoreComparison::AtLeast:
        return figure >= clause.bound;
    case ScoreComparison::Below:
        return figure < clause.bound;
    case ScoreComparison::Above:
        return figure > clause.bound;
    }
    return false;
}

}  // namespace

std::vector<RequirementClause> ParseRequirement(const std::string& text)
{
    if (text.size() > kMaxRequirementLength)
        throw UsageError("--require: longer than " + std::to_string(kMaxRequirementLength) + " characters");
    std::vector<RequirementClause> clauses;
    std::string_view rest = text;
    while (true) {
        if (clauses.size() == kMaxRequirementClauses)
            throw UsageError("--require: more than " + std::to_string(kMaxRequirementClauses) + " clauses");
        const std::size_t comma = rest.find(',');
        clauses.push_back(ParseClause(rest.substr(0, comma)));
        if (comma == std::string_view::npos) return clauses;
        rest.remove_prefix(comma + 1);
    }
}

std::vector<std::string> MissedClauses(const std::vector<RequirementClause>& requirement,
                                       const RequiredFigures& figures)
{
    std::vector<std::string> missed;
    for (const RequirementClause& clause : requirement) {
        const double figure = FigureOf(clause.measure, figures);
        if (Meets(figure, clause)) continue;
        missed.push_back(std::string(kMeasures[static_cast<int>(clause.measure)].key) + " " +
                         SignificantDigits(figure, 6) + " " +
                         std::string(kComparisons[static_cast<int>(clause.comparison)].opposite) + " " +
                         SignificantDigits(clause.bound, 15));
    }
    return missed;
}
