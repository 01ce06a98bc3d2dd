#include "UnitIdentifiers.h"

#include <algorithm>
#include <charconv>

namespace tarvane {

const std::array<std::string_view, UnitCount> UnitIdentifiers = {
    "Vrms", "Vpp", "dBm50", "dBm600", "dBu", "dBV", "W50", "W600", "kHz75", "kHz80", "dBuV50", "dBuV75",
};

// The French names of the voltages, and the micro sign as the unit lists write it.
const std::array<UnitAlias, 4> UnitAliases = {{
    {"Veff", 0},
    {"Vcac", 1},
    {"dBµV50", 10},
    {"dBµV75", 11},
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

std::optional<int> UnitIndex(std::string_view argument)
{
    if (argument.empty() || argument.front() < '0' || argument.front() > '9') {
        return std::nullopt; // from_chars would take a sign
    }
    int index = -1;
    const char* const end = argument.data() + argument.size();
    const auto [stop, error] = std::from_chars(argument.data(), end, index);
    if (error != std::errc() || stop != end || index < 0 || index >= UnitCount) {
        return std::nullopt;
    }
    return index;
}

} // namespace

std::optional<int> FindUnit(std::string_view argument)
{
    for (int unit = 0; unit < UnitCount; ++unit) {
        if (SameName(argument, UnitIdentifiers[unit])) {
            return unit;
        }
    }
    for (const UnitAlias& alias : UnitAliases) {
        if (SameName(argument, alias.name)) {
            return alias.unit;
        }
    }
    return UnitIndex(argument);
}

} // namespace tarvane
