#include "interop/EngineText.h"

#include <algorithm>

namespace {

// Comments cost only reading time, so a file may carry a long history of notes; the cap
// still bounds that time to some tens of milliseconds.
constexpr std::size_t kReadBytes = 64u << 20;
constexpr std::size_t kKeptBytes = 64u << 10;
constexpr std::size_t kLines = 512;
constexpr std::size_t kLineBytes = 1024;
// fuzzylite builds a function term's tree and a rule's expression by recursion.
constexpr int kNesting = 16;

constexpr int kSections = 16;
constexpr int kTerms = 64;
constexpr int kRules = 64;

struct EngineCounts {
    int sections = 0;
    int terms = 0;
    int rules = 0;
};

std::string Trimmed(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// FLL lines are "key: value"; a section opens with the key of what it declares.
void CountFllLine(const std::string& line, EngineCounts& counts)
{
    const std::string key = Trimmed(line.substr(0, line.find(':')));
    if (key == "Engine" || key == "InputVariable" || key == "OutputVariable" || key == "RuleBlock")
        ++counts.sections;
    else if (key == "term")
        ++counts.terms;
    else if (key == "rule")
        ++counts.rules;
}

// FIS sections are "[Name]" lines; membership functions are MFn=...; every line after
// "[Rules]" is a rule.
void CountFisLine(const std::string& line, EngineCounts& counts, bool& inRules)
{
    const std::string trimmed = Trimmed(line);
    if (!trimmed.empty() && trimmed.front() == '[') {
        ++counts.sections;
        inRules = trimmed.compare(0, 7, "[Rules]") == 0;
    } else if (inRules)
        ++counts.rules;
    else if (trimmed.compare(0, 2, "MF") == 0)
        ++counts.terms;
}

bool Within(int count, int limit, const std::string& french, const std::string& english, TextFaultWords& why)
{
    if (count <= limit) return true;
    why = {"plus de " + std::to_string(limit) + " " + french, "more than " + std::to_string(limit) + " " + english};
    return false;
}

}  // namespace

const TextLimits& EngineTextLimits(EngineFormat format)
{
    static const TextLimits fll{kReadBytes, kKeptBytes, kLines, kLineBytes, kNesting, "#"};
    static const TextLimits fis{kReadBytes, kKeptBytes, kLines, kLineBytes, kNesting, "#%"};
    return format == EngineFormat::Fll ? fll : fis;
}

bool CheckEngineCounts(const std::string& kept, EngineFormat format, TextFaultWords& why)
{
    EngineCounts counts;
    bool inRules = false;
    for (std::size_t start = 0; start < kept.size();) {
        const std::size_t end = std::min(kept.find('\n', start), kept.size());
        const std::string line = kept.substr(start, end - start);
        if (format == EngineFormat::Fll)
            CountFllLine(line, counts);
        else
            CountFisLine(line, counts, inRules);
        start = end + 1;
    }
    return Within(counts.sections, kSections, "sections", "sections", why) &&
           Within(counts.terms, kTerms, "termes", "terms", why) && Within(counts.rules, kRules, "règles", "rules", why);
}
