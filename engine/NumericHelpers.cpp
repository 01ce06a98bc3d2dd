#include "NumericHelpers.h"

namespace tarvane {

std::optional<WideReal> StrictLog10(const WideReal& x) noexcept
{
    if (x < MinPositiveArgument) {
        return std::nullopt;
    }
    return Log10(x);
}

} // namespace tarvane
