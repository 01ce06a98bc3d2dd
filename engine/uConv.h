#pragma once

#include <optional>

namespace tarvane {

// Converts a level from one catalogue unit to another (unit indexes 0 to 11): the result,
// or nothing when the conversion fails. Keeps no state between calls and never throws.
std::optional<double> TryConvertValue(double value, int fromUnit, int toUnit) noexcept;

// Set by any failing formula step; the engine never clears it. The caller clears it
// before a conversion and reads it afterwards.
extern bool ConversionFailed;

// Converts a level from one catalogue unit to another (unit indexes 0 to 11). Never
// throws: a failed conversion leaves ConversionFailed set and returns a value that is
// not to be shown. Equal units return the value itself, bit for bit. An index outside
// the catalogue, or a NaN or infinite value taken to another unit, fails and returns 0.
double ConvertValue(double value, int fromUnit, int toUnit) noexcept;

} // namespace tarvane
