#pragma once
#include <string>

// Numbers for files and terminals, always with a decimal point whatever the locale.

// Shortest form that keeps 17 significant digits, as printf's "%.17g".
std::string SeventeenDigits(double value);

// Fixed notation with the given number of decimals, as printf's "%.3f".
std::string FixedDecimals(double value, int decimals);
