#pragma once

// The error-free transformations of IEEE 754 doubles: the exact sum or product of two doubles
// as the double nearest to it and what is left, with the four operations alone, which round
// alike on every processor (on the x87 unit of 32-bit x86, within a DoubleRounding). The files
// that use them are compiled without contracting a product and a sum into one operation.
namespace tarvane::errorfree {

// high + low, high the double nearest to the sum where a transformation makes the pair.
struct Pair {
    double high = 0;
    double low = 0;
};

[[gnu::always_inline]] constexpr Pair TwoSum(double a, double b)
{
    const double sum = a + b;
    const double bPart = sum - a;
    return {sum, (a - (sum - bPart)) + (b - bPart)};
}

// As TwoSum, for |a| ≥ |b|.
[[gnu::always_inline]] constexpr Pair FastTwoSum(double a, double b)
{
    const double sum = a + b;
    return {sum, b - (sum - a)};
}

// Splits a double into two halves of 26 bits, whose products are exact.
[[gnu::always_inline]] constexpr Pair Split(double a)
{
    const double scaled = 134217729.0 * a; // 2^27 + 1
    const double high = scaled - (scaled - a);
    return {high, a - high};
}

// Without a fused multiply-add, which not every processor has: the same bits everywhere.
[[gnu::always_inline]] constexpr Pair TwoProduct(double a, double b)
{
    const double product = a * b;
    const Pair as = Split(a);
    const Pair bs = Split(b);
    const double error =
        ((as.high * bs.high - product) + as.high * bs.low + as.low * bs.high) + as.low * bs.low;
    return {product, error};
}

// The nearest integer, ties to even, for |x| < 2^51.
constexpr double NearestInteger(double x)
{
    constexpr double Shifter = 0x1.8p52;
    return (x + Shifter) - Shifter;
}

} // namespace tarvane::errorfree
