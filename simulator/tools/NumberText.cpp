#include "NumberText.h"

#include <charconv>

namespace {

std::string Format(double value, std::chars_format format, int precision)
{
    char buffer[400];  // room for the longest fixed-notation double
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, format, precision);
    return std::string(buffer, result.ptr);
}

}  // namespace

std::string SeventeenDigits(double value)
{
    return Format(value, std::chars_format::general, 17);
}

std::string FixedDecimals(double value, int decimals)
{
    return Format(value, std::chars_format::fixed, decimals);
}
