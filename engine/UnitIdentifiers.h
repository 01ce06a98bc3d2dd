#pragma once

#include "Units.h"

#include <optional>
#include <string_view>

namespace tarvane {

// Stands for "no unit yet" where a unit may be given.
inline constexpr int NoUnit = -1;

// The unit a name stands for: an identifier, an alias or a symbol of the catalogue, in any case
// of letters. A symbol that several units share takes `currentUnit` when that is one of them,
// otherwise the first. Nothing when the name stands for no unit.
std::optional<int> FindUnit(std::string_view name, int currentUnit = NoUnit);

// Whether two names are the same in any case of letters.
bool SameUnitName(std::string_view a, std::string_view b);

// Whether `name` is one of the unit's symbols, in any case of letters.
bool IsSymbolOf(int unit, std::string_view name);

} // namespace tarvane
