#pragma once

#include "WideReal.h"

#include <optional>

namespace tarvane {

// Smallest argument StrictLog10 accepts: 5.0E-324, held exactly, so the smallest positive
// double (about 4.94E-324) lies below it and is rejected.
inline constexpr WideReal MinPositiveArgument = WideReal::FromParts(0x1.03132b9cf541cp+0, 0, -1074);

// The base-10 logarithm, or nothing for an argument below MinPositiveArgument: zero, every
// negative number and the smallest positive double.
std::optional<WideReal> StrictLog10(const WideReal& x) noexcept;

} // namespace tarvane
