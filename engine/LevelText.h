#pragma once

#include "UnitIdentifiers.h"

#include <optional>
#include <string_view>

namespace tarvane {

// Levels as people write them, with their unit: "-73 dBm", "316 µV", "0,775 Veff", "2 mW".
// Shared by the window, which reads pasted text, and by tarvane-convert.

// A unit as a level carries it: a catalogue unit, and the power of ten of the SI prefix
// written before it (0 without one).
struct LevelUnit {
    int unit = 0;
    int powerOfTen = 0;
};

// A level read from text.
struct Level {
    double value = 0; // in `unit`, the SI prefix applied
    int unit = 0;
    int decimals = 0; // how many decimals show every digit written
};

// The unit a text stands for (FindUnit), or such a unit in volts or watts after an SI prefix:
// n, µ or u, m, k, M (m and M differ in case; the other prefixes and the letters of the unit
// may be written in either case). Nothing for any other text.
std::optional<LevelUnit> ReadLevelUnit(std::string_view text, int currentUnit = NoUnit);

// A number in either decimal form ("." or ","), optional spaces, then its unit (ReadLevelUnit),
// with blanks around. Nothing for anything else: a number without a unit, an unknown unit, two
// numbers, or a number beyond the range of a double once scaled.
std::optional<Level> ReadLevel(std::string_view text, int currentUnit = NoUnit);

} // namespace tarvane
