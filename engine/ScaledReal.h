#pragma once

#include "WideReal.h"

#include <optional>
#include <string_view>

namespace tarvane {

// A number as decimal text writes it: a WideReal times a power of ten. Read from text, the
// WideReal is the whole number its digits spell (exact up to 19 digits, within 2^-104 beyond,
// at most 40 digits taken), without trailing zeros: a logarithm then takes the power of ten
// exactly (1 mW is exactly -30 dBW), and every digit given counts, however many a double
// would drop and however small the number.
class ScaledReal {
public:
    ScaledReal() = default;
    explicit ScaledReal(const WideReal& mantissa, long long powerOfTen = 0)
        : m_mantissa(mantissa)
        , m_powerOfTen(powerOfTen)
    {
    }
    // The number that digits and an exponent write: integerDigits.fractionDigits · 10^exponent.
    static ScaledReal FromDigits(bool negative, std::string_view integerDigits,
                                 std::string_view fractionDigits, long long exponent);
    // The number a double stands for, as the text it was read from wrote it: the decimal of
    // fewest digits that reads as it. A subnormal double, which holds fewer digits than any
    // text it was read from, stands for itself, exactly.
    static ScaledReal Of(double value);

    const WideReal& Mantissa() const { return m_mantissa; }
    long long PowerOfTen() const { return m_powerOfTen; }
    // Mantissa · 10^PowerOfTen, within 2^-102.
    WideReal Value() const;
    // The nearest double; nothing beyond the range of a double.
    std::optional<double> ToDouble() const;

    bool IsZero() const { return m_mantissa.IsZero(); }
    bool IsNegative() const { return m_mantissa.IsNegative(); }
    ScaledReal operator-() const { return ScaledReal(-m_mantissa, m_powerOfTen); }

private:
    WideReal m_mantissa;
    long long m_powerOfTen = 0;
};

} // namespace tarvane
