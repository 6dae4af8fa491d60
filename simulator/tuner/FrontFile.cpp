#include "tuner/FrontFile.h"

#include <cstdio>

#include "common/BoundedText.h"
#include "common/CommandLineValues.h"
#include "common/NumberText.h"
#include "common/PrintableText.h"

namespace {

const std::string kHeader = "table,front,chosen,score,collisions_per_1000,mean_speed,interior,validation_score,"
                            "validation_collisions_per_1000,validation_mean_speed,validation_interior,"
                            "a1,a2,a3,a4,a5,a6,a7,a8,s1,s2,s3,s4,s5,s6,s7,s8";
constexpr std::size_t kFields = 27;
constexpr std::size_t kFirstTableField = 11;

// A row holds 27 numbers of at most 24 characters: 1 KiB per line is ample. A search of
// a hundred thousand tables is far beyond any default; its file is still read whole.
const TextLimits kFrontLimits{64u << 20, 64u << 20, 100'001, 1024, 0, ""};

std::string Figures(const RunTotals& totals, const ScoreFormula& formula)
{
    char text[160];
    std::snprintf(text, sizeof text, "%.6g,%.6g,%.6g,%.6g", formula.Score(totals), totals.CollisionsPer1000Passes(),
                  totals.MeanSpeed(), totals.InteriorShare());
    return text;
}

std::vector<std::string> SplitFields(const std::string& line)
{
    std::vector<std::string> fields(1);
    for (char c : line) {
        if (c == ',')
            fields.emplace_back();
        else if (c != '\r')
            fields.back() += c;
    }
    return fields;
}

}  // namespace

std::string FrontCsv(const TuningFront& front, const ScoreFormula& formula)
{
    std::string csv = kHeader + '\n';
    for (std::size_t i = 0; i < front.met.size(); ++i) {
        const MetTable& met = front.met[i];
        csv += std::to_string(i + 1) + ',' + std::to_string(met.frontRank) + ',' + (i == front.chosen ? "1" : "0") +
               ',' + Figures(met.tuning, formula) + ',' +
               (met.validation ? Figures(*met.validation, formula) : std::string(",,,"));
        char number[32];
        for (double value : met.table.angles) {
            std::snprintf(number, sizeof number, ",%.17g", value);
            csv += number;
        }
        for (double value : met.table.speeds) {
            std::snprintf(number, sizeof number, ",%.17g", value);
            csv += number;
        }
        csv += '\n';
    }
    return csv;
}

namespace {

FrontRows ParseFrontRows(const std::string& where, const std::string& kept)
{
    FrontRows rows;
    std::size_t lineNumber = 0, chosenRows = 0;
    std::size_t start = 0;
    while (start < kept.size()) {
        std::size_t end = kept.find('\n', start);
        if (end == std::string::npos) end = kept.size();
        const std::string line = kept.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        auto refuse = [&](const std::string& reason) {
            return UsageError(where + " line " + std::to_string(lineNumber) + ": " + reason);
        };
        const std::vector<std::string> fields = SplitFields(line);
        if (lineNumber == 1) {
            if (line != kHeader && line != kHeader + '\r') throw refuse("not a front written by marlune-tune --front");
            continue;
        }
        if (fields.size() != kFields)
            throw refuse(std::to_string(fields.size()) + " fields, not " + std::to_string(kFields));
        const std::optional<int> rank = ParseExactWhole<int>(fields[1]);
        if (!rank || *rank < 0) throw refuse("the front rank is not a whole number from 0");
        if (fields[2] != "0" && fields[2] != "1") throw refuse("chosen is neither 0 nor 1");
        InferenceTable table;
        for (std::size_t k = 0; k < 2 * InferenceTable::kSituations; ++k) {
            const std::optional<double> value = ParseExactNumber(fields[kFirstTableField + k]);
            if (!value) throw refuse("the table's number " + std::to_string(k + 1) + " is not a finite number");
            (k < InferenceTable::kSituations ? table.angles[k] : table.speeds[k - InferenceTable::kSituations]) =
                *value;
        }
        if (fields[2] == "1") {
            rows.chosen = rows.tables.size();
            ++chosenRows;
        }
        rows.tables.push_back(table);
        rows.frontRanks.push_back(*rank);
        rows.figures.push_back("collisions/1000 " + PrintableText(fields[4]) + ", mean speed " +
                               PrintableText(fields[5]) + ", interior " + PrintableText(fields[6]));
    }
    if (lineNumber == 0) throw UsageError(where + ": empty");
    if (chosenRows != 1)
        throw UsageError(where + ": " + std::to_string(chosenRows) + " rows are marked chosen, not one");
    return rows;
}

FrontRows CheckedFrontRows(const std::string& option, const std::string& name, const TextCheck& check,
                           const std::string& kept)
{
    const std::string where = option + ": '" + PrintableText(name) + "'";
    if (check.fault != TextFault::None) throw UsageError(where + ": " + DescribeTextFault(check, kFrontLimits).english);
    return ParseFrontRows(where, kept);
}

}  // namespace

FrontRows ReadFrontCsv(const std::string& option, const std::string& path)
{
    std::string kept;
    const TextCheck check = ReadBoundedFile(path, kFrontLimits, kept);
    return CheckedFrontRows(option, path, check, kept);
}

FrontRows ParseFrontCsv(const std::string& option, const std::string& name, const std::string& text)
{
    std::string kept;
    const TextCheck check = ReadBoundedString(text, kFrontLimits, kept);
    return CheckedFrontRows(option, name, check, kept);
}
