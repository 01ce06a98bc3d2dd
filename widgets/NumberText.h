#pragma once

#include <QString>

#include <optional>

class QLocale;

namespace tarvane {

// The spin edit's number text, in the given locale's decimal separator and never with
// thousands separators.

// Precision above 0: fixed form with that many decimals (at most 18), rounded to at most
// 15 significant digits. Precision 0: general form with 15 significant digits. Precision
// below 0: general form with 4 significant digits. Infinities read "INF", not-a-numbers
// "NAN", each with a leading "-" when negative. Every finite number's text reads back as a
// finite number.
QString FloatToText(double value, int precision, const QLocale& locale);

// The number a text spells, or nothing when it does not convert: optional blanks, an
// optional sign, digits with at most one decimal separator (at least one digit or the
// separator), an optional exponent, optional blanks. A number beyond the range of a
// double does not convert either.
std::optional<double> TextToFloat(const QString& text, const QLocale& locale);

// The number a text typed or pasted by the user spells: as TextToFloat, where "." and ","
// also stand for the decimal separator, whatever the locale (still one at most).
std::optional<double> UserTextToFloat(const QString& text, const QLocale& locale);

} // namespace tarvane
