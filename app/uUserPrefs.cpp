#include "uUserPrefs.h"

#include "IniFile.h"
#include "NumberText.h"
#include "Units.h"
#include "uRes.h"

#include <QLocale>

#include <optional>

namespace tarvane {

namespace {

constexpr QLatin1StringView Section("UserPrefs");

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

// The locale's own separator first; then "." and ",", so a file written under another
// locale keeps its number.
std::optional<double> ParseFloat(const QString& text)
{
    for (const QLocale& locale : {QLocale(), QLocale::c(), QLocale(QLocale::French)}) {
        if (const std::optional<double> value = TextToFloat(text, locale))
            return value;
    }
    return std::nullopt;
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

// What box 2's number was saved with: the units and box 1's number, which copies that do not
// know box 2's number may have changed since.
QString SourceCheck(const TUserPrefs& prefs)
{
    return QStringLiteral("%1 %2 %3")
        .arg(prefs.Value1Index)
        .arg(prefs.Value2Index)
        .arg(ExactFloatToText(prefs.Value1, QLocale::c()));
}

std::optional<double> ReadValue2(const IniFile& file, const TUserPrefs& prefs)
{
    const auto read = [&file](QStringView key) {
        return file.ReadString(Section, key.toString(), QString());
    };
    if (read(SSource) != u"2" || read(SSourceCheck) != SourceCheck(prefs))
        return std::nullopt;
    return ParseFloat(read(SSourceValue));
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
    prefs.Value2 = ReadValue2(file, prefs);
    return prefs;
}

bool CanWriteIniFile(const QString& path)
{
    return IniFile(path).Writable();
}

bool SaveUserPrefs(const QString& path, const TUserPrefs& prefs)
{
    if (!CanWriteIniFile(path))
        return true;
    // The write test's key first, in the one rewrite that holds them all.
    const IniFile file(path);
    return file.WriteStrings(
        Section,
        {
            {SWriteTest.toString(), QStringLiteral("1")},
            {SValue1precision.toString(), QString::number(prefs.Value1precision)},
            {SValue2precision.toString(), QString::number(prefs.Value2precision)},
            {SValue1Index.toString(), QString::number(prefs.Value1Index)},
            {SValue2Index.toString(), QString::number(prefs.Value2Index)},
            {SValue1.toString(), ExactFloatToText(prefs.Value1, QLocale())},
            {SSource.toString(), prefs.Value2 ? QStringLiteral("2") : QStringLiteral("1")},
            {SSourceValue.toString(),
             ExactFloatToText(prefs.Value2.value_or(prefs.Value1), QLocale())},
            {SSourceCheck.toString(), SourceCheck(prefs)},
        });
}

} // namespace tarvane
