#pragma once
#include <charconv>
#include <optional>
#include <string>
#include <string_view>

// Numbers as text, for files, terminals and the dialog's fields. None of it follows the
// locale: "2.5" must read the same under a French desktop as under an English one, and
// the files written from these texts use the point as well.

// Shortest general form with up to `digits` significant digits, as printf's "%.17g":
// 17 digits bring a double back exactly, 15 are what a person reads back as typed.
std::string SignificantDigits(double value, int digits);

// Fixed notation with the given number of decimals, as printf's "%.3f".
std::string FixedDecimals(double value, int decimals);

// A finite decimal number, the whole text and nothing else: an optional '-', no blanks,
// no '+', no inf or nan, no hexadecimal. What a command line takes.
std::optional<double> ParseExactNumber(std::string_view text);

// A whole number in the given base, the whole text and nothing else; an unsigned type
// takes no sign at all, so "-1" cannot wrap round to a huge value.
template <typename Whole>
std::optional<Whole> ParseExactWhole(std::string_view text, int base = 10)
{
    if (text.empty()) return std::nullopt;
    Whole value{};
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value, base);
    if (result.ec != std::errc() || result.ptr != end) return std::nullopt;
    return value;
}

// A finite decimal number as a person types it: also with blanks around it and a leading
// '+'. Anything else (empty text, a lone sign, letters, trailing garbage, a decimal
// comma, inf/nan, out-of-range exponents) is refused.
std::optional<double> ParseNumber(std::string_view text);
std::optional<int> ParseInteger(std::string_view text);
