#pragma once

#include <optional>

namespace tarvane {

class WideReal;

// A base-10 logarithm as a whole number and the rest, which a sum of logarithms adds apart:
// whole numbers that cancel leave no trace in the rest, however small it is.
struct DecimalLogarithm;
struct DecibelTerms;

// A real number for the conversion formulas: about 106 significant bits, held as an
// unevaluated sum of two doubles, and a binary exponent of its own, so that no intermediate
// result of a formula overflows or underflows; only the final rounding to a double meets the
// limits of its range. Everything is computed with the four operations and the square root of
// doubles, which IEEE 754 rounds alike on every processor, never with the C library's
// logarithms and exponentials, which differ between processors in their last bits: a formula
// gives the same double everywhere. On the x87 unit of 32-bit x86 that holds only within a
// DoubleRounding.
//
// What cannot be computed is a value, never a fault: a result beyond the binary exponent's
// range (2^±MaxOrder) is an infinity, or a zero below it; an undefined one (the logarithm or
// the square root of a negative number, 0/0, 0·∞, ∞ - ∞) is not a number. They carry on
// through the operations as IEEE 754 says, and none of them raises a floating-point flag.
//
// Accuracy, as tests/engine/tst_Accuracy.cpp checks it against MPFR at 200 bits: sums,
// products and quotients within a few units of 2^-106 relative; Sqrt within 2^-103, PowerOfTen
// within 2^-100 (exactly while 0 ≤ n < 32), Log10 and Log10OnePlus within 2^-97 (Log10
// exactly k at 10^k for 0 ≤ k < 32), Exp10(x) within 2^-98 · (1 + |x|), the error of
// x · log2(10) held in two doubles.
class WideReal {
public:
    // Results beyond 2^MaxOrder are infinite, below 2^-MaxOrder zero.
    static constexpr int MaxOrder = 1 << 26;

    constexpr WideReal() = default;
    // Exactly `value`, an infinity or a not-a-number included.
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
    static WideReal Infinity(bool negative = false);
    static WideReal NotANumber();

    // The parts FromParts takes; an infinity or a not-a-number is its high part alone.
    struct Parts {
        double high = 0;
        double low = 0;
        int exponent = 0;
    };
    Parts ToParts() const { return {m_high, m_low, m_exponent}; }

    bool IsZero() const { return m_high == 0; }
    // Neither zero, nor infinite, nor a not-a-number.
    bool IsOrdinary() const;
    bool IsNaN() const;
    bool IsInfinite() const;
    // The sign, a zero's and an infinity's included; false for a not-a-number.
    bool IsPositive() const;
    bool IsNegative() const;

    // The nearest double (ties to even), subnormal numbers included; nothing beyond the range
    // of a double, nor for a not-a-number. A zero keeps its sign.
    std::optional<double> ToDouble() const;

    WideReal operator-() const;
    friend WideReal operator+(const WideReal& a, const WideReal& b);
    friend WideReal operator-(const WideReal& a, const WideReal& b) { return a + -b; }
    friend WideReal operator*(const WideReal& a, const WideReal& b);
    friend WideReal operator/(const WideReal& a, const WideReal& b);
    // False whenever either is a not-a-number.
    friend bool operator<(const WideReal& a, const WideReal& b);
    // The same number (a not-a-number equals none).
    friend bool operator==(const WideReal& a, const WideReal& b);

    // The square root of a zero is that zero.
    friend WideReal Sqrt(const WideReal& x);
    // 10^x.
    friend WideReal Exp10(const WideReal& x);
    // The base-10 logarithm: -∞ at zero.
    friend WideReal Log10(const WideReal& x);
    // log10(1 + t), to the last bits of t however small it is.
    friend WideReal Log10OnePlus(const WideReal& t);
    // log10(a / b) for positive a and b, 1 / b given: a / b is taken as 10^k · (1 + t), t formed
    // from a - b · 10^k, which is exact where a and b are whole numbers that two doubles hold.
    // The logarithm is then exactly k where a / b is 10^k, and close to a power of ten it keeps
    // the last bits of its own.
    friend DecimalLogarithm Log10OfQuotient(const WideReal& a, const WideReal& b,
                                            const WideReal& inverseOfB);
    // perDecade · log10(a / b · 10^powerOfTen) + whole + rest of the terms, a / b taken as
    // Log10OfQuotient takes it, and the whole numbers summed before the rest, so that they
    // cancel exactly.
    friend WideReal DecibelsOfQuotient(const WideReal& a, const WideReal& b,
                                       const WideReal& inverseOfB, const DecibelTerms& terms);
    // 10^n, exactly while it is a whole number that two doubles hold (0 ≤ n < 32).
    friend WideReal PowerOfTen(long long n);

private:
    // A zero, an infinity, a not-a-number (each with low part and exponent 0), or
    // 1 ≤ |m_high| < 2 with m_high the double nearest to m_high + m_low.
    double m_high = 0;
    double m_low = 0;
    int m_exponent = 0;
};

// Declared again so that a double argument finds them too.
WideReal Sqrt(const WideReal& x);
WideReal Exp10(const WideReal& x);
WideReal Log10(const WideReal& x);
WideReal Log10OnePlus(const WideReal& t);
WideReal PowerOfTen(long long n);

// 1/10 and 1/20: a product by one stands for a division, in a third of its time.
extern const WideReal OneTenth;
extern const WideReal OneTwentieth;

struct DecimalLogarithm {
    long long whole = 0;
    WideReal rest;
};

DecimalLogarithm Log10OfQuotient(const WideReal& a, const WideReal& b, const WideReal& inverseOfB);

// A level in dB from a logarithm: dB a decade (10 for a power, 20 for a voltage), a power of
// ten to add to the logarithm, and a whole number of dB and the rest to add to the level.
struct DecibelTerms {
    double perDecade = 10;
    long long powerOfTen = 0;
    double whole = 0;
    WideReal rest;
};

WideReal DecibelsOfQuotient(const WideReal& a, const WideReal& b, const WideReal& inverseOfB,
                            const DecibelTerms& terms);

// The double nearest to perDecade · log10(m · 10^powerOfTen) + whole + rest of the terms, for
// a positive double m, where an evaluation in plain doubles (within 2^-58 · (1 + |result|))
// leaves no doubt which double that is; nothing otherwise, nor beyond ±2^30 dB.
std::optional<double> RoundedDecibelsOf(double m, const DecibelTerms& terms);

} // namespace tarvane
