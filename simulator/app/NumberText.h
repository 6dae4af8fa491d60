#pragma once
#include <optional>

#include <QString>

// The texts the dialog shows and reads. They never follow the user's locale: a value
// typed as "2.5" must read the same under a French desktop as under an English one,
// and the table files written from these values use the point as well.

// Shortest general form with up to 15 significant digits, like printf's "%.15g".
QString FormatNumber(double value);
QString FormatInteger(int value);
// Three decimals, like printf's "%3.3f".
QString FormatStatistic(double value);

// A finite decimal number, optionally signed, with blanks allowed around it.
// Anything else (empty text, a lone sign, letters, trailing garbage, inf/nan,
// out-of-range exponents) is refused.
std::optional<double> ParseNumber(const QString& text);
std::optional<int> ParseInteger(const QString& text);
