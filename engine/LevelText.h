#pragma once

#include "QualifiedUnit.h"
#include "ScaledReal.h"

#include <optional>
#include <string_view>

namespace tarvane {

// Levels as people write them, with their unit: "-73 dBm", "316 µV", "0,775 Veff", "2 mW",
// "-73 dBm@75", "-18 dBFS@18dBu", "S9+20", and sums of them: "-73 dBm + 20 dB". Shared by the
// window, which reads pasted text, and by tarvane-convert.

// A unit as a level carries it: a unit, and the power of ten of the SI prefix written before
// it (0 without one).
struct LevelUnit {
    QualifiedUnit unit;
    int powerOfTen = 0;
};

// A level read from text.
struct Level {
    ScaledReal value; // in `unit`, the SI prefix applied, every digit kept
    QualifiedUnit unit;
    int decimals = 0; // how many decimals show every digit written
};

// Why a text is no level.
enum class LevelError {
    NotALevel,        // no number followed by a unit
    FullScaleMissing, // a unit measured from full scale without "@" and that level
    FullScaleRefused, // "@" followed by no level of a positive voltage
    ImpedanceRefused, // "@" followed by no positive number of ohms
    ParameterRefused, // "@" after a unit that takes nothing after it
    GainAlone,        // a gain in dB where a level is wanted
    Product,          // a level multiplied or divided
    SumOfKinds,       // two levels that do not add as powers
    LevelSubtracted,  // a level taken from a level
    OutOfRange,       // a sum or a gain whose result a double cannot hold
    SMeterReading,    // an S-meter reading off its scale, S1 to S9, or with no number of dB after it
};

// What was read, or why nothing was.
template <typename Value>
struct Reading {
    std::optional<Value> value;
    LevelError error = LevelError::NotALevel; // when there is no value
};

// A unit as written after a number, with blanks around: an identifier, alias or symbol
// (FindUnit), with an SI prefix in volts or watts: n, µ or u, m, k, M (m and M differ in
// case; the other prefixes and the letters of the unit may be written in either case); after
// a symbol that takes one, "@" and an impedance in ohms ("dBm@75", "W @ 8 Ω") or the level of
// full scale ("dBFS@18dBu").
Reading<LevelUnit> ReadUnitText(std::string_view text, int currentUnit = NoUnit);
inline std::optional<LevelUnit> ReadLevelUnit(std::string_view text, int currentUnit = NoUnit)
{
    return ReadUnitText(text, currentUnit).value;
}

// A level: a number in either decimal form ("." or ","), optional spaces, then its unit
// (ReadUnitText); or an S-meter reading: "S" and its points from 1 to 9, without an exponent,
// then, right after them, the dB beyond them after "+" or "-" ("S7", "S9+20", "S1-6",
// "S5@VHF").
// Then, each after "+" or "-", any number of gains in dB ("20 dB"), and after "+" levels that
// add to it as powers. The level is in the unit of the first. Nothing for anything else: a
// number without a unit, an unknown unit, two numbers, or a number beyond the range of a
// double once scaled. A byte-order mark before the text is no part of it.
Reading<Level> ReadLevelText(std::string_view text, int currentUnit = NoUnit);
inline std::optional<Level> ReadLevel(std::string_view text, int currentUnit = NoUnit)
{
    return ReadLevelText(text, currentUnit).value;
}

// A value given in a unit known beforehand: a number, scaled by the unit's prefix, or for an
// S-meter unit its reading ("S9+20").
std::optional<ScaledReal> ReadValueIn(std::string_view text, const LevelUnit& unit);

// The level in the listed unit of its family (ListedUnitOf), its decimals those that show it
// as it was written: converted back from what those decimals show, it reads as the level
// written to its last decimal. More than MaxShownDecimals when none do. Nothing when it does
// not convert.
std::optional<Level> InListedUnit(const Level& level);

} // namespace tarvane
