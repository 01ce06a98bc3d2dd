#include "WideReal.h"

#include <bit>
#include <cmath>
#include <cstdint>

namespace tarvane {

namespace {

// A double-double: high is the double nearest to high + low once normalised.
struct Pair {
    double high = 0;
    double low = 0;
};

// 2^n for -1022 ≤ n ≤ 1023.
constexpr double PowerOfTwo(int n)
{
    return std::bit_cast<double>(static_cast<std::uint64_t>(n + 1023) << 52);
}

// x · 2^n: exact while the result is a normal double.
double Scale(double x, int n)
{
    for (; n > 1023; n -= 1023) {
        x *= PowerOfTwo(1023);
    }
    for (; n < -1022; n += 1022) {
        x *= PowerOfTwo(-1022);
    }
    return x * PowerOfTwo(n);
}

// The power of two of a finite non-zero double's leading bit.
int ExponentOf(double x)
{
    const int biased = static_cast<int>((std::bit_cast<std::uint64_t>(x) >> 52) & 0x7FF);
    return biased == 0 ? ExponentOf(x * PowerOfTwo(64)) - 64 : biased - 1023;
}

// The error-free transformations: the exact sum or product of two doubles as a pair.
constexpr Pair TwoSum(double a, double b)
{
    const double sum = a + b;
    const double bPart = sum - a;
    return {sum, (a - (sum - bPart)) + (b - bPart)};
}

// As TwoSum, for |a| ≥ |b|.
constexpr Pair FastTwoSum(double a, double b)
{
    const double sum = a + b;
    return {sum, b - (sum - a)};
}

// Splits a double into two halves of 26 bits, whose products are exact.
constexpr Pair Split(double a)
{
    const double scaled = 134217729.0 * a; // 2^27 + 1
    const double high = scaled - (scaled - a);
    return {high, a - high};
}

// Without a fused multiply-add, which not every processor has: the same bits everywhere.
constexpr Pair TwoProduct(double a, double b)
{
    const double product = a * b;
    const Pair as = Split(a);
    const Pair bs = Split(b);
    const double error =
        ((as.high * bs.high - product) + as.high * bs.low + as.low * bs.high) + as.low * bs.low;
    return {product, error};
}

constexpr Pair Add(Pair a, Pair b)
{
    Pair sum = TwoSum(a.high, b.high);
    const Pair lows = TwoSum(a.low, b.low);
    sum.low += lows.high;
    sum = FastTwoSum(sum.high, sum.low);
    sum.low += lows.low;
    return FastTwoSum(sum.high, sum.low);
}

constexpr Pair Multiply(Pair a, Pair b)
{
    Pair product = TwoProduct(a.high, b.high);
    product.low += a.high * b.low + a.low * b.high;
    return FastTwoSum(product.high, product.low);
}

constexpr Pair Negated(Pair a)
{
    return {-a.high, -a.low};
}

// Three quotients of doubles, each correcting the remainder of the one before.
constexpr Pair Divide(Pair a, Pair b)
{
    const double q1 = a.high / b.high;
    Pair remainder = Add(a, Negated(Multiply(b, {q1, 0})));
    const double q2 = remainder.high / b.high;
    remainder = Add(remainder, Negated(Multiply(b, {q2, 0})));
    const double q3 = remainder.high / b.high;
    return Add(FastTwoSum(q1, q2), {q3, 0});
}

// The correctly rounded square root of the high part, and one Newton step.
Pair SquareRoot(Pair a)
{
    const double root = std::sqrt(a.high);
    const Pair square = TwoProduct(root, root);
    return FastTwoSum(root, ((a.high - square.high) - square.low + a.low) / (2 * root));
}

constexpr Pair Times(Pair a, double powerOfTwo)
{
    return {a.high * powerOfTwo, a.low * powerOfTwo};
}

constexpr Pair Reciprocal(double n)
{
    const double high = 1 / n;
    const Pair product = TwoProduct(n, high);
    return {high, ((1 - product.high) - product.low) / n};
}

// The nearest integer, ties to even, for |x| < 2^51.
double NearestInteger(double x)
{
    constexpr double Shifter = 0x1.8p52;
    return (x + Shifter) - Shifter;
}

// high + low rounded to the nearest integer, ties to even, for 0 ≤ high < 2^52.
double NearestInteger(Pair a)
{
    double integer = NearestInteger(a.high);
    const double rest = a.high - integer; // exact, within ±0.5
    if (rest == 0.5 && a.low > 0) {
        integer += 1;
    } else if (rest == -0.5 && a.low < 0) {
        integer -= 1;
    }
    return integer;
}

constexpr Pair Ln2 = {0x1.62e42fefa39efp-1, 0x1.abc9e3b39803fp-56};
constexpr double Sqrt2 = 0x1.6a09e667f3bcdp+0;
constexpr Pair OneSixth = Reciprocal(6);
constexpr Pair OneThird = Reciprocal(3);
constexpr Pair OneFifth = Reciprocal(5);
constexpr Pair OneSeventh = Reciprocal(7);
constexpr Pair OneNinth = Reciprocal(9);
constexpr WideReal Ln10 = WideReal::FromParts(0x1.26bb1bbb55516p+0, -0x1.f48ad494ea3e9p-54, 1);
constexpr WideReal Log10OfE = WideReal::FromParts(0x1.bcb7b1526e50ep+0, 0x1.95355baaafad3p-55, -2);

// Beyond this binary order a number stands for one that no double reaches, as does any
// exponential of an argument of this order or more.
constexpr int FarOrder = 1 << 20;
constexpr int ExpLimitOrder = 13; // |x| ≥ 8192

// A pair and a binary exponent, brought to the normal form.
WideReal Normalised(Pair a, int exponent)
{
    if (a.high == 0) {
        return WideReal::FromParts(a.high, 0, 0);
    }
    const int shift = ExponentOf(a.high);
    exponent += shift;
    if (exponent > FarOrder || exponent < -FarOrder) {
        return WideReal::FromParts(a.high < 0 ? -1 : 1, 0, exponent > 0 ? FarOrder : -FarOrder);
    }
    return WideReal::FromParts(Scale(a.high, -shift), Scale(a.low, -shift), exponent);
}

} // namespace

WideReal::WideReal(double value)
    : WideReal(Normalised({value, 0}, 0))
{
}

std::optional<double> WideReal::ToDouble() const
{
    if (IsZero()) {
        return m_high;
    }
    if (m_exponent > 1023) {
        return std::nullopt;
    }
    if (m_exponent >= -1022) {
        return m_high * PowerOfTwo(m_exponent);
    }
    // A subnormal result: a whole number of the smallest subnormal, rounded once.
    const double sign = m_high < 0 ? -1 : 1;
    if (m_exponent < -1075) {
        return sign * 0.0;
    }
    const int shift = m_exponent + 1074;
    const double units = NearestInteger({Scale(m_high * sign, shift), Scale(m_low * sign, shift)});
    return sign * units * std::bit_cast<double>(std::uint64_t{1});
}

WideReal WideReal::operator-() const
{
    return FromParts(-m_high, -m_low, m_exponent);
}

WideReal operator+(const WideReal& a, const WideReal& b)
{
    if (a.IsZero() || b.IsZero()) {
        return b.IsZero() ? (a.IsZero() ? WideReal(a.m_high + b.m_high) : a) : b;
    }
    const bool aLarger = a.m_exponent >= b.m_exponent;
    const WideReal& larger = aLarger ? a : b;
    const WideReal& smaller = aLarger ? b : a;
    const int gap = larger.m_exponent - smaller.m_exponent;
    // Far below the last bit of the larger.
    if (gap > 120) {
        return larger;
    }
    const Pair sum = Add({larger.m_high, larger.m_low},
                         {Scale(smaller.m_high, -gap), Scale(smaller.m_low, -gap)});
    return Normalised(sum, larger.m_exponent);
}

WideReal operator*(const WideReal& a, const WideReal& b)
{
    if (a.IsZero() || b.IsZero()) {
        return WideReal(a.m_high * b.m_high);
    }
    return Normalised(Multiply({a.m_high, a.m_low}, {b.m_high, b.m_low}),
                      a.m_exponent + b.m_exponent);
}

WideReal operator/(const WideReal& a, const WideReal& b)
{
    if (a.IsZero()) {
        return WideReal(a.m_high / b.m_high);
    }
    return Normalised(Divide({a.m_high, a.m_low}, {b.m_high, b.m_low}),
                      a.m_exponent - b.m_exponent);
}

WideReal Sqrt(const WideReal& x)
{
    if (x.IsZero()) {
        return x;
    }
    // An even exponent halves exactly.
    const bool odd = x.m_exponent % 2 != 0;
    const Pair mantissa = Times({x.m_high, x.m_low}, odd ? 2 : 1);
    return Normalised(SquareRoot(mantissa), (x.m_exponent - (odd ? 1 : 0)) / 2);
}

WideReal Exp10(const WideReal& x)
{
    return WideReal::Exp(x * Ln10);
}

WideReal Log10(const WideReal& x)
{
    return WideReal::Log(x) * Log10OfE;
}

WideReal WideReal::Exp(const WideReal& x)
{
    if (!x.IsZero() && x.m_exponent >= ExpLimitOrder) {
        return FromParts(1, 0, x.IsNegative() ? -FarOrder : FarOrder);
    }
    // Below the last bit of 1.
    if (x.IsZero() || x.m_exponent < -120) {
        return WideReal(1);
    }
    const Pair y = {Scale(x.m_high, x.m_exponent), Scale(x.m_low, x.m_exponent)};
    // e^y = 2^k · e^r with |r| ≤ ln 2 / 2, and e^r = (e^(r / 256))^256.
    const double k = NearestInteger(y.high * 0x1.71547652b82fep0);
    const Pair r = Times(Add(y, Negated(Multiply({k, 0}, Ln2))), 0x1p-8);
    // e^(r / 256) - 1 by its Taylor series: the terms past the cube in plain doubles, being
    // smaller than 2^-30 of the sum.
    const Pair r2 = Multiply(r, r);
    const Pair r3 = Multiply(r2, r);
    const double t = r.high;
    const double tail =
        r3.high * t * (1.0 / 24 + t * (1.0 / 120 + t * (1.0 / 720 + t * (1.0 / 5040 + t / 40320))));
    Pair expm1 = Add(r, Add(Times(r2, 0.5), Add(Multiply(r3, OneSixth), {tail, 0})));
    // (1 + e)² - 1 = 2e + e², which keeps the digits of a small e.
    for (int squaring = 0; squaring < 8; ++squaring) {
        expm1 = Add(Times(expm1, 2), Multiply(expm1, expm1));
    }
    return Normalised(Add({1, 0}, expm1), static_cast<int>(k));
}

WideReal WideReal::Log(const WideReal& x)
{
    // ln x = e · ln 2 + ln m with √½ ≤ m < √2, and ln m = 2 atanh(s) with s = (m - 1) / (m + 1),
    // |s| < 0.172: a series in s² that keeps the digits of an m close to 1.
    Pair m = {x.m_high, x.m_low};
    int exponent = x.m_exponent;
    if (m.high > Sqrt2) {
        m = Times(m, 0.5);
        ++exponent;
    }
    const Pair s = Divide(Add(m, {-1, 0}), Add(m, {1, 0}));
    const Pair s2 = Multiply(s, s);
    // 1/3 + s²/5 + s⁴/7 + …: the terms past 1/9 in plain doubles, being smaller than 2^-28 of
    // the sum; the series stops below 2^-90 of it.
    const double z = s2.high;
    double tail = 1.0 / 35;
    for (int odd = 33; odd >= 11; odd -= 2) {
        tail = 1.0 / odd + z * tail;
    }
    Pair series = Add(OneNinth, {z * tail, 0});
    for (const Pair& coefficient : {OneSeventh, OneFifth, OneThird}) {
        series = Add(coefficient, Multiply(s2, series));
    }
    const Pair lnM = Times(Add(s, Multiply(Multiply(s, s2), series)), 2);
    return Normalised(Add(Multiply({static_cast<double>(exponent), 0}, Ln2), lnM), 0);
}

} // namespace tarvane
