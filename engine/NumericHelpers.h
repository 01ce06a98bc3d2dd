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
inline constexpr std::string_view SCannotRaiseZeroToNegativePower =
    "Cannot Raise 0 to a negative power";
inline constexpr std::string_view SFloatingPointOverflow = "Floating point overflow";

// Smallest argument StrictLog10 accepts. Held at extended precision, so the smallest
// positive double (about 4.94E-324) lies below it and is rejected.
inline constexpr Extended MinPositiveArgument = 5.0E-324L;

// The floating-point faults that fail a conversion. Underflow and inexact results are ordinary.
inline constexpr int TrappedFaults = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;

// The helpers as the conversion formulas use them. An argument outside the domain gives NaN
// and raises the invalid-operation fault, as the square root of a negative number does, and an
// overflow gives infinity with the overflow fault; nothing is thrown, so a conversion that
// fails costs no more than one that succeeds, and its failure is read from the fault flags.
Extended Log10OrFault(Extended x) noexcept;
Extended IntPowerOrFault(Extended x, std::int32_t n) noexcept;

// The same helpers raising EMathError instead, for callers that want the error itself.
// Base-10 logarithm; raises EMathError("Value must be > 0") below MinPositiveArgument.
Extended StrictLog10(Extended x);
// x to the power n; raises EMathError("Cannot Raise 0 to a negative power") for x = 0, n < 0.
Extended StrictIntPower(Extended x, std::int32_t n);
// x to the power n by repeated squaring; raises EMathError on overflow of a finite x.
Extended IntPowerBySquaring(Extended x, std::uint32_t n);

} // namespace tarvane
