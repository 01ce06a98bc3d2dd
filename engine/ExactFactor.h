#pragma once

#include "ScaledReal.h"
#include "WideReal.h"

namespace tarvane {

// A positive constant of the formulas kept as the exact numbers it is made of:
// (numerator / denominator) · 10^powerOfTen · 10^(decibels / 10). Two units whose references
// are equal, or a whole power of ten apart, then divide to exactly 1, or to that power of ten,
// whatever digits a double would give them (0.6 V² is 600 Ω times 1 mW), so that a level at a
// reference point converts to exactly 0 dB.
struct ExactFactor {
    WideReal numerator = 1;
    WideReal denominator = 1;
    long long powerOfTen = 0;
    WideReal decibels = 0;

    // A number as its decimal digits write it (a double as ScaledReal::Of reads it).
    static ExactFactor Of(const ScaledReal& number);
    static ExactFactor Of(double number) { return Of(ScaledReal::Of(number)); }
    // 10^(decibels / 10).
    static ExactFactor Decibels(const WideReal& decibels);

    friend ExactFactor operator*(const ExactFactor& a, const ExactFactor& b);
    friend ExactFactor operator/(const ExactFactor& a, const ExactFactor& b);

    WideReal Ratio() const { return numerator / denominator; }
    // The factor as a number.
    WideReal Value() const;
    // log10 of the factor: exactly a whole number, or that plus decibels / 10, where the
    // ratio is a power of ten that two doubles hold.
    DecimalLogarithm Log10() const;
    // 10 · log10 of the factor.
    WideReal InDecibels() const;
};

} // namespace tarvane
