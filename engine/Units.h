#pragma once

#include <array>
#include <string_view>

namespace tarvane {

// The fixed catalogue of units. A unit's index is its only identity: it is the row in
// both unit lists, the number stored in the preferences file and the formula key, so
// entries may never be moved.
inline constexpr int UnitCount = 12;

// List entries, in catalogue order (UTF-8).
extern const std::array<std::string_view, UnitCount> UnitLongNames;
// Labels shown beside a value box, in catalogue order (UTF-8).
extern const std::array<std::string_view, UnitCount> UnitShortNames;

} // namespace tarvane
