#pragma once

#include "Units.h"

#include <array>
#include <optional>
#include <string_view>

namespace tarvane {

// The short names by which the units are written with a level and on the command line, in
// catalogue order.
extern const std::array<std::string_view, UnitCount> UnitIdentifiers;

// Other names a unit answers to.
struct UnitAlias {
    std::string_view name;
    int unit = 0;
};
extern const std::array<UnitAlias, 4> UnitAliases;

// The bare symbols people write after a level. One that leaves the impedance or the FM
// reference open names `unit` or the unit after it, which differ only in that.
struct UnitSymbol {
    std::string_view name;
    int unit = 0;
    bool open = false;
};
extern const std::array<UnitSymbol, 6> BareSymbols;

// Stands for "no unit yet" where a unit may be given.
inline constexpr int NoUnit = -1;

// The unit a name stands for: an identifier, one of its aliases or a bare symbol, in any case
// of letters. A bare symbol that leaves a choice open takes `currentUnit` when that is one of
// its two units, otherwise the first. Nothing when the name stands for no unit.
std::optional<int> FindUnit(std::string_view name, int currentUnit = NoUnit);

} // namespace tarvane
