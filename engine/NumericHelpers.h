#pragma once

#include "WideReal.h"

#include <optional>

namespace tarvane {

// Smallest argument StrictLog10 accepts: 5.0E-324 as its digits give it, so the smallest
// positive double (about 4.94E-324) lies below it and is refused, and the decimal 5E-324 is
// not.
WideReal MinPositiveArgument();

// The base-10 logarithm, or nothing for an argument below MinPositiveArgument: zero, every
// negative number and the smallest positive double.
std::optional<WideReal> StrictLog10(const WideReal& x) noexcept;

} // namespace tarvane
