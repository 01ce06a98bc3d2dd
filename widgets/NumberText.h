#pragma once

#include <QString>

#include <optional>

class QLocale;

namespace tarvane {

// The spin edit's number text: the engine's number forms (NumberForms.h), in the given
// locale's decimal separator and never with thousands separators.

// The number as FormatNumber writes it at that precision, with the locale's separator.
QString FloatToText(double value, int precision, const QLocale& locale);
// The number as FormatExactNumber writes it, with the locale's separator: it reads back
// exactly.
QString ExactFloatToText(double value, const QLocale& locale);

// The number a text spells, or nothing when it does not convert, as ReadNumber reads it
// with the locale's separator as the only decimal separator.
std::optional<double> TextToFloat(const QString& text, const QLocale& locale);

// The number a text typed or pasted by the user spells: as TextToFloat, where "." and ","
// also stand for the decimal separator, whatever the locale (still one at most). Blanks
// alone spell none, as any other text without a digit does.
std::optional<double> UserTextToFloat(const QString& text, const QLocale& locale);

} // namespace tarvane
