#pragma once

#include <cfenv>
#include <cstdint>
#include <stdexcept>
#include <string_view>

namespace tarvane {

// Formulas work at x87 extended precision (64-bit mantissa); each step rounds to double.
using Extended = long double;

// The error the numeric helpers raise for an argument outside their domain.
class EMathError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr std::string_view SValueMustBePositive = "Value must be > 0";
inline constexpr std::string_view SCannotRaiseZeroToNegativePower = "Cannot Raise 0 to a negative power";
inline constexpr std::string_view SFloatingPointOverflow = "Floating point overflow";

// Smallest argument StrictLog10 accepts. Held at extended precision, so the smallest
// positive double (about 4.94E-324) lies below it and is rejected.
inline constexpr Extended MinPositiveArgument = 5.0E-324L;

// Base-10 logarithm; raises EMathError("Value must be > 0") below MinPositiveArgument.
Extended StrictLog10(Extended x);
// x to the power n; raises EMathError("Cannot Raise 0 to a negative power") for x = 0, n < 0.
Extended StrictIntPower(Extended x, std::int32_t n);
// x to the power n by repeated squaring; raises EMathError on overflow of a finite x.
Extended IntPowerBySquaring(Extended x, std::uint32_t n);

// The floating-point faults that fail a step. Underflow and inexact results are ordinary.
inline constexpr int TrappedFaults = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;

// Runs one formula step on x and rounds its result to double. Any error it raises and
// any trapped fault it causes sets `failed` and yields failureValue instead; nothing
// escapes. Faults are read from the status flags after the step, so a fault whose
// value later vanishes (75 / 0 divided into a finite number gives 0) still counts.
template <typename Formula>
double GuardedStep(double x, double failureValue, bool& failed, Formula formula) noexcept
{
    // Flags stay clear after every successful step, so clearing (which is slow on x87)
    // is needed only after a failure or when the caller left faults behind.
    if (std::fetestexcept(TrappedFaults) != 0) {
        std::feclearexcept(TrappedFaults);
    }
    // The compiler treats arithmetic as free of side effects and could move it across
    // the flag calls. Reading the argument through a volatile after the clear and
    // storing the result to a volatile before the test pins the whole step in between.
    volatile double pinnedArgument = x;
    volatile double pinnedResult = failureValue;
    try {
        pinnedResult = static_cast<double>(formula(static_cast<Extended>(pinnedArgument)));
    } catch (...) {
        failed = true;
        return failureValue;
    }
    if (std::fetestexcept(TrappedFaults) != 0) {
        failed = true;
        return failureValue;
    }
    return pinnedResult;
}

} // namespace tarvane
