#include "WideReal.h"

#include "ErrorFreeArithmetic.h"
#include "WideRealTables.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

namespace tarvane {

namespace {

using namespace widereal_tables;
using namespace errorfree;
using errorfree::NearestInteger;

constexpr Pair PairOf(const PairConstant& constant)
{
    return {constant.high, constant.low};
}

constexpr std::uint64_t BitsOf(double x)
{
    return std::bit_cast<std::uint64_t>(x);
}

constexpr std::uint64_t ExponentBits = 0x7FF0'0000'0000'0000;

// Without comparisons, which a not-a-number would make raise the invalid-operation flag.
constexpr bool IsFinite(double x)
{
    return (BitsOf(x) & ExponentBits) != ExponentBits;
}

constexpr bool IsNaNDouble(double x)
{
    return (BitsOf(x) & ~(std::uint64_t{1} << 63)) > ExponentBits;
}

constexpr bool SignOf(double x)
{
    return (BitsOf(x) >> 63) != 0;
}

constexpr double Infinite(bool negative)
{
    return negative ? -std::numeric_limits<double>::infinity()
                    : std::numeric_limits<double>::infinity();
}

constexpr double Zero(bool negative)
{
    return negative ? -0.0 : 0.0;
}

// 2^n for -1022 ≤ n ≤ 1023.
constexpr double PowerOfTwo(int n)
{
    return std::bit_cast<double>(static_cast<std::uint64_t>(n + 1023) << 52);
}

// x · 2^n: exact while the result is a normal double.
constexpr double Scale(double x, int n)
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
constexpr int ExponentOf(double x)
{
    const int biased = static_cast<int>((BitsOf(x) >> 52) & 0x7FF);
    return biased == 0 ? ExponentOf(x * PowerOfTwo(64)) - 64 : biased - 1023;
}

[[gnu::always_inline]] constexpr Pair Add(Pair a, Pair b)
{
    Pair sum = TwoSum(a.high, b.high);
    const Pair lows = TwoSum(a.low, b.low);
    sum.low += lows.high;
    sum = FastTwoSum(sum.high, sum.low);
    sum.low += lows.low;
    return FastTwoSum(sum.high, sum.low);
}

[[gnu::always_inline]] constexpr Pair Multiply(Pair a, Pair b)
{
    Pair product = TwoProduct(a.high, b.high);
    product.low += a.high * b.low + a.low * b.high;
    return FastTwoSum(product.high, product.low);
}

// A pair times a double.
[[gnu::always_inline]] constexpr Pair MultiplyBy(Pair a, double b)
{
    Pair product = TwoProduct(a.high, b);
    product.low += a.low * b;
    return FastTwoSum(product.high, product.low);
}

[[gnu::always_inline]] constexpr Pair Negated(Pair a)
{
    return {-a.high, -a.low};
}

// A pair plus a double.
[[gnu::always_inline]] constexpr Pair AddDouble(Pair a, double b)
{
    Pair sum = TwoSum(a.high, b);
    sum.low += a.low;
    return FastTwoSum(sum.high, sum.low);
}

// Three quotients of doubles, each correcting the remainder of the one before.
constexpr Pair Divide(Pair a, Pair b)
{
    const double q1 = a.high / b.high;
    Pair remainder = Add(a, Negated(MultiplyBy(b, q1)));
    const double q2 = remainder.high / b.high;
    remainder = Add(remainder, Negated(MultiplyBy(b, q2)));
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

[[gnu::always_inline]] constexpr Pair Times(Pair a, double powerOfTwo)
{
    return {a.high * powerOfTwo, a.low * powerOfTwo};
}

// high + low rounded to the nearest integer, ties to even, for 0 ≤ high < 2^52.
double NearestInteger(Pair a)
{
    // Adding 2^52 leaves no bit below the unit for any high part up to 2^52.
    constexpr double Shifter = 0x1p52;
    double integer = (a.high + Shifter) - Shifter;
    const double rest = a.high - integer; // exact, within ±0.5
    if (rest == 0.5 && a.low > 0) {
        integer += 1;
    } else if (rest == -0.5 && a.low < 0) {
        integer -= 1;
    }
    return integer;
}

constexpr double Sqrt2 = 0x1.6a09e667f3bcdp+0;

// A pair and a binary exponent, brought to the normal form; an infinity or a zero beyond the
// range of the exponent.
constexpr WideReal Normalised(Pair a, int exponent)
{
    if (a.high == 0) {
        return WideReal::FromParts(a.high, 0, 0);
    }
    const int shift = ExponentOf(a.high);
    exponent += shift;
    if (exponent > WideReal::MaxOrder) {
        return WideReal::FromParts(Infinite(SignOf(a.high)), 0, 0);
    }
    if (exponent < -WideReal::MaxOrder) {
        return WideReal::FromParts(Zero(SignOf(a.high)), 0, 0);
    }
    if (shift == 0) {
        return WideReal::FromParts(a.high, a.low, exponent);
    }
    return WideReal::FromParts(Scale(a.high, -shift), Scale(a.low, -shift), exponent);
}

template <std::size_t Size>
constexpr std::array<WideReal, Size> Normalised(const std::array<PairConstant, Size>& pairs)
{
    std::array<WideReal, Size> numbers{};
    for (std::size_t i = 0; i < Size; ++i) {
        numbers[i] = Normalised(PairOf(pairs[i]), 0);
    }
    return numbers;
}

constexpr std::array<WideReal, PowerOfTenDirect> PositivePowers = Normalised(PowersOfTen);
constexpr std::array<WideReal, PowerOfTenDirect> NegativePowers = Normalised(NegativePowersOfTen);

constexpr WideReal FromScaled(const ScaledConstant& constant)
{
    return WideReal::FromParts(constant.high, constant.low, constant.exponent);
}

// Beyond this magnitude 10^x is infinite or zero: 10^(2^25) > 2^MaxOrder.
constexpr int Exp10LimitOrder = 25;

// ln(1 + z) for |z| ≤ 2^-14.9: z - z²·q, q = 1/2 - z/3 + z²/4 - …, the high part of z/3 in
// two doubles and the rest of q in one, being 2^-31 of it.
Pair LogOfOnePlus(Pair z)
{
    const double h = z.high;
    const double tail = h * h * (1.0 / 4 - h * (1.0 / 5 - h * (1.0 / 6 - h * (1.0 / 7))));
    const Pair third = MultiplyBy(PairOf(OneThird), h);
    Pair q = TwoSum(0.5, -third.high);
    q.low += (tail - third.low) - z.low * OneThird.high;
    q = FastTwoSum(q.high, q.low);
    const Pair product = TwoProduct(h, h);
    const Pair square = FastTwoSum(product.high, product.low + 2 * h * z.low);
    return Add(z, Negated(Multiply(square, q)));
}

// (1 + z) · r - 1 for z near 1/r - 1, exactly but for the product of z's low part.
Pair ReducedBy(double r, Pair z)
{
    const Pair product = TwoProduct(z.high, r);
    Pair sum = TwoSum(r - 1, product.high); // r - 1 is exact
    sum.low += product.low + z.low * r;
    return FastTwoSum(sum.high, sum.low);
}

// ln(2^exponent · (1 + t)) for √½ ≤ 1 + t < √2: ln 2^exponent - ln r1 - ln r2 + ln(1 + z),
// r1 and r2 the tables' reciprocals of 1 + i/2^7 nearest to 1 + t and of 1 + i/2^14 nearest
// to (1 + t) · r1, and z = (1 + t) · r1 · r2 - 1, |z| < 2^-14.9. Close to 1 both reciprocals
// are 1, and z is t with every digit it has.
Pair LnOfScaled(int exponent, Pair t)
{
    const ReciprocalConstant& first = LogFirstStep[static_cast<std::size_t>(
        static_cast<int>(NearestInteger(t.high * (1 << LogFirstBits))) - LogFirstIndex)];
    const Pair z1 = ReducedBy(first.reciprocal, t);
    const ReciprocalConstant& second = LogSecondStep[static_cast<std::size_t>(
        static_cast<int>(NearestInteger(z1.high * (1 << LogSecondBits))) - LogSecondIndex)];
    const Pair z = ReducedBy(second.reciprocal, z1);
    const Pair tables = Add({first.high, first.low}, {second.high, second.low});
    const Pair lnOfMantissa = Add(tables, LogOfOnePlus(z));
    return exponent == 0 ? lnOfMantissa : Add(MultiplyBy(PairOf(Ln2), exponent), lnOfMantissa);
}

// ln(m · 2^exponent) for 1 ≤ m < 2: m brought between √½ and √2, where m - 1 is exact.
Pair LnOfMantissa(Pair m, int exponent)
{
    if (m.high > Sqrt2) {
        m = Times(m, 0.5);
        ++exponent;
    }
    return LnOfScaled(exponent, TwoSum(m.high - 1, m.low));
}

// The pair of a WideReal within the range of a double, as plain pairs compute.
constexpr int PlainOrder = 900;

bool IsPlain(const WideReal& x)
{
    const WideReal::Parts parts = x.ToParts();
    return x.IsOrdinary() && parts.exponent < PlainOrder && parts.exponent > -PlainOrder;
}

Pair PlainPair(const WideReal& x)
{
    const WideReal::Parts parts = x.ToParts();
    return {Scale(parts.high, parts.exponent), Scale(parts.low, parts.exponent)};
}

// Log10OfQuotient on plain pairs: the power of ten k and ln of the rest (not log10); nothing
// beyond a double's range or the tables' powers of ten.
struct PlainLogarithm {
    long long whole = 0;
    Pair lnOfRest;
};

std::optional<PlainLogarithm> PlainLog10OfQuotient(const WideReal& a, const WideReal& b,
                                                   const WideReal& inverseOfB, long long k)
{
    if (!IsPlain(a) || !IsPlain(b) || !IsPlain(inverseOfB) || k <= -PowerOfTenDirect
        || k >= PowerOfTenDirect) {
        return std::nullopt;
    }
    Pair scaledA = PlainPair(a);
    Pair scaledB = PlainPair(b);
    Pair inverse = PlainPair(inverseOfB);
    if (k > 0) {
        // A logarithm of one number, b = 1, spares two products.
        const bool one = scaledB.high == 1 && scaledB.low == 0;
        const Pair power = PairOf(PowersOfTen[static_cast<std::size_t>(k)]);
        const Pair inversePower = PairOf(NegativePowersOfTen[static_cast<std::size_t>(k)]);
        scaledB = one ? power : Multiply(scaledB, power);
        inverse = one ? inversePower : Multiply(inverse, inversePower);
    } else if (k < 0) {
        scaledA = Multiply(scaledA, PairOf(PowersOfTen[static_cast<std::size_t>(-k)]));
    }
    const Pair difference = Add(scaledA, Negated(scaledB));
    if (difference.high == 0) {
        return PlainLogarithm{k, {0, 0}};
    }
    const Pair t = Multiply(difference, inverse);
    if (t.high > -0.29 && t.high < 0.41) {
        return PlainLogarithm{k, LnOfScaled(0, t)};
    }
    // Far from 1, the digits of 1 + t are as good as those of t.
    const Pair onePlusT = Add({1, 0}, t);
    const int exponent = ExponentOf(onePlusT.high);
    return PlainLogarithm{k, LnOfMantissa(Times(onePlusT, PowerOfTwo(-exponent)), exponent)};
}

// dB of ln 10 · perDecade.
constexpr Pair DecibelsOfLn(double perDecade)
{
    constexpr Pair Ten = MultiplyBy(PairOf(Log10OfE), 10);
    constexpr Pair Twenty = MultiplyBy(PairOf(Log10OfE), 20);
    return perDecade == 10 ? Ten : perDecade == 20 ? Twenty : MultiplyBy(PairOf(Log10OfE), perDecade);
}

// k, the power of ten nearest a / b but where a / b lies near the geometric middle of two,
// from their binary orders and a straight line through log10 of the quotient of their
// leading parts.
long long NearPowerOfTen(const WideReal& a, const WideReal& b)
{
    const WideReal::Parts aParts = a.ToParts();
    const WideReal::Parts bParts = b.ToParts();
    return static_cast<long long>(NearestInteger((aParts.exponent - bParts.exponent) * Log10Of2.high
                                                 + (aParts.high / bParts.high - 1) * 0.4));
}

} // namespace

constexpr WideReal OneTenth = FromScaled(widereal_tables::OneTenth);
constexpr WideReal OneTwentieth = FromScaled(widereal_tables::OneTwentieth);

WideReal::WideReal(double value)
    : WideReal(IsFinite(value) ? Normalised({value, 0}, 0) : FromParts(value, 0, 0))
{
}

WideReal WideReal::Infinity(bool negative)
{
    return FromParts(Infinite(negative), 0, 0);
}

WideReal WideReal::NotANumber()
{
    return FromParts(std::numeric_limits<double>::quiet_NaN(), 0, 0);
}

bool WideReal::IsOrdinary() const
{
    return IsFinite(m_high) && m_high != 0;
}

bool WideReal::IsNaN() const
{
    return IsNaNDouble(m_high);
}

bool WideReal::IsInfinite() const
{
    return !IsFinite(m_high) && !IsNaN();
}

bool WideReal::IsPositive() const
{
    return !IsNaN() && m_high > 0;
}

bool WideReal::IsNegative() const
{
    return !IsNaN() && m_high < 0;
}

std::optional<double> WideReal::ToDouble() const
{
    if (!IsFinite(m_high) || m_exponent > 1023) {
        return std::nullopt;
    }
    if (IsZero()) {
        return m_high;
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
    if (!a.IsOrdinary() || !b.IsOrdinary()) {
        if (a.IsNaN() || b.IsNaN() || (a.IsInfinite() && b.IsInfinite() && a.m_high != b.m_high)) {
            return WideReal::NotANumber();
        }
        if (a.IsInfinite() || b.IsZero()) {
            // A zero plus a zero is negative only when both are.
            return a.IsZero() ? WideReal::FromParts(Zero(SignOf(a.m_high) && SignOf(b.m_high)), 0, 0)
                              : a;
        }
        return b;
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
    if (!a.IsOrdinary() || !b.IsOrdinary()) {
        const bool negative = SignOf(a.m_high) != SignOf(b.m_high);
        if (a.IsNaN() || b.IsNaN() || (a.IsInfinite() && b.IsZero())
            || (a.IsZero() && b.IsInfinite())) {
            return WideReal::NotANumber();
        }
        return WideReal::FromParts(
            a.IsInfinite() || b.IsInfinite() ? Infinite(negative) : Zero(negative), 0, 0);
    }
    return Normalised(Multiply({a.m_high, a.m_low}, {b.m_high, b.m_low}),
                      a.m_exponent + b.m_exponent);
}

WideReal operator/(const WideReal& a, const WideReal& b)
{
    if (!a.IsOrdinary() || !b.IsOrdinary()) {
        const bool negative = SignOf(a.m_high) != SignOf(b.m_high);
        if (a.IsNaN() || b.IsNaN() || (a.IsZero() && b.IsZero())
            || (a.IsInfinite() && b.IsInfinite())) {
            return WideReal::NotANumber();
        }
        return WideReal::FromParts(
            a.IsInfinite() || b.IsZero() ? Infinite(negative) : Zero(negative), 0, 0);
    }
    return Normalised(Divide({a.m_high, a.m_low}, {b.m_high, b.m_low}),
                      a.m_exponent - b.m_exponent);
}

bool operator<(const WideReal& a, const WideReal& b)
{
    if (a.IsNaN() || b.IsNaN()) {
        return false;
    }
    // Two ordinary numbers of one sign compare by their binary orders, then by their parts.
    if (!a.IsOrdinary() || !b.IsOrdinary() || a.IsNegative() != b.IsNegative()) {
        return (a - b).IsNegative();
    }
    if (a.m_exponent != b.m_exponent) {
        return (a.m_exponent < b.m_exponent) != a.IsNegative();
    }
    return a.m_high < b.m_high || (a.m_high == b.m_high && a.m_low < b.m_low);
}

bool operator==(const WideReal& a, const WideReal& b)
{
    // The normal form is unique; zeros of either sign are one number.
    return !a.IsNaN() && !b.IsNaN() && a.m_high == b.m_high && a.m_low == b.m_low
        && (a.m_exponent == b.m_exponent || a.IsZero());
}

WideReal Sqrt(const WideReal& x)
{
    if (x.IsNegative()) {
        return WideReal::NotANumber();
    }
    if (!x.IsOrdinary()) {
        return x; // a zero, +∞ or a not-a-number
    }
    // An even exponent halves exactly.
    const bool odd = x.m_exponent % 2 != 0;
    const Pair mantissa = Times({x.m_high, x.m_low}, odd ? 2 : 1);
    return Normalised(SquareRoot(mantissa), (x.m_exponent - (odd ? 1 : 0)) / 2);
}

WideReal Exp10(const WideReal& x)
{
    if (!x.IsOrdinary()) {
        if (x.IsZero()) {
            return WideReal(1);
        }
        return x.IsNaN() || x.IsPositive() ? x : WideReal(0);
    }
    if (x.m_exponent >= Exp10LimitOrder) {
        return x.IsNegative() ? WideReal(0) : WideReal::Infinity();
    }
    // Below the last bit of 1.
    if (x.m_exponent < -120) {
        return WideReal(1);
    }
    const Pair y = {Scale(x.m_high, x.m_exponent), Scale(x.m_low, x.m_exponent)};
    // 10^y = 2^u = 2^k · 2^(j1/64) · 2^(j2/2^14) · e^g, with g = (u - n/2^14) ln 2 and
    // |g| ≤ ln 2 / 2^15.
    const Pair u = Multiply(y, PairOf(Log2Of10));
    constexpr int Steps = 1 << (ExpFirstBits + ExpSecondBits);
    const double n = NearestInteger(u.high * Steps);
    const auto whole = static_cast<long long>(n);
    const auto first = static_cast<std::size_t>((whole >> ExpSecondBits) & (ExpFirstStep.size() - 1));
    const auto second = static_cast<std::size_t>(whole & (ExpSecondStep.size() - 1));
    const Pair g = Multiply(Add(u, {-n / Steps, 0}), PairOf(Ln2));
    // e^g - 1 = g + g²/2 + g³ (1/6 + g/24 + …): the terms from the cube on in one double,
    // being 2^-47 of the sum.
    const double h = g.high;
    const double tail = h * h * h * (1.0 / 6 + h * (1.0 / 24 + h * (1.0 / 120 + h * (1.0 / 720))));
    const Pair product = TwoProduct(h, h);
    const Pair square = FastTwoSum(product.high, product.low + 2 * h * g.low);
    const Pair expm1 = Add(g, Add(Times(square, 0.5), {tail, 0}));
    const Pair power = Multiply(PairOf(ExpFirstStep[first]), PairOf(ExpSecondStep[second]));
    return Normalised(Add(power, Multiply(power, expm1)),
                      static_cast<int>(whole >> (ExpFirstBits + ExpSecondBits)));
}

WideReal Log10(const WideReal& x)
{
    if (!x.IsOrdinary() || x.IsNegative()) {
        if (x.IsZero()) {
            return WideReal::Infinity(true);
        }
        return x.IsNaN() || x.IsNegative() ? WideReal::NotANumber() : x;
    }
    const Pair log = Multiply(LnOfMantissa({x.m_high, x.m_low}, x.m_exponent), PairOf(Log10OfE));
    // A power of ten that two doubles hold exactly has its exponent as its logarithm exactly.
    const double nearest = NearestInteger(log.high);
    if (nearest > 0 && nearest < PowerOfTenDirect && std::fabs(log.high - nearest) < 0x1p-40
        && x == PositivePowers[static_cast<std::size_t>(nearest)]) {
        return WideReal(nearest);
    }
    return Normalised(log, 0);
}

WideReal Log10OnePlus(const WideReal& t)
{
    // Where 1 + t lies between √½ and √2, t goes into the reduction as it is.
    const double approximate = t.IsOrdinary() && t.m_exponent > -1000 ? Scale(t.m_high, t.m_exponent) : 0;
    if (!t.IsOrdinary() || !(approximate > -0.29 && approximate < 0.41)) {
        return t.IsZero() ? t : Log10(WideReal(1) + t);
    }
    // Below the last bit of t, ln(1 + t) is t.
    if (t.m_exponent < -110) {
        return t * Normalised(PairOf(Log10OfE), 0);
    }
    return Normalised(Multiply(LnOfScaled(0, {approximate, Scale(t.m_low, t.m_exponent)}),
                               PairOf(Log10OfE)),
                      0);
}

DecimalLogarithm Log10OfQuotient(const WideReal& a, const WideReal& b, const WideReal& inverseOfB)
{
    // Whichever of a and b is scaled by 10^|k| stays exact while it is a whole number that two
    // doubles hold.
    const long long k = NearPowerOfTen(a, b);
    if (const std::optional<PlainLogarithm> log = PlainLog10OfQuotient(a, b, inverseOfB, k)) {
        return {k, Normalised(Multiply(log->lnOfRest, PairOf(Log10OfE)), 0)};
    }
    const WideReal scaledA = k < 0 ? a * PowerOfTen(-k) : a;
    const WideReal scaledB = k > 0 ? b * PowerOfTen(k) : b;
    const WideReal difference = scaledA - scaledB;
    const WideReal t = difference.IsZero()
        ? difference
        : difference * (k > 0 ? inverseOfB * PowerOfTen(-k) : inverseOfB);
    return {k, Log10OnePlus(t)};
}

WideReal DecibelsOfQuotient(const WideReal& a, const WideReal& b, const WideReal& inverseOfB,
                            const DecibelTerms& terms)
{
    const long long k = NearPowerOfTen(a, b);
    if (const std::optional<PlainLogarithm> log = PlainLog10OfQuotient(a, b, inverseOfB, k)) {
        const WideReal::Parts rest = terms.rest.ToParts();
        if (terms.rest.IsZero() || (terms.rest.IsOrdinary() && rest.exponent < PlainOrder)) {
            const double whole = terms.perDecade * static_cast<double>(k + terms.powerOfTen)
                + terms.whole;
            const Pair decibels = Multiply(log->lnOfRest, DecibelsOfLn(terms.perDecade));
            const Pair sum = terms.rest.IsZero()
                ? decibels
                : Add(decibels, {Scale(rest.high, rest.exponent), Scale(rest.low, rest.exponent)});
            return Normalised(whole == 0 ? sum : AddDouble(sum, whole), 0);
        }
    }
    const DecimalLogarithm log = Log10OfQuotient(a, b, inverseOfB);
    const double whole = terms.perDecade * static_cast<double>(log.whole + terms.powerOfTen) + terms.whole;
    return WideReal(whole) + (WideReal(terms.perDecade) * log.rest + terms.rest);
}

std::optional<double> RoundedDecibelsOf(double m, const DecibelTerms& terms)
{
    const WideReal::Parts restParts = terms.rest.ToParts();
    const double whole =
        terms.perDecade * static_cast<double>(terms.powerOfTen) + terms.whole; // exact
    if (!(m > 0) || !IsFinite(m) || !(std::fabs(whole) < 0x1p30)
        || (!terms.rest.IsZero()
            && (!terms.rest.IsOrdinary() || restParts.exponent > 30 || restParts.exponent < -900))) {
        return std::nullopt;
    }
    // ln m = e ln 2 - ln r + ln(1 + z), m = 2^e · x with √½ ≤ x < √2, r the first table's
    // reciprocal nearest to 1/x and z = x · r - 1 exactly as two doubles, |z| < 2^-7.4; ln(1 + z)
    // = z - z² · (1/2 - z/3 + …) to z^10, the series in one double, being 2^-8 of z.
    int e = ExponentOf(m);
    double x = Scale(m, -e);
    if (x > Sqrt2) {
        x *= 0.5;
        ++e;
    }
    const ReciprocalConstant& step = LogFirstStep[static_cast<std::size_t>(
        static_cast<int>(NearestInteger((x - 1) * (1 << LogFirstBits))) - LogFirstIndex)];
    const Pair product = TwoProduct(x, step.reciprocal);
    const Pair z = TwoSum(product.high - 1, product.low); // product.high - 1 is exact
    // q = 1/2 - z/3 + z²/4 - … + z^8/10, by pairs of terms that do not wait for each other.
    const double h = z.high;
    const double h2 = h * h;
    const double h4 = h2 * h2;
    const double low = (1.0 / 2 - h * (1.0 / 3)) + h2 * (1.0 / 4 - h * (1.0 / 5));
    const double high = (1.0 / 6 - h * (1.0 / 7)) + h2 * (1.0 / 8 - h * (1.0 / 9));
    const double series = -h2 * (low + h4 * (high + h4 * (1.0 / 10)));
    const Pair powerOfTwo = TwoProduct(static_cast<double>(e), Ln2.high);
    Pair ln = TwoSum(powerOfTwo.high, step.high);
    const Pair withZ = TwoSum(ln.high, h);
    ln = {withZ.high, withZ.low + ln.low + powerOfTwo.low + e * Ln2.low + step.low + z.low
                          - h * z.low + series};
    // perDecade · log10 m + whole + rest, and what is left of it beyond the double nearest.
    const Pair scale = DecibelsOfLn(terms.perDecade);
    const Pair decibels = TwoProduct(ln.high, scale.high);
    const Pair withWhole = TwoSum(decibels.high, whole);
    const Pair rest = terms.rest.IsZero()
        ? Pair{}
        : Pair{Scale(restParts.high, restParts.exponent), Scale(restParts.low, restParts.exponent)};
    const Pair withRest = TwoSum(withWhole.high, rest.high);
    const Pair sum = TwoSum(withRest.high, decibels.low + ln.high * scale.low
                                               + ln.low * scale.high + withWhole.low + withRest.low
                                               + rest.low);
    // The double nearest is the sum's high part but within the error of half its last unit
    // from the other side.
    if (sum.high == 0 || !(std::fabs(sum.high) < 0x1p30)) {
        return std::nullopt;
    }
    const double halfUnit = PowerOfTwo(ExponentOf(sum.high) - 53);
    const double error = 0x1p-58 * (1 + std::fabs(sum.high));
    return std::fabs(sum.low) + error < halfUnit ? std::optional(sum.high) : std::nullopt;
}

WideReal PowerOfTen(long long n)
{
    if (n >= 0 && n < PowerOfTenDirect) {
        return PositivePowers[static_cast<std::size_t>(n)];
    }
    if (n < 0 && n > -PowerOfTenDirect) {
        return NegativePowers[static_cast<std::size_t>(-n)];
    }
    // 10^n = 10^rest · ∏ 10^(±32 · 2^i) over the bits of |n| / 32.
    const long long magnitude = n < 0 ? -n : n;
    const long long blocks = magnitude / PowerOfTenDirect;
    if (blocks >> LargePowersOfTen.size() != 0) {
        return Exp10(WideReal(static_cast<double>(n)));
    }
    const long long rest = magnitude % PowerOfTenDirect;
    WideReal power = n < 0 ? NegativePowers[static_cast<std::size_t>(rest)]
                           : PositivePowers[static_cast<std::size_t>(rest)];
    for (std::size_t i = 0; i < LargePowersOfTen.size(); ++i) {
        if ((blocks >> i) & 1) {
            power = power * FromScaled(n < 0 ? SmallPowersOfTen[i] : LargePowersOfTen[i]);
        }
    }
    return power;
}

} // namespace tarvane
