#include "ExactFactor.h"

#include <cmath>

namespace tarvane {

namespace {

constexpr double Log10Of2 = 0.30102999566398120;

} // namespace

ExactFactor ExactFactor::Of(const ScaledReal& number)
{
    return {number.Mantissa(), 1, number.PowerOfTen(), 0};
}

ExactFactor ExactFactor::Decibels(const WideReal& decibels)
{
    return {1, 1, 0, decibels};
}

ExactFactor operator*(const ExactFactor& a, const ExactFactor& b)
{
    return {a.numerator * b.numerator, a.denominator * b.denominator, a.powerOfTen + b.powerOfTen,
            a.decibels + b.decibels};
}

ExactFactor operator/(const ExactFactor& a, const ExactFactor& b)
{
    return {a.numerator * b.denominator, a.denominator * b.numerator, a.powerOfTen - b.powerOfTen,
            a.decibels - b.decibels};
}

WideReal ExactFactor::Value() const
{
    const WideReal scaled = Ratio() * PowerOfTen(powerOfTen);
    return decibels.IsZero() ? scaled : scaled * Exp10(decibels / WideReal(10));
}

DecimalLogarithm ExactFactor::Log10() const
{
    DecimalLogarithm log = Log10OfQuotient(numerator, denominator, WideReal(1) / denominator);
    log.whole += powerOfTen;
    return log;
}

WideReal ExactFactor::InDecibels() const
{
    const DecimalLogarithm log = Log10();
    return WideReal(10 * static_cast<double>(log.whole)) + (WideReal(10) * log.rest + decibels);
}

DecimalLogarithm Log10OfQuotient(const WideReal& a, const WideReal& b, const WideReal& inverseOfB)
{
    // k, the power of ten nearest a / b but where a / b is near the geometric middle of two,
    // from their binary orders and a straight line through log10 of the quotient of their
    // leading parts; then whichever is scaled by 10^|k| stays exact while it is a whole number
    // that two doubles hold.
    const WideReal::Parts aParts = a.ToParts();
    const WideReal::Parts bParts = b.ToParts();
    const long long k = std::llround((aParts.exponent - bParts.exponent) * Log10Of2
                                     + (aParts.high / bParts.high - 1) * 0.4);
    const WideReal scaledA = k < 0 ? a * PowerOfTen(-k) : a;
    const WideReal scaledB = k > 0 ? b * PowerOfTen(k) : b;
    const WideReal difference = scaledA - scaledB;
    const WideReal t =
        difference.IsZero() ? difference : difference * (k > 0 ? inverseOfB * PowerOfTen(-k) : inverseOfB);
    return {k, Log10OnePlus(t)};
}

} // namespace tarvane
