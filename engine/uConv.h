#pragma once

#include "QualifiedUnit.h"
#include "ScaledReal.h"

#include <optional>

namespace tarvane {

// Converts a level between any two units, a power taken across the impedance given after its
// "@" and a level from full scale referred to the level after its "@": the nearest double to
// the exact result (see Conversion), or nothing when the conversion fails or a unit lacks
// what it needs. Equal units give the value rounded to a double.
std::optional<double> TryConvertValue(const ScaledReal& value, const QualifiedUnit& fromUnit,
                                      const QualifiedUnit& toUnit) noexcept;

// As above for a double, which stands for the decimal it was read from (ScaledReal::Of).
// Equal units give the value itself, bit for bit; a NaN or infinite value taken to another unit
// fails.
std::optional<double> TryConvertValue(double value, const QualifiedUnit& fromUnit,
                                      const QualifiedUnit& toUnit) noexcept;

// Converts a level from one catalogue unit to another, given by their indexes: the result,
// or nothing when the conversion fails. Equal units give the value itself, bit for bit; an
// index outside the catalogue, or a NaN or infinite value taken to another unit, fails.
// Keeps no state between calls but the conversions it prepares, never throws, and leaves no
// floating-point fault of its own behind.
std::optional<double> TryConvertValue(double value, int fromUnit, int toUnit) noexcept;

// Set by ConvertValue when a conversion fails; never cleared by the engine.
extern bool ConversionFailed;

// TryConvertValue for callers that read failure from a flag: a failed conversion sets
// ConversionFailed and returns a value that is not to be shown (-999 into dBm, else 0).
double ConvertValue(double value, int fromUnit, int toUnit) noexcept;

} // namespace tarvane
