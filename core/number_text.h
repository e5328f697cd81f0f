// Number text shared by the parameter string and the settings dialog: one syntax for
// reading, two decimals for writing, '.' as the decimal separator whatever the locale.
#pragma once

#include <cstddef>

// Room for any float written by WriteTwoDecimals or WriteExactFloat, with the terminator.
inline constexpr std::size_t kNumberTextCapacity = 48;

// Skips white space, then reads the longest number at text: an optional sign, digits with
// at most one decimal point, an optional exponent; or one of "+INF", "-INF", "+NAN", "-NAN".
// Returns where reading stopped, or nullptr (value untouched) when no number starts there.
// Decimal text is rounded correctly to the result type; beyond its range it gives an
// infinity, below it zero.
const char* ReadNumber(const char* text, float& value);
const char* ReadNumber(const char* text, double& value);

// Writes value with exactly two decimals, or as one of the four words above, with no
// terminator; returns the end. Needs kNumberTextCapacity - 1 characters at most.
char* WriteTwoDecimals(char* first, float value);

// Writes the shortest exponent form that reads back as exactly the same float.
char* WriteExactFloat(char* first, float value);
