#include "LevelText.h"

#include "Conversion.h"
#include "DoubleRounding.h"
#include "LevelArithmetic.h"
#include "NumberForms.h"
#include "WrittenNumber.h"
#include "uConv.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <string>

namespace tarvane {

namespace {

struct Prefix {
    std::string_view symbol;
    int powerOfTen = 0;
};

// "µ" is the micro sign U+00B5, as keyboards type it; the Greek mu U+03BC is read as it too.
constexpr std::string_view MicroSign = "\xC2\xB5";
constexpr std::string_view GreekMu = "\xCE\xBC";

constexpr std::array<Prefix, 9> Prefixes = {{
    {"n", -9},
    {"N", -9},
    {MicroSign, -6},
    {"u", -6},
    {"U", -6},
    {"m", -3},
    {"k", 3},
    {"K", 3},
    {"M", 6},
}};

// No-break spaces, which French texts put between a number and its unit.
constexpr std::array<std::string_view, 2> WideSpaces = {"\xC2\xA0", "\xE2\x80\xAF"};

// What may follow an impedance: the ohm, spelt out, as the Greek capital omega or the ohm sign.
constexpr std::array<std::string_view, 4> OhmNames = {"ohm", "ohms", "\xCE\xA9", "\xE2\x84\xA6"};

// Signs of a product or a quotient, which levels do not take: *, / and ×.
constexpr std::string_view ProductSigns = "*/";
constexpr std::string_view TimesSign = "\xC3\x97";

// A gain, as it is written after a level.
constexpr std::string_view Decibel = "dB";

// What a text saved in UTF-8 by some editors starts with.
constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

// The unit an S-meter reading is in when it names no other.
constexpr int SMeterUnit = [] {
    for (int unit = 0; unit < CatalogueSize; ++unit) {
        if (UnitCatalogue[unit].notation == UnitNotation::SMeter) {
            return unit;
        }
    }
    return NoUnit;
}();
static_assert(SMeterUnit != NoUnit);

// A full-scale level is checked for a positive voltage in this unit.
constexpr int VoltageUnit = UnitIndexOf("Vrms");

bool InVoltsOrWatts(int unit)
{
    const UnitKind kind = UnitCatalogue[unit].kind;
    return kind == UnitKind::Voltage || kind == UnitKind::Power;
}

bool StartsNumber(char c)
{
    return (c >= '0' && c <= '9') || c == '.' || c == ',';
}

// The length of the blank or no-break space that `text` starts with (fromEnd: ends with), 0
// when there is none.
std::size_t SpaceLength(std::string_view text, bool fromEnd)
{
    if (text.empty()) {
        return 0;
    }
    const auto c = static_cast<unsigned char>(fromEnd ? text.back() : text.front());
    if (c < 0x80) {
        return c <= ' ' ? 1 : 0;
    }
    for (const std::string_view space : WideSpaces) {
        if (fromEnd ? text.ends_with(space) : text.starts_with(space)) {
            return space.size();
        }
    }
    return 0;
}

// The text without the blanks and no-break spaces it starts with.
std::string_view SkipSpaces(std::string_view text)
{
    while (const std::size_t length = SpaceLength(text, false)) {
        text.remove_prefix(length);
    }
    return text;
}

// The text without the blanks and no-break spaces around it.
std::string_view TrimSpaces(std::string_view text)
{
    text = SkipSpaces(text);
    while (const std::size_t length = SpaceLength(text, true)) {
        text.remove_suffix(length);
    }
    return text;
}

bool StartsProduct(std::string_view text)
{
    return (!text.empty() && ProductSigns.find(text.front()) != std::string_view::npos)
        || text.starts_with(TimesSign);
}

// Where a name ends: at the end of the text, a space, "@" or an operator.
bool AtNameEnd(std::string_view text)
{
    if (text.empty()) {
        return true;
    }
    const auto c = static_cast<unsigned char>(text.front());
    if (c >= 0x80) { // a no-break space or "×" (most names go without them)
        return SpaceLength(text, false) > 0 || text.starts_with(TimesSign);
    }
    return c <= ' ' || c == '@' || c == '+' || c == '-' || c == '*' || c == '/';
}

// The name `text` starts with, taken off it.
std::string_view TakeName(std::string_view& text)
{
    std::size_t length = 0;
    while (!AtNameEnd(text.substr(length))) {
        ++length;
    }
    const std::string_view name = text.substr(0, length);
    text.remove_prefix(length);
    return name;
}

// Whether `text` starts with the name `name`, which is then taken off it.
bool TakeNameIf(std::string_view& text, std::string_view name)
{
    std::string_view rest = text;
    if (!SameUnitName(TakeName(rest), name)) {
        return false;
    }
    text = rest;
    return true;
}

// Whether `text` starts with "@", which is then taken off it with the spaces around it.
bool TakeAt(std::string_view& text)
{
    const std::string_view rest = SkipSpaces(text);
    if (!rest.starts_with('@')) {
        return false;
    }
    text = SkipSpaces(rest.substr(1));
    return true;
}

// A unit's name as written, and whether it is one of its symbols, which "@" may follow.
struct NamedUnit {
    int unit = 0;
    int powerOfTen = 0;
    bool bySymbol = false;
};

std::optional<NamedUnit> FindNamedUnit(std::string_view name, int currentUnit)
{
    if (const std::optional<FoundUnit> unit = LookUpUnit(name, currentUnit)) {
        return NamedUnit{unit->unit, 0, unit->bySymbol};
    }
    for (const Prefix& prefix : Prefixes) {
        if (name.size() > prefix.symbol.size() && name.starts_with(prefix.symbol)) {
            const std::optional<FoundUnit> unit =
                LookUpUnit(name.substr(prefix.symbol.size()), currentUnit);
            if (unit && InVoltsOrWatts(unit->unit)) {
                return NamedUnit{unit->unit, prefix.powerOfTen, unit->bySymbol};
            }
        }
    }
    return std::nullopt;
}

std::optional<NamedUnit> ReadUnitName(std::string_view name, int currentUnit)
{
    if (name.find(GreekMu.front()) == std::string_view::npos
        || name.find(GreekMu) == std::string_view::npos) {
        return FindNamedUnit(name, currentUnit);
    }
    std::string withMicroSign;
    for (std::size_t start = 0;;) {
        const std::size_t mu = name.find(GreekMu, start);
        withMicroSign += name.substr(start, mu - start);
        if (mu == std::string_view::npos) {
            return FindNamedUnit(withMicroSign, currentUnit);
        }
        withMicroSign += MicroSign;
        start = mu + GreekMu.size();
    }
}

bool IsOhmOrNothing(std::string_view word)
{
    return word.empty() || std::ranges::any_of(OhmNames, [word](std::string_view name) {
               return SameUnitName(word, name);
           });
}

// An impedance after "@", taken off `text`: a positive number, then the ohm or nothing.
Reading<QualifiedUnit> ReadImpedance(int unit, std::string_view& text)
{
    const std::optional<TWrittenNumber> number = TWrittenNumber::Split(text);
    if (!number) {
        return {std::nullopt, LevelError::ImpedanceRefused};
    }
    std::string_view rest = SkipSpaces(number->Rest());
    const std::string_view ohm = TakeName(rest);
    const std::optional<double> ohms = number->Value();
    if (!ohms || !(*ohms > 0) || !IsOhmOrNothing(ohm)) {
        return {std::nullopt, LevelError::ImpedanceRefused};
    }
    text = rest;
    return {WithImpedance(unit, *ohms)};
}

// The level of full scale after "@", taken off `text`: a number and a unit of a positive
// voltage, with nothing after "@" of its own.
Reading<QualifiedUnit> ReadFullScale(int unit, std::string_view& text)
{
    const std::optional<TWrittenNumber> number = TWrittenNumber::Split(text);
    if (!number) {
        return {std::nullopt, LevelError::FullScaleRefused};
    }
    std::string_view rest = SkipSpaces(number->Rest());
    const std::optional<NamedUnit> named = ReadUnitName(TakeName(rest), NoUnit);
    std::string_view afterLevel = rest;
    if (!named || UnitCatalogue[named->unit].parameter == UnitParameter::FullScale
        || TakeAt(afterLevel)) {
        return {std::nullopt, LevelError::FullScaleRefused};
    }
    // Any level in dB is a positive voltage; a level in another unit is converted to see.
    const std::optional<double> level = number->Value(named->powerOfTen);
    if (!level
        || !(IsLevelInDb(UnitCatalogue[named->unit])
             || TryConvertValue(*level, QualifiedUnit{named->unit}, QualifiedUnit{VoltageUnit})
                     .value_or(0)
                 > 0)) {
        return {std::nullopt, LevelError::FullScaleRefused};
    }
    text = rest;
    return {QualifiedUnit{unit, 0, *level, named->unit}};
}

// What follows "@" after the unit named `name`, taken off `text`.
Reading<QualifiedUnit> ReadParameter(std::string_view name, const NamedUnit& named,
                                     std::string_view& text)
{
    // A unit whose identifier holds the "@" ("S@VHF").
    std::string_view rest = text;
    const std::string_view word = TakeName(rest);
    if (named.powerOfTen == 0 && !word.empty()
        && std::isalpha(static_cast<unsigned char>(word[0]))) {
        if (const std::optional<int> unit = FindUnit(std::string(name) + "@" + std::string(word))) {
            text = rest;
            return {QualifiedUnit{*unit}};
        }
    }
    switch (named.bySymbol ? UnitCatalogue[named.unit].parameter : UnitParameter::None) {
    case UnitParameter::Impedance:
        return ReadImpedance(named.unit, text);
    case UnitParameter::FullScale:
        return ReadFullScale(named.unit, text);
    case UnitParameter::None:
        break;
    }
    return {std::nullopt, LevelError::ParameterRefused};
}

// The unit named `name`, which was taken off `text`, and what follows its "@", taken off
// `text`.
Reading<LevelUnit> ReadNamedUnit(std::string_view name, std::string_view& text, int currentUnit)
{
    std::string_view rest = text;
    const std::optional<NamedUnit> named = ReadUnitName(name, currentUnit);
    if (!named) {
        return {};
    }
    QualifiedUnit unit{named->unit};
    if (TakeAt(rest)) {
        const Reading<QualifiedUnit> parameter = ReadParameter(name, *named, rest);
        if (!parameter.value) {
            return {std::nullopt, parameter.error};
        }
        unit = *parameter.value;
    }
    if (UnitCatalogue[unit.unit].parameter == UnitParameter::FullScale
        && unit.fullScaleUnit == NoUnit) {
        return {std::nullopt, LevelError::FullScaleMissing};
    }
    text = rest;
    return {LevelUnit{unit, named->powerOfTen}};
}

// One term of a level: a level, or a gain in dB.
struct Term {
    Level level;
    bool gain = false;
};

// "S" and a number, signed or not: what a reader takes as an S-meter reading or refuses as one.
bool StartsSMeterReading(std::string_view text)
{
    const std::string_view points = text.substr(std::min<std::size_t>(text.size(), 1));
    const std::string_view digits = points.substr(points.starts_with('-') ? 1 : 0);
    return (text.starts_with('S') || text.starts_with('s')) && !digits.empty()
        && StartsNumber(digits.front());
}

// A number without a sign at the start of `text`, as written.
std::optional<TWrittenNumber> UnsignedNumber(std::string_view text)
{
    return !text.empty() && StartsNumber(text.front()) ? TWrittenNumber::Split(text)
                                                       : std::nullopt;
}

// From S1 to the top of the scale, S9.
bool OnTheScale(const ScaledReal& points)
{
    const WideReal value = points.Value();
    return !(value < WideReal(1))
        && !(WideReal(UnitCatalogue[SMeterUnit].stepAtReference) < value);
}

// An S-meter reading, taken off `text`: "S" and the points from 1 to 9, digits with at most a
// separator, then, right after them, the dB beyond them, a number without a sign ("S9+20",
// "S9+20 dB", "S1-3"), then "@" and the band of another S-meter unit than the first.
Reading<Term> ReadSMeterReading(std::string_view& text)
{
    const std::optional<TWrittenNumber> points = UnsignedNumber(text.substr(1));
    const std::optional<ScaledReal> onScale =
        points && !points->HasExponent() ? points->Exact() : std::nullopt;
    if (!onScale || !OnTheScale(*onScale)) {
        return {std::nullopt, LevelError::SMeterReading};
    }
    ScaledReal value = *onScale;
    int decimals = points->Decimals();
    std::string_view rest = points->Rest();
    const std::string_view written = points->Written();
    std::optional<ScaledReal> beyond;
    if (rest.data() == written.data() + written.size() && rest.size() > 1
        && (rest[0] == '+' || rest[0] == '-') && StartsNumber(rest[1])) {
        const std::optional<TWrittenNumber> decibels = UnsignedNumber(rest.substr(1));
        beyond = decibels ? decibels->Exact() : std::nullopt;
        if (!beyond) {
            return {std::nullopt, LevelError::SMeterReading};
        }
        beyond = rest[0] == '-' ? -*beyond : *beyond;
        decimals = decibels->Decimals();
        rest = SkipSpaces(decibels->Rest());
        TakeNameIf(rest, Decibel);
    }
    int unit = SMeterUnit;
    if (TakeAt(rest)) {
        const std::string band =
            std::string(UnitCatalogue[SMeterUnit].identifier) + "@" + std::string(TakeName(rest));
        const std::optional<int> named = FindUnit(band);
        if (!named || UnitCatalogue[*named].notation != UnitNotation::SMeter) {
            return {std::nullopt, LevelError::ParameterRefused};
        }
        unit = *named;
    }
    if (beyond) {
        const std::optional<WideReal> sum = WithGain(value.Value(), unit, beyond->Value());
        if (!sum) {
            return {std::nullopt, LevelError::OutOfRange};
        }
        value = ScaledReal(*sum);
    }
    text = rest;
    return {Term{{value, QualifiedUnit{unit}, decimals}}};
}

// A term, taken off `text`.
Reading<Term> ReadTerm(std::string_view& text, int currentUnit)
{
    text = SkipSpaces(text);
    if (StartsSMeterReading(text)) {
        return ReadSMeterReading(text);
    }
    const std::optional<TWrittenNumber> number = TWrittenNumber::Split(text);
    if (!number) {
        return {};
    }
    std::string_view rest = SkipSpaces(number->Rest());
    const std::string_view name = TakeName(rest);
    if (SameUnitName(name, Decibel)) {
        const std::optional<ScaledReal> gain = number->Exact();
        if (!gain) {
            return {};
        }
        text = rest;
        return {Term{{*gain, {}, number->Decimals()}, true}};
    }
    const Reading<LevelUnit> unit = ReadNamedUnit(name, rest, currentUnit);
    if (!unit.value) {
        return {std::nullopt, unit.error};
    }
    const std::optional<ScaledReal> value = number->Exact(unit.value->powerOfTen);
    if (!value) {
        return {};
    }
    text = rest;
    return {Term{{*value, unit.value->unit, number->Decimals(unit.value->powerOfTen)}}};
}

// The level after `term` was added to it, behind "+" or "-".
Reading<Level> Added(const Level& level, bool plus, const Term& term)
{
    const Level& added = term.level;
    std::optional<WideReal> value;
    if (term.gain) {
        const WideReal gain = added.value.Value();
        value = WithGain(level.value.Value(), level.unit.unit, plus ? gain : -gain);
    } else {
        if (!plus) {
            return {std::nullopt, LevelError::LevelSubtracted};
        }
        const SumKind kind = SumKindOf(level.unit.unit);
        if (kind == SumKind::None || kind != SumKindOf(added.unit.unit)) {
            return {std::nullopt, LevelError::SumOfKinds};
        }
        const std::optional<Conversion> conversion = Conversion::Between(added.unit, level.unit);
        const std::optional<WideReal> converted =
            conversion ? conversion->Exactly(added.value) : std::nullopt;
        value = converted ? PowerSum(level.value.Value(), *converted, level.unit.unit)
                          : std::nullopt;
    }
    if (!value) {
        return {std::nullopt, LevelError::OutOfRange};
    }
    return {Level{ScaledReal(*value), level.unit, std::max(level.decimals, added.decimals)}};
}

} // namespace

Reading<LevelUnit> ReadUnitText(std::string_view text, int currentUnit)
{
    std::string_view rest = SkipSpaces(text);
    const std::string_view name = TakeName(rest);
    const Reading<LevelUnit> unit = ReadNamedUnit(name, rest, currentUnit);
    if (unit.value && !TrimSpaces(rest).empty()) {
        return {};
    }
    return unit;
}

Reading<Level> ReadLevelText(std::string_view text, int currentUnit)
{
    const DoubleRounding rounding;
    std::string_view rest = text.starts_with(ByteOrderMark) ? text.substr(ByteOrderMark.size()) : text;
    const Reading<Term> first = ReadTerm(rest, currentUnit);
    if (!first.value) {
        return {std::nullopt, first.error};
    }
    if (first.value->gain) {
        return {std::nullopt, LevelError::GainAlone};
    }
    Reading<Level> level{first.value->level};
    while (!(rest = SkipSpaces(rest)).empty()) {
        if (StartsProduct(rest)) {
            return {std::nullopt, LevelError::Product};
        }
        if (rest.front() != '+' && rest.front() != '-') {
            return {};
        }
        const bool plus = rest.front() == '+';
        rest.remove_prefix(1);
        const Reading<Term> term = ReadTerm(rest, currentUnit);
        if (!term.value) {
            return {std::nullopt, term.error};
        }
        level = Added(*level.value, plus, *term.value);
        if (!level.value) {
            return level;
        }
    }
    return level;
}

std::optional<ScaledReal> ReadValueIn(std::string_view text, const LevelUnit& unit)
{
    if (UnitCatalogue[unit.unit.unit].notation == UnitNotation::SMeter) {
        std::string_view rest = SkipSpaces(text);
        // A band named after the reading could differ from the unit's.
        if (StartsSMeterReading(rest) && rest.find('@') == std::string_view::npos) {
            const DoubleRounding rounding;
            const Reading<Term> reading = ReadSMeterReading(rest);
            return reading.value && TrimSpaces(rest).empty()
                ? std::optional(reading.value->level.value)
                : std::nullopt;
        }
    }
    return ReadExactNumber(text, unit.powerOfTen);
}

std::optional<Level> InListedUnit(const Level& level)
{
    const QualifiedUnit listed{ListedUnitOf(level.unit)};
    if (listed == level.unit) {
        return level;
    }
    const std::optional<double> value = TryConvertValue(level.value, level.unit, listed);
    const std::optional<double> written = level.value.ToDouble();
    if (!value || !written) {
        return std::nullopt;
    }
    // Half the last decimal written, from text: the same double on every processor, as the
    // difference it bounds.
    const DoubleRounding rounding;
    const double tolerance =
        ReadNumber("5e" + std::to_string(-1 - static_cast<long long>(level.decimals))).value_or(0);
    const ScaledReal converted{WideReal(*value)};
    for (int decimals = 1; decimals <= MaxShownDecimals; ++decimals) {
        const std::optional<double> shown = ReadNumber(NumberToString(*value, decimals));
        const std::optional<double> back =
            shown ? TryConvertValue(*shown, listed, level.unit) : std::nullopt;
        if (back && std::fabs(*back - *written) <= tolerance) {
            return Level{converted, listed, decimals};
        }
    }
    return Level{converted, listed, MaxShownDecimals + 1};
}

} // namespace tarvane
