// Numbers held as decimal text, converted with the user locale's decimal
// separator where the program calculates, and written back in the forms the
// dashboard and the settings file use.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kvrns {

// The user's number conventions. Passed in by the caller (the locale is read
// once at start-up), never looked up globally.
struct NumberLocale {
    char decimalSeparator = '.';
};

// Pattern "0", "0.0", "0.00": at least one integer digit and exactly
// `decimals` decimals, halves rounded away from zero. The rounding is judged
// on the value's 15-significant-digit decimal form, so 1.005 gives 1.01 as a
// person expects and not 1.00 as its binary neighbour would.
std::string formatFixed(double value, int decimals, NumberLocale locale);

// The shortest text of a value with at most 15 significant digits, no
// trailing zeros and no trailing decimal point (3.75, 3.7, 22, 0.13).
// Values at or above 1e15 or below 1e-4 use the exponent form 1E+15.
std::string shortestText(double value, NumberLocale locale);

// Rounds to a whole number or to `decimals` places, halves away from zero,
// judged on the 15-significant-digit form as formatFixed does.
double roundHalfAway(double value, int decimals = 0);

// Reads a whole text as a number by the locale's rules: blanks around it,
// an optional sign, digits with at most one decimal separator (the locale's,
// not the other), an optional exponent. Empty or malformed text, or a value
// beyond double range, gives nothing.
std::optional<double> parseNumber(std::string_view text, NumberLocale locale);

// The longest leading part of the text that reads as a number with "." as
// decimal point, after leading blanks; 0 when there is none. A leading number
// beyond double range gives an infinity, which callers that need a finite
// value must check.
double leadingNumber(std::string_view text);

// Half-to-even conversion to a 16-bit whole number, as settings values that
// hold a count or a flag are taken; nothing when out of range or not finite.
std::optional<int> toInt16(double value);

}  // namespace kvrns
