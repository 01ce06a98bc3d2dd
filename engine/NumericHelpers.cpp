#include "NumericHelpers.h"

#include "ScaledReal.h"

namespace tarvane {

WideReal MinPositiveArgument()
{
    return ScaledReal(WideReal(5), -324).Value();
}

std::optional<WideReal> StrictLog10(const WideReal& x) noexcept
{
    if (!(MinPositiveArgument() < x || x == MinPositiveArgument())) {
        return std::nullopt;
    }
    return Log10(x);
}

} // namespace tarvane
