#include "UnitIdentifiers.h"

#include <algorithm>

namespace tarvane {

const std::array<std::string_view, UnitCount> UnitIdentifiers = {
    "Vrms", "Vpp",  "dBm50", "dBm600", "dBu",    "dBV",
    "W50",  "W600", "kHz75", "kHz80",  "dBuV50", "dBuV75",
};

// The French names of the voltages, and the micro sign as the unit lists write it.
const std::array<UnitAlias, 4> UnitAliases = {{
    {"Veff", 0},
    {"Vcac", 1},
    {"dBµV50", 10},
    {"dBµV75", 11},
}};

const std::array<UnitSymbol, 6> BareSymbols = {{
    {"V", 0, false},
    {"dBm", 2, true},
    {"W", 6, true},
    {"kHz", 8, true},
    {"dBuV", 10, true},
    {"dBµV", 10, true},
}};

namespace {

char AsciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

} // namespace

std::optional<int> FindUnit(std::string_view name, int currentUnit)
{
    for (int unit = 0; unit < UnitCount; ++unit) {
        if (SameName(name, UnitIdentifiers[unit])) {
            return unit;
        }
    }
    for (const UnitAlias& alias : UnitAliases) {
        if (SameName(name, alias.name)) {
            return alias.unit;
        }
    }
    for (const UnitSymbol& symbol : BareSymbols) {
        if (SameName(name, symbol.name)) {
            const bool keepsCurrent =
                symbol.open && (currentUnit == symbol.unit || currentUnit == symbol.unit + 1);
            return keepsCurrent ? currentUnit : symbol.unit;
        }
    }
    return std::nullopt;
}

} // namespace tarvane
