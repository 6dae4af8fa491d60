#pragma once
#include <optional>

#include <QString>

#include "common/NumberText.h"

// The numbers the dialog and its windows show and read, as Qt text, by NumberText's rules.

// 15 significant digits: a value typed into a field reads back as it was typed.
inline QString ShownNumber(double value)
{
    return QString::fromStdString(SignificantDigits(value, 15));
}

// Qt trims first: besides the ASCII blanks it takes away the non-breaking and other
// Unicode spaces a paste can bring, which NumberText, reading bytes, leaves in place.
inline std::optional<double> TypedNumber(const QString& text)
{
    return ParseNumber(text.trimmed().toStdString());
}

inline std::optional<int> TypedInteger(const QString& text)
{
    return ParseInteger(text.trimmed().toStdString());
}
