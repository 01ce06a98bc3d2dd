#include "uUserPrefs.h"

#include "IniFile.h"
#include "Units.h"
#include "uRes.h"

#include <QLocale>

#include <charconv>
#include <cmath>
#include <optional>
#include <stdexcept>

namespace tarvane {

namespace {

const QString Section = QStringLiteral("UserPrefs");

constexpr int DefaultPrecision = 4;
constexpr int DefaultIndex = 0;
constexpr double DefaultValue1 = 1.0;

std::optional<quint64> ParseDigits(QStringView digits, int base)
{
    if (digits.isEmpty())
        return std::nullopt;
    quint64 value = 0;
    for (const QChar c : digits) {
        const int digit = c.isDigit() && c.unicode() < 128 ? c.unicode() - '0'
                        : base == 16 && QStringView(u"abcdef").contains(c.toLower())
                            ? c.toLower().unicode() - 'a' + 10
                            : -1;
        if (digit < 0)
            return std::nullopt;
        value = value * base + digit;
        if (value > 0xFFFFFFFFu)
            return std::nullopt;
    }
    return value;
}

// A 32-bit integer in decimal with an optional sign, or in hexadecimal after "$" (also after
// a sign) or after a leading "0x"/"0X".
std::optional<qint32> ParseInteger(const QString& text)
{
    QStringView rest(text);
    const bool hexPrefix = rest.size() > 2 && (rest.startsWith(u"0x") || rest.startsWith(u"0X"));
    if (hexPrefix)
        rest = rest.mid(2);
    const bool negative = !hexPrefix && rest.startsWith(u'-');
    if (!hexPrefix && (negative || rest.startsWith(u'+')))
        rest = rest.mid(1);
    const bool hex = hexPrefix || rest.startsWith(u'$');
    if (hex && !hexPrefix)
        rest = rest.mid(1);
    const std::optional<quint64> magnitude = ParseDigits(rest, hex ? 16 : 10);
    if (!magnitude || (!hex && *magnitude > (negative ? 0x80000000u : 0x7FFFFFFFu)))
        return std::nullopt;
    const auto value = static_cast<qint32>(static_cast<quint32>(*magnitude));
    return negative ? static_cast<qint32>(0u - static_cast<quint32>(value)) : value;
}

// A decimal number with either "." or "," (or the locale's own mark) as its separator, so a
// file written under another locale keeps its number: an optional sign, digits with at most
// one separator, an optional exponent. A lone separator reads as 0.
std::optional<double> ParseFloat(const QString& text)
{
    const QString localePoint = QLocale().decimalPoint();
    std::string plain;
    for (const QChar c : text) {
        if (c == u'.' || c == u',' || QStringView(localePoint) == QStringView(&c, 1))
            plain += '.';
        else if (c.unicode() < 128 && (c.isDigit() || QStringView(u"+-eE").contains(c)))
            plain += char(c.unicode());
        else
            return std::nullopt;
    }
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    size_t at = 0;
    const bool negative = at < plain.size() && plain[at] == '-';
    if (at < plain.size() && (plain[at] == '+' || plain[at] == '-'))
        ++at;
    const size_t mantissa = at;
    size_t digits = 0;
    while (at < plain.size() && isDigit(plain[at]))
        ++at, ++digits;
    if (at < plain.size() && plain[at] == '.')
        ++at;
    while (at < plain.size() && isDigit(plain[at]))
        ++at, ++digits;
    if (digits == 0)
        return at == plain.size() && at - mantissa == 1 ? std::optional<double>(0.0) : std::nullopt;
    if (at < plain.size() && (plain[at] == 'e' || plain[at] == 'E')) {
        ++at;
        if (at < plain.size() && (plain[at] == '+' || plain[at] == '-'))
            ++at;
        if (at == plain.size())
            return std::nullopt;
        while (at < plain.size() && isDigit(plain[at]))
            ++at;
    }
    if (at != plain.size())
        return std::nullopt;
    double value = 0.0;
    const auto [end, error] = std::from_chars(plain.data() + mantissa, plain.data() + at, value);
    if (error != std::errc() || end != plain.data() + at || !std::isfinite(value))
        return std::nullopt;
    return negative ? -value : value;
}

int ReadInteger(const IniFile& file, QStringView key, int defaultValue)
{
    return ParseInteger(file.ReadString(Section, key.toString(), QString())).value_or(defaultValue);
}

double ReadFloat(const IniFile& file, QStringView key, double defaultValue)
{
    return ParseFloat(file.ReadString(Section, key.toString(), QString())).value_or(defaultValue);
}

quint8 LowByte(int value)
{
    return static_cast<quint8>(value & 0xFF);
}

quint8 UnitIndex(int value)
{
    const quint8 index = LowByte(value);
    return index < UnitCount ? index : DefaultIndex;
}

void Write(const IniFile& file, QStringView key, const QString& value)
{
    if (!file.WriteString(Section, key.toString(), value))
        throw std::runtime_error(
            QStringLiteral("Impossible d'écrire dans %1").arg(file.FileName()).toStdString());
}

} // namespace

TUserPrefs ReadUserPrefs(const QString& path)
{
    const IniFile file(path);
    TUserPrefs prefs;
    prefs.Value1precision = LowByte(ReadInteger(file, SValue1precision, DefaultPrecision));
    prefs.Value2precision = LowByte(ReadInteger(file, SValue2precision, DefaultPrecision));
    prefs.Value1Index = UnitIndex(ReadInteger(file, SValue1Index, DefaultIndex));
    prefs.Value2Index = UnitIndex(ReadInteger(file, SValue2Index, DefaultIndex));
    prefs.Value1 = ReadFloat(file, SValue1, DefaultValue1);
    return prefs;
}

bool CanWriteIniFile(const QString& path)
{
    return IniFile(path).WriteString(Section, SWriteTest.toString(), QStringLiteral("1"));
}

void SaveUserPrefs(const QString& path, const TUserPrefs& prefs)
{
    if (!CanWriteIniFile(path))
        return;
    const IniFile file(path);
    Write(file, SValue1precision, QString::number(prefs.Value1precision));
    Write(file, SValue2precision, QString::number(prefs.Value2precision));
    Write(file, SValue1Index, QString::number(prefs.Value1Index));
    Write(file, SValue2Index, QString::number(prefs.Value2Index));
    Write(file, SValue1, FormatPrefsFloat(prefs.Value1, QLocale().decimalPoint()));
}

QString FormatPrefsFloat(double value, const QString& decimalPoint)
{
    if (std::isnan(value))
        return std::signbit(value) ? QStringLiteral("-NAN") : QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    if (value == 0.0)
        return QStringLiteral("0");

    constexpr int SignificantDigits = 15;
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                      std::chars_format::scientific, SignificantDigits - 1);
    const std::string_view scientific(buffer, size_t(result.ptr - buffer));
    const size_t e = scientific.find('e');
    int exponent = 0;
    std::from_chars(scientific.data() + e + 1 + (scientific[e + 1] == '+'),
                    scientific.data() + scientific.size(), exponent);
    std::string digits;
    for (const char c : scientific.substr(0, e)) {
        if (c != '.')
            digits += c;
    }
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    QString text = value < 0 ? QStringLiteral("-") : QString();
    const QString allDigits = QString::fromLatin1(digits);
    if (exponent < -4 || exponent >= SignificantDigits) {
        text += allDigits.left(1);
        if (allDigits.size() > 1)
            text += decimalPoint + allDigits.mid(1);
        return text + u'E' + QString::number(exponent);
    }
    if (exponent < 0)
        return text + u'0' + decimalPoint + QString(-exponent - 1, u'0') + allDigits;
    const QString whole = allDigits.left(exponent + 1).leftJustified(exponent + 1, u'0');
    const QString fraction = allDigits.mid(exponent + 1);
    return text + whole + (fraction.isEmpty() ? QString() : decimalPoint + fraction);
}

} // namespace tarvane
