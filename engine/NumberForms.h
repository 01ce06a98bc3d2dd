#pragma once

#include "ScaledReal.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tarvane {

// The number forms of a value box, shared by the window and the command line. Texts are
// ASCII, with "." as the decimal separator (the window puts the locale's in its place) and
// never with thousands separators.

// The longest text FormatNumber writes: a sign, 15 integer digits, the separator and 18
// decimals.
inline constexpr std::size_t MaxNumberTextLength = 35;

// Precision above 0: fixed form with that many decimals (at most 18), rounded to at most
// 15 significant digits. Precision 0: general form with 15 significant digits. Precision
// below 0: general form with 4 significant digits. Infinities read "INF", not-a-numbers
// "NAN", each with a leading "-" when negative. A finite number's text always reads back
// as a finite number. Writes at most MaxNumberTextLength characters from `first` and
// returns the end of the text.
char* FormatNumber(char* first, double value, int precision);
std::string NumberToString(double value, int precision);

// The most decimals a value box or tarvane-convert shows: a number that needs more shows in
// the general form.
inline constexpr int MaxShownDecimals = 10;

// As FormatNumber at a precision above 0, with at least `digits` significant digits: more
// decimals, up to MaxShownDecimals, and beyond them the general form with `digits` significant
// digits.
char* FormatNumber(char* first, double value, int precision, int digits);

// The general form with the fewest significant digits, 15 to 17, that read back as the very
// same double: a number kept as text comes back exactly. Writes at most MaxNumberTextLength
// characters and returns the end of the text.
char* FormatExactNumber(char* first, double value);
std::string ExactNumberToString(double value);

// The number a text spells, times 10^powerOfTen and rounded once, or nothing when it does not
// read as one: optional blanks, an optional sign, digits with at most one decimal separator,
// "." or "," (at least one digit or the separator), an optional exponent, optional blanks. A
// number beyond the range of a double does not read either; one too small for it reads as zero.
std::optional<double> ReadNumber(std::string_view text, int powerOfTen = 0);
// As ReadNumber, with every digit kept, and a number too small for a double as it is.
std::optional<ScaledReal> ReadExactNumber(std::string_view text, int powerOfTen = 0);

} // namespace tarvane
