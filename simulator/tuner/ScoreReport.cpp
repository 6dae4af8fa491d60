#include "tuner/ScoreReport.h"

#include <algorithm>
#include <sstream>

#include "common/NumberText.h"
#include "common/PrintableText.h"

namespace {

std::string WithInterval(const MeanInterval& figure, double scale, int decimals)
{
    std::string text = FixedDecimals(figure.mean * scale, decimals);
    if (figure.low && figure.high)
        text += " [" + FixedDecimals(*figure.low * scale, decimals) + ", " +
                FixedDecimals(*figure.high * scale, decimals) + "]";
    return text;
}

std::string Padded(std::string text, std::size_t width)
{
    if (text.size() < width) text.append(width - text.size(), ' ');
    return text;
}

std::string JoinedMisses(const std::vector<std::string>& missed)
{
    std::string text;
    for (const std::string& clause : missed) text += (text.empty() ? "" : ", ") + clause;
    return text;
}

std::string RequirementOutcome(const TableScore& row)
{
    return row.missed.empty() ? "met" : "missed";
}

// A CSV field, quoted when it holds a separator, a quote or a line break.
std::string CsvField(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::string CsvNumber(double value)
{
    return SignificantDigits(value, 17);
}

std::string CsvFigure(const MeanInterval& figure)
{
    return CsvNumber(figure.mean) + "," + (figure.low ? CsvNumber(*figure.low) : "") + "," +
           (figure.high ? CsvNumber(*figure.high) : "");
}

}  // namespace

std::string FormatScoreRows(const std::vector<TableScore>& rows, bool withRequirement)
{
    std::size_t nameWidth = std::string("table").size();
    for (const TableScore& row : rows) nameWidth = std::max(nameWidth, PrintableText(row.name).size());
    constexpr std::size_t kScoreWidth = 9, kFigureWidth = 24;
    std::ostringstream text;
    text << "rank  " << Padded("table", nameWidth) << "  " << Padded("score", kScoreWidth)
         << Padded("collisions/1000 passes", kFigureWidth) << Padded("speed (px/pass)", kFigureWidth)
         << (withRequirement ? Padded("coverage (%)", kFigureWidth) + "require" : "coverage (%)") << '\n';
    int rank = 0;
    for (const TableScore& row : rows) {
        const std::string name = Padded(PrintableText(row.name), nameWidth);
        if (!row.Scored()) {
            text << "-     " << name << "  cannot be read: " << row.unreadable << '\n';
            continue;
        }
        std::string line = Padded(std::to_string(++rank), 6) + name + "  " +
                           Padded(FixedDecimals(row.score, 4), kScoreWidth) +
                           Padded(WithInterval(row.collisions, 1, 2), kFigureWidth) +
                           Padded(WithInterval(row.speed, 1, 3), kFigureWidth) +
                           Padded(WithInterval(row.coverage, 100, 1), kFigureWidth);
        if (withRequirement)
            line += RequirementOutcome(row) + (row.missed.empty() ? "" : " (" + JoinedMisses(row.missed) + ")");
        line.erase(line.find_last_not_of(' ') + 1);
        text << line << '\n';
    }
    return text.str();
}

std::string ScoreCsv(const std::vector<TableScore>& rows, bool withRequirement)
{
    std::string csv = "table,score,collisions_per_1000_passes,collisions_low,collisions_high,speed_px_per_pass,"
                      "speed_low,speed_high,coverage_share,coverage_low,coverage_high,arenas,escapes,require,"
                      "unreadable\n";
    for (const TableScore& row : rows) {
        csv += CsvField(row.name) + ",";
        if (row.Scored())
            csv += CsvNumber(row.score) + "," + CsvFigure(row.collisions) + "," + CsvFigure(row.speed) + "," +
                   CsvFigure(row.coverage) + "," + std::to_string(row.totals.arenas) + "," +
                   std::to_string(row.totals.escapes) + "," + (withRequirement ? RequirementOutcome(row) : "");
        else
            csv += ",,,,,,,,,,,,";
        csv += "," + CsvField(row.unreadable) + "\n";
    }
    return csv;
}
