#include "NumberText.h"

#include "NumberForms.h"

#include <QLocale>

namespace tarvane {

namespace {

QChar DecimalSeparator(const QLocale& locale)
{
    const QString point = locale.decimalPoint();
    return point.isEmpty() ? QLatin1Char('.') : point.front();
}

// The text as the engine reads it, where "." is the decimal separator and "," may stand
// for it: the locale's separator becomes ".", and every character that may not stand for
// it, or that no number holds, becomes one the reading refuses.
std::string EngineText(const QString& text, QChar separator, bool pointAndCommaSeparate)
{
    constexpr char Refused = '\x7f';
    std::string result;
    result.reserve(std::size_t(text.size()));
    for (const QChar c : text) {
        if (c == separator)
            result += '.';
        else if (c.unicode() > 0x7f
                 || (!pointAndCommaSeparate && (c == QLatin1Char('.') || c == QLatin1Char(','))))
            result += Refused;
        else
            result += char(c.unicode());
    }
    return result;
}

QString WithSeparator(const char* first, const char* end, const QLocale& locale)
{
    return QString::fromLatin1(first, end - first)
        .replace(QLatin1Char('.'), DecimalSeparator(locale));
}

} // namespace

QString FloatToText(double value, int precision, const QLocale& locale)
{
    char buffer[MaxNumberTextLength];
    return WithSeparator(buffer, FormatNumber(buffer, value, precision), locale);
}

QString ExactFloatToText(double value, const QLocale& locale)
{
    char buffer[MaxNumberTextLength];
    return WithSeparator(buffer, FormatExactNumber(buffer, value), locale);
}

std::optional<double> TextToFloat(const QString& text, const QLocale& locale)
{
    return ReadNumber(EngineText(text, DecimalSeparator(locale), false));
}

std::optional<double> UserTextToFloat(const QString& text, const QLocale& locale)
{
    return ReadNumber(EngineText(text, DecimalSeparator(locale), true));
}

} // namespace tarvane
