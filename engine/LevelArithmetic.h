#pragma once

#include "WideReal.h"

#include <optional>

namespace tarvane {

// How two levels of a unit add up.
enum class SumKind {
    None,     // not at all: the sum of two voltages or deviations depends on their phase
    Decibels, // levels in dB: as powers, two uncorrelated sources
    Watts,    // powers: as powers
};

SumKind SumKindOf(int unit);

// The level `value` of a catalogue unit after a gain in dB: a level in dB moves by it (an
// S-meter by its points), a voltage or a deviation is multiplied by 10^(gain/20), a power by
// 10^(gain/10). Nothing when the result leaves the range of a double.
std::optional<WideReal> WithGain(const WideReal& value, int unit, const WideReal& gain) noexcept;

// The power sum of two levels in one catalogue unit; nothing for a unit whose levels do not
// add, for a negative power and for a sum beyond the range of a double.
std::optional<WideReal> PowerSum(const WideReal& a, const WideReal& b, int unit) noexcept;

} // namespace tarvane
