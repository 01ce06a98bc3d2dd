#include "NumberText.h"

#include <QLocale>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace tarvane {

namespace {

constexpr int GeneralDigits = 15;
constexpr int ShortGeneralDigits = 4;
constexpr int MaxDecimals = 18;

// The value's decimal digits rounded to `digits` significant ones: the digit string
// without a point and the power of ten of its first digit.
struct Decimal {
    QString digits;
    int exponent = 0;
};

// One less in the last digit of a digit string that is not all zeros.
void LowerLastDigit(QString& digits)
{
    qsizetype i = digits.size() - 1;
    while (digits[i] == QLatin1Char('0'))
        digits[i--] = QLatin1Char('9');
    digits[i] = QChar(digits[i].unicode() - 1);
}

Decimal Significant(double magnitude, int digits)
{
    // to_chars ignores the C library's locale, unlike printf.
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                   std::chars_format::scientific, digits - 1).ptr;
    const QString text = QString::fromLatin1(buffer, end - buffer);
    const qsizetype e = text.indexOf(QLatin1Char('e'));
    Decimal result;
    result.digits = text.left(e).remove(QLatin1Char('.'));
    result.exponent = text.mid(e + 1).toInt();
    // Rounding up can leave the range of a double (1.79769313486232E308): round toward zero
    // in the last digit instead, so that the text reads back.
    double readBack = 0.0;
    if (magnitude > 1.0 &&
        std::from_chars(buffer, end, readBack).ec == std::errc::result_out_of_range)
        LowerLastDigit(result.digits);
    return result;
}

QChar DecimalSeparator(const QLocale& locale)
{
    const QString point = locale.decimalPoint();
    return point.isEmpty() ? QLatin1Char('.') : point.front();
}

QString NonFinite(double value)
{
    const QString word = std::isnan(value) ? QStringLiteral("NAN") : QStringLiteral("INF");
    return std::signbit(value) ? QLatin1Char('-') + word : word;
}

// A zero rounded away from a tiny negative number shows no sign.
QString WithSign(bool negative, const QString& unsignedText)
{
    const bool allZero = std::none_of(unsignedText.cbegin(), unsignedText.cend(), [](QChar c) {
        return c >= QLatin1Char('1') && c <= QLatin1Char('9');
    });
    return negative && !allZero ? QLatin1Char('-') + unsignedText : unsignedText;
}

QString GeneralForm(double value, int digits, QChar separator)
{
    if (value == 0.0)
        return QStringLiteral("0");
    Decimal decimal = Significant(std::fabs(value), digits);
    while (decimal.digits.size() > 1 && decimal.digits.endsWith(QLatin1Char('0')))
        decimal.digits.chop(1);
    const int e = decimal.exponent;
    QString text;
    if (e >= digits || e < -4) {
        text = decimal.digits.left(1);
        if (decimal.digits.size() > 1)
            text += separator + decimal.digits.mid(1);
        text += QLatin1Char('E') + QString::number(e);
    } else if (e < 0) {
        text = QStringLiteral("0") + separator + QString(-e - 1, QLatin1Char('0')) + decimal.digits;
    } else {
        QString digitsText = decimal.digits;
        if (digitsText.size() < e + 1)
            digitsText += QString(e + 1 - digitsText.size(), QLatin1Char('0'));
        text = digitsText.left(e + 1);
        if (digitsText.size() > e + 1)
            text += separator + digitsText.mid(e + 1);
    }
    return WithSign(std::signbit(value), text);
}

// Rounds to 15 significant digits first and then, half away from zero, to the decimals:
// the number a user typed as 1.005 shows 1.01 with two decimals, as typed.
QString FixedForm(double value, int decimals, QChar separator)
{
    Decimal decimal = Significant(std::fabs(value), GeneralDigits);
    if (decimal.exponent >= GeneralDigits)
        return GeneralForm(value, GeneralDigits, separator); // more than 15 integer digits
    const qsizetype kept = std::max(0, decimal.exponent + 1 + decimals);
    if (kept < decimal.digits.size()) {
        const bool roundUp = decimal.digits[kept] >= QLatin1Char('5');
        decimal.digits.truncate(kept);
        if (roundUp) {
            qsizetype i = kept - 1;
            while (i >= 0 && decimal.digits[i] == QLatin1Char('9'))
                decimal.digits[i--] = QLatin1Char('0');
            if (i >= 0) {
                decimal.digits[i] = QChar(decimal.digits[i].unicode() + 1);
            } else {
                decimal.digits.prepend(QLatin1Char('1'));
                ++decimal.exponent;
            }
        }
    }
    const int e = decimal.exponent;
    QString integerPart = QStringLiteral("0");
    QString fraction;
    if (e >= 0) {
        integerPart = decimal.digits.left(e + 1).leftJustified(e + 1, QLatin1Char('0'));
        fraction = decimal.digits.mid(e + 1);
    } else {
        fraction = QString(-e - 1, QLatin1Char('0')) + decimal.digits;
    }
    fraction = fraction.leftJustified(decimals, QLatin1Char('0'), true);
    return WithSign(std::signbit(value), integerPart + separator + fraction);
}

bool IsBlank(QChar c)
{
    return c.unicode() <= ' ';
}

bool IsDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// The power of ten of a non-zero number's first significant digit, saturated far beyond
// the range of a double.
long long DecimalOrder(const QByteArray& integerDigits, const QByteArray& fractionDigits,
                       const QByteArray& exponentDigits, bool negativeExponent)
{
    constexpr long long Far = 1'000'000'000;
    long long exponent = 0;
    for (const char c : exponentDigits)
        exponent = std::min(Far, exponent * 10 + (c - '0'));
    if (negativeExponent)
        exponent = -exponent;
    const qsizetype leadingIntegerZeros =
        std::find_if(integerDigits.cbegin(), integerDigits.cend(), [](char c) { return c != '0'; }) -
        integerDigits.cbegin();
    if (leadingIntegerZeros < integerDigits.size())
        return exponent + (integerDigits.size() - leadingIntegerZeros - 1);
    const qsizetype leadingFractionZeros =
        std::find_if(fractionDigits.cbegin(), fractionDigits.cend(), [](char c) { return c != '0'; }) -
        fractionDigits.cbegin();
    return exponent - (leadingFractionZeros + 1);
}

// The number a text spells, with any one of the given characters as its decimal separator.
std::optional<double> ParseFloat(const QString& text, QStringView separators)
{
    const qsizetype n = text.size();
    qsizetype i = 0;
    const auto take = [&](QByteArray& into) {
        while (i < n && IsDigit(text[i]))
            into += char(text[i++].unicode());
    };

    while (i < n && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        negative = text[i++] == QLatin1Char('-');
    QByteArray integerDigits;
    QByteArray fractionDigits;
    take(integerDigits);
    bool hasSeparator = false;
    if (i < n && separators.contains(text[i])) {
        hasSeparator = true;
        ++i;
        take(fractionDigits);
    }
    if (integerDigits.isEmpty() && fractionDigits.isEmpty() && !hasSeparator)
        return std::nullopt;
    QByteArray exponentDigits;
    bool negativeExponent = false;
    if (i < n && (text[i] == QLatin1Char('E') || text[i] == QLatin1Char('e'))) {
        ++i;
        if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
            negativeExponent = text[i++] == QLatin1Char('-');
        take(exponentDigits);
        if (exponentDigits.isEmpty())
            return std::nullopt;
    }
    while (i < n && IsBlank(text[i]))
        ++i;
    if (i != n)
        return std::nullopt;

    const QByteArray mantissa = integerDigits + fractionDigits;
    if (std::all_of(mantissa.cbegin(), mantissa.cend(), [](char c) { return c == '0'; }))
        return negative ? -0.0 : 0.0; // also a lone separator

    QByteArray number = (integerDigits.isEmpty() ? QByteArray("0") : integerDigits) + '.' +
                        fractionDigits;
    if (!exponentDigits.isEmpty())
        number += (negativeExponent ? "e-" : "e") + exponentDigits;
    double value = 0.0;
    const auto [end, error] = std::from_chars(number.cbegin(), number.cend(), value);
    if (error == std::errc::result_out_of_range)
        return DecimalOrder(integerDigits, fractionDigits, exponentDigits, negativeExponent) < 0
                   ? std::optional<double>(negative ? -0.0 : 0.0) // too small: underflows to zero
                   : std::nullopt;                                // too large for a double
    if (error != std::errc() || end != number.cend())
        return std::nullopt;
    return negative ? -value : value;
}

} // namespace

QString FloatToText(double value, int precision, const QLocale& locale)
{
    if (!std::isfinite(value))
        return NonFinite(value);
    const QChar separator = DecimalSeparator(locale);
    if (precision < 0)
        return GeneralForm(value, ShortGeneralDigits, separator);
    if (precision == 0)
        return GeneralForm(value, GeneralDigits, separator);
    return FixedForm(value, std::min(precision, MaxDecimals), separator);
}

std::optional<double> TextToFloat(const QString& text, const QLocale& locale)
{
    return ParseFloat(text, QString(DecimalSeparator(locale)));
}

std::optional<double> UserTextToFloat(const QString& text, const QLocale& locale)
{
    return ParseFloat(text, QStringLiteral(".,") + DecimalSeparator(locale));
}

} // namespace tarvane
