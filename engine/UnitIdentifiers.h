#pragma once

#include "Units.h"

#include <optional>
#include <string_view>

namespace tarvane {

// Stands for "no unit yet" where a unit may be given.
inline constexpr int NoUnit = -1;

// A unit found by one of its names, and whether that name is one of its symbols.
struct FoundUnit {
    int unit = 0;
    bool bySymbol = false;
};

// The unit a name stands for: an identifier, an alias or a symbol of the catalogue, in any case
// of letters. A symbol that several units share takes `currentUnit` when that is one of them,
// otherwise the first. Nothing when the name stands for no unit.
std::optional<FoundUnit> LookUpUnit(std::string_view name, int currentUnit = NoUnit);
inline std::optional<int> FindUnit(std::string_view name, int currentUnit = NoUnit)
{
    const std::optional<FoundUnit> found = LookUpUnit(name, currentUnit);
    return found ? std::optional<int>(found->unit) : std::nullopt;
}

// Whether two names are the same in any case of letters.
bool SameUnitName(std::string_view a, std::string_view b);

} // namespace tarvane
