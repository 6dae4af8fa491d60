#include "NumberText.h"

#include <charconv>
#include <cmath>
#include <string>

namespace {

// Strips the blanks around the text and a leading '+', which from_chars refuses but a
// user may well type. Returns false when nothing numeric can be left.
bool PrepareDigits(const QString& text, std::string& digits)
{
    digits = text.trimmed().toStdString();
    if (!digits.empty() && digits.front() == '+') {
        digits.erase(0, 1);
        if (!digits.empty() && (digits.front() == '-' || digits.front() == '+'))
            return false;
    }
    return !digits.empty();
}

} // namespace

QString FormatNumber(double value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    return QString::fromLatin1(buffer, static_cast<int>(result.ptr - buffer));
}

QString FormatInteger(int value)
{
    return QString::number(value);
}

QString FormatStatistic(double value)
{
    // Room for the widest double in fixed notation (309 digits before the point).
    char buffer[512];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 3);
    return QString::fromLatin1(buffer, static_cast<int>(result.ptr - buffer));
}

std::optional<double> ParseNumber(const QString& text)
{
    std::string digits;
    if (!PrepareDigits(text, digits))
        return std::nullopt;
    double value = 0;
    const char* end = digits.data() + digits.size();
    const auto result = std::from_chars(digits.data(), end, value, std::chars_format::general);
    if (result.ec != std::errc() || result.ptr != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int> ParseInteger(const QString& text)
{
    std::string digits;
    if (!PrepareDigits(text, digits))
        return std::nullopt;
    int value = 0;
    const char* end = digits.data() + digits.size();
    const auto result = std::from_chars(digits.data(), end, value);
    if (result.ec != std::errc() || result.ptr != end)
        return std::nullopt;
    return value;
}
