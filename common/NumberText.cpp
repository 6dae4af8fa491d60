#include "common/NumberText.h"

#include <charconv>
#include <cmath>
#include <stdexcept>

namespace {

std::string Format(double value, std::chars_format format, int precision)
{
    // Room for the widest double in fixed notation (309 digits before the point) and
    // well over a hundred decimals.
    char buffer[512];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, format, precision);
    if (result.ec != std::errc()) throw std::length_error("more digits than a number text holds");
    return std::string(buffer, result.ptr);
}

// The text without the blanks around it and without a leading '+', which from_chars
// refuses but a person may well type. Empty when nothing numeric can be left.
std::string_view TypedDigits(std::string_view text)
{
    constexpr std::string_view kBlanks = " \t\n\v\f\r";
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    text = text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
    if (text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && (text.front() == '-' || text.front() == '+')) return {};
    }
    return text;
}

}  // namespace

std::string SignificantDigits(double value, int digits)
{
    return Format(value, std::chars_format::general, digits);
}

std::string FixedDecimals(double value, int decimals)
{
    return Format(value, std::chars_format::fixed, decimals);
}

std::optional<double> ParseExactNumber(std::string_view text)
{
    if (text.empty()) return std::nullopt;
    double value = 0;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value, std::chars_format::general);
    if (result.ec != std::errc() || result.ptr != end || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<double> ParseNumber(std::string_view text)
{
    return ParseExactNumber(TypedDigits(text));
}

std::optional<int> ParseInteger(std::string_view text)
{
    return ParseExactWhole<int>(TypedDigits(text));
}
