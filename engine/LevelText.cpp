#include "LevelText.h"

#include "WrittenNumber.h"

#include <array>
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

bool InVoltsOrWatts(int unit)
{
    const UnitKind kind = UnitCatalogue[unit].kind;
    return kind == UnitKind::Voltage || kind == UnitKind::Power;
}

// The length of the blank or no-break space that `text` starts with (fromEnd: ends with), 0
// when there is none.
std::size_t SpaceLength(std::string_view text, bool fromEnd)
{
    if (!text.empty() && static_cast<unsigned char>(fromEnd ? text.back() : text.front()) <= ' ') {
        return 1;
    }
    for (const std::string_view space : WideSpaces) {
        if (fromEnd ? text.ends_with(space) : text.starts_with(space)) {
            return space.size();
        }
    }
    return 0;
}

// The text without the blanks and no-break spaces around it.
std::string_view TrimSpaces(std::string_view text)
{
    while (const std::size_t length = SpaceLength(text, false)) {
        text.remove_prefix(length);
    }
    while (const std::size_t length = SpaceLength(text, true)) {
        text.remove_suffix(length);
    }
    return text;
}

std::optional<LevelUnit> ReadUnitName(std::string_view text, int currentUnit)
{
    if (const std::optional<int> unit = FindUnit(text, currentUnit)) {
        return LevelUnit{*unit, 0};
    }
    for (const Prefix& prefix : Prefixes) {
        if (text.size() > prefix.symbol.size() && text.starts_with(prefix.symbol)) {
            const std::optional<int> unit =
                FindUnit(text.substr(prefix.symbol.size()), currentUnit);
            if (unit && InVoltsOrWatts(*unit)) {
                return LevelUnit{*unit, prefix.powerOfTen};
            }
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<LevelUnit> ReadLevelUnit(std::string_view text, int currentUnit)
{
    if (text.find(GreekMu) == std::string_view::npos) {
        return ReadUnitName(text, currentUnit);
    }
    std::string withMicroSign(text);
    for (std::size_t mu = 0; (mu = withMicroSign.find(GreekMu, mu)) != std::string::npos;) {
        withMicroSign.replace(mu, GreekMu.size(), MicroSign);
    }
    return ReadUnitName(withMicroSign, currentUnit);
}

std::optional<Level> ReadLevel(std::string_view text, int currentUnit)
{
    const std::optional<TWrittenNumber> number = TWrittenNumber::Split(text);
    if (!number) {
        return std::nullopt;
    }
    const std::string_view unitText = TrimSpaces(number->Rest());
    const std::optional<LevelUnit> unit =
        unitText.empty() ? std::nullopt : ReadLevelUnit(unitText, currentUnit);
    if (!unit) {
        return std::nullopt;
    }
    const std::optional<double> value = number->Value(unit->powerOfTen);
    if (!value) {
        return std::nullopt;
    }
    return Level{*value, unit->unit, number->Decimals(unit->powerOfTen)};
}

} // namespace tarvane
