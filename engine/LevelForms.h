#pragma once

#include "NumberForms.h"

#include <cstddef>
#include <string>

namespace tarvane {

// Values as tarvane-convert writes them in their unit (catalogue index): the number forms of
// FormatNumber, or for an S-meter unit the reading a receiver shows. Within the S-meter's
// scale, "S" and the number of points ("S7", "S7.5"); above its top, "S9+" and the dB beyond
// it ("S9+12"); below its first point, "S1-" and the dB under it. The precision's decimals go
// on the number written, and a value whose dB beyond the scale show as 0 is written as its
// points ("S9", never "S9+0"). A value whose dB below S1 are too many for a double, which no
// reading writes, is the number of its points alone ("-1E308").

// The longest text FormatValueIn writes.
inline constexpr std::size_t MaxValueTextLength = MaxNumberTextLength + 3;

// Writes at most MaxValueTextLength characters from `first` and returns the end of the text.
// With `digits` above 0, at least that many significant digits (FormatNumber).
char* FormatValueIn(char* first, double value, int unit, int precision, int digits = 0);
std::string ValueToString(double value, int unit, int precision, int digits = 0);

} // namespace tarvane
