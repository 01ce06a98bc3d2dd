#include "ExactFactor.h"

namespace tarvane {

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
    return decibels.IsZero() ? scaled : scaled * Exp10(decibels * OneTenth);
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

} // namespace tarvane
