#include "NumericHelpers.h"

#include <cmath>
#include <limits>
#include <numbers>
#include <string>

namespace tarvane {

namespace {

// Nearest extended value to one tenth: the width of the band around 1 that uses log1p.
constexpr Extended NearOneBand = 0.1L;

constexpr Extended Log10Of2 = 0.30102999566398119521373889472449302676818988146211L;

// log10(2) · log2(x). On x87 this is one instruction at full extended precision, and
// faster than the library call.
Extended Log10Of2TimesLog2(Extended x)
{
#if defined(__x86_64__) || defined(__i386__)
    Extended result;
    asm("fyl2x" : "=t"(result) : "0"(x), "u"(Log10Of2) : "st(1)");
    return result;
#else
    return std::log10(x);
#endif
}

// log10(2) · log2(1 + y), accurate for small y (x87 takes |y| up to 1 - √2/2).
Extended Log10Of2TimesLog2OnePlus(Extended y)
{
#if defined(__x86_64__) || defined(__i386__)
    Extended result;
    asm("fyl2xp1" : "=t"(result) : "0"(y), "u"(Log10Of2) : "st(1)");
    return result;
#else
    return std::log1p(y) * std::numbers::log10e_v<Extended>;
#endif
}

[[noreturn]] void RaiseMathError(std::string_view message)
{
    throw EMathError(std::string(message));
}

// What an operation without a result gives: NaN, with the invalid-operation fault raised.
Extended InvalidOperation() noexcept
{
    std::feraiseexcept(FE_INVALID);
    return std::numeric_limits<Extended>::quiet_NaN();
}

// x to the power n by repeated squaring; an overflow leaves infinity and the overflow fault.
Extended PowerBySquaring(Extended x, std::uint32_t n) noexcept
{
    Extended result = 1;
    Extended base = x;
    while (n != 0) {
        const bool bit = (n & 1u) != 0;
        n >>= 1;
        if (bit) {
            result *= base;
        }
        if (n != 0) {
            base *= base;
        }
    }
    return result;
}

// For |x| > 1 the powers only grow, so an overflowed square always reaches the result.
bool Overflowed(Extended power, Extended x)
{
    return std::isinf(power) && std::isfinite(x);
}

} // namespace

Extended Log10OrFault(Extended x) noexcept
{
    // Written so that NaN fails the test as well.
    if (!(x >= MinPositiveArgument)) {
        return InvalidOperation();
    }
    const Extended y = x - 1;
    if (std::fabs(y) < NearOneBand) {
        // Keeps the precision of levels close to 0 dB.
        return Log10Of2TimesLog2OnePlus(y);
    }
    return Log10Of2TimesLog2(x);
}

Extended IntPowerOrFault(Extended x, std::int32_t n) noexcept
{
    if (n == 0) {
        return 1;
    }
    if (x == 0) {
        return n < 0 ? InvalidOperation() : 0;
    }
    if (x == 1) {
        return 1;
    }
    if (x == -1) {
        return (n % 2 != 0) ? -1 : 1;
    }
    if (n > 0) {
        return PowerBySquaring(x, static_cast<std::uint32_t>(n));
    }
    // Unsigned negation gives 2^31 for the most negative n.
    const std::uint32_t magnitude = 0u - static_cast<std::uint32_t>(n);
    // The overflow of the first attempt is answered by the reciprocal route and must not
    // count as a fault, so the overflow flag is put back as it was. The volatile keeps
    // the attempt's arithmetic after the flag is saved.
    std::fexcept_t overflowBefore{};
    std::fegetexceptflag(&overflowBefore, FE_OVERFLOW);
    const volatile Extended pinnedBase = x;
    const Extended power = PowerBySquaring(pinnedBase, magnitude);
    if (Overflowed(power, x)) {
        std::fesetexceptflag(&overflowBefore, FE_OVERFLOW);
        return PowerBySquaring(1 / x, magnitude);
    }
    return 1 / power;
}

Extended StrictLog10(Extended x)
{
    if (!(x >= MinPositiveArgument)) {
        RaiseMathError(SValueMustBePositive);
    }
    return Log10OrFault(x);
}

Extended StrictIntPower(Extended x, std::int32_t n)
{
    if (x == 0 && n < 0) {
        RaiseMathError(SCannotRaiseZeroToNegativePower);
    }
    const Extended power = IntPowerOrFault(x, n);
    // Only a positive power can overflow: a negative one takes the reciprocal route.
    if (n > 0 && Overflowed(power, x)) {
        RaiseMathError(SFloatingPointOverflow);
    }
    return power;
}

Extended IntPowerBySquaring(Extended x, std::uint32_t n)
{
    const Extended power = PowerBySquaring(x, n);
    if (Overflowed(power, x)) {
        RaiseMathError(SFloatingPointOverflow);
    }
    return power;
}

} // namespace tarvane
