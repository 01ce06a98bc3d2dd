#pragma once

#include <optional>

namespace tarvane {

// A real number for the conversion formulas: about 106 significant bits (at least 68
// right in a logarithm or a power of ten), held as an unevaluated
// sum of two doubles, and a binary exponent of its own, so that no intermediate result of a
// formula overflows or underflows; only the final rounding to a double meets the limits of its
// range. Everything is computed with the four operations and the square root of doubles, which
// IEEE 754 rounds alike on every processor, never with the C library's logarithms and
// exponentials, which differ between processors in their last bits: a formula gives the same
// double everywhere. On the x87 unit of 32-bit x86 that holds only within a DoubleRounding.
class WideReal {
public:
    constexpr WideReal() = default;
    // Exactly `value`, which must be finite.
    WideReal(double value);
    // (high + low) · 2^exponent, high and low as a normalised pair gives them: for constants.
    static constexpr WideReal FromParts(double high, double low, int exponent)
    {
        WideReal number;
        number.m_high = high;
        number.m_low = low;
        number.m_exponent = exponent;
        return number;
    }

    bool IsZero() const { return m_high == 0; }
    bool IsPositive() const { return m_high > 0; }
    bool IsNegative() const { return m_high < 0; }

    // The nearest double (ties to even), subnormal numbers included; nothing beyond the range
    // of a double. A zero keeps its sign.
    std::optional<double> ToDouble() const;

    WideReal operator-() const;
    friend WideReal operator+(const WideReal& a, const WideReal& b);
    friend WideReal operator-(const WideReal& a, const WideReal& b) { return a + -b; }
    friend WideReal operator*(const WideReal& a, const WideReal& b);
    // `b` must not be zero.
    friend WideReal operator/(const WideReal& a, const WideReal& b);
    friend bool operator<(const WideReal& a, const WideReal& b);

    // `x` must not be negative; the square root of a zero is that zero.
    friend WideReal Sqrt(const WideReal& x);
    // 10^x.
    friend WideReal Exp10(const WideReal& x);
    // The base-10 logarithm; `x` must be positive.
    friend WideReal Log10(const WideReal& x);

private:
    // A zero, or 1 ≤ |m_high| < 2 with m_high the double nearest to m_high + m_low.
    double m_high = 0;
    double m_low = 0;
    int m_exponent = 0;
};

// Declared again so that a double argument finds them too.
WideReal Sqrt(const WideReal& x);
WideReal Exp10(const WideReal& x);
WideReal Log10(const WideReal& x);

} // namespace tarvane
