#include "NumericHelpers.h"

#include <cmath>
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

} // namespace

Extended StrictLog10(Extended x)
{
    // Written so that NaN fails the test as well.
    if (!(x >= MinPositiveArgument)) {
        RaiseMathError(SValueMustBePositive);
    }
    const Extended y = x - 1;
    if (std::fabs(y) < NearOneBand) {
        // Keeps the precision of levels close to 0 dB.
        return Log10Of2TimesLog2OnePlus(y);
    }
    return Log10Of2TimesLog2(x);
}

Extended StrictIntPower(Extended x, std::int32_t n)
{
    if (n == 0) {
        return 1;
    }
    if (x == 0) {
        if (n < 0) {
            RaiseMathError(SCannotRaiseZeroToNegativePower);
        }
        return 0;
    }
    if (x == 1) {
        return 1;
    }
    if (x == -1) {
        return (n % 2 != 0) ? -1 : 1;
    }
    if (n > 0) {
        return IntPowerBySquaring(x, static_cast<std::uint32_t>(n));
    }
    // Unsigned negation gives 2^31 for the most negative n.
    const std::uint32_t magnitude = 0u - static_cast<std::uint32_t>(n);
    // The overflow of the first attempt is answered by the reciprocal route and must not
    // count as a fault, so the overflow flag is put back as it was. The volatile keeps
    // the attempt's arithmetic after the flag is saved.
    std::fexcept_t overflowBefore{};
    std::fegetexceptflag(&overflowBefore, FE_OVERFLOW);
    const volatile Extended pinnedBase = x;
    Extended power = 0;
    try {
        power = IntPowerBySquaring(pinnedBase, magnitude);
    } catch (const EMathError&) {
        std::fesetexceptflag(&overflowBefore, FE_OVERFLOW);
        return IntPowerBySquaring(1 / x, magnitude);
    }
    return 1 / power;
}

Extended IntPowerBySquaring(Extended x, std::uint32_t n)
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
    // For |x| > 1 the powers only grow, so an overflowed square always reaches the result.
    if (std::isinf(result) && std::isfinite(x)) {
        RaiseMathError(SFloatingPointOverflow);
    }
    return result;
}

} // namespace tarvane
