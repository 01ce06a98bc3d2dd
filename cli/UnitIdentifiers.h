#pragma once

#include "Units.h"

#include <array>
#include <optional>
#include <string_view>

namespace tarvane {

// The short names by which the command line knows the units, in catalogue order.
extern const std::array<std::string_view, UnitCount> UnitIdentifiers;

// Other names a unit answers to.
struct UnitAlias {
    std::string_view name;
    int unit = 0;
};
extern const std::array<UnitAlias, 4> UnitAliases;

// The unit an argument names: an identifier or one of its aliases, in any case of letters,
// or a unit index from 0 to 11. Nothing when it names no unit.
std::optional<int> FindUnit(std::string_view argument);

} // namespace tarvane
