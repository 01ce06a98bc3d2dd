#pragma once

#include "ScaledReal.h"

#include <optional>
#include <string_view>

namespace tarvane {

// The number a text starts with, as it is written: optional blanks, an optional sign, digits
// with at most one decimal separator, "." or "," (at least one digit or the separator), an
// optional exponent. Its value is read once the power of ten that scales it is known (the SI
// prefix of a unit after it, say), so that the scaled number is rounded only once.
class TWrittenNumber {
public:
    // The number at the start of `text`, or nothing when the text does not start with one.
    static std::optional<TWrittenNumber> Split(std::string_view text);

    // The number as written, from its first digit or separator to the end of its exponent.
    std::string_view Written() const { return m_unsignedNumber; }
    // What follows the number, without the blanks after it.
    std::string_view Rest() const { return m_rest; }
    // The number times 10^powerOfTen, or nothing beyond the range of a double; a number too
    // small for it reads as zero.
    std::optional<double> Value(int powerOfTen = 0) const;
    // The number times 10^powerOfTen with every digit kept, however small; nothing beyond the
    // range of a double.
    std::optional<ScaledReal> Exact(int powerOfTen = 0) const;
    // Written with a sign before it; with an exponent after it.
    bool IsSigned() const { return m_signed; }
    bool HasExponent() const { return m_hasExponent; }
    // How many decimals show every written digit of the number times 10^powerOfTen.
    int Decimals(int powerOfTen = 0) const;

private:
    // The power of ten of a non-zero number's first significant digit.
    long long DecimalOrder() const;

    bool m_negative = false;
    bool m_signed = false;
    bool m_hasExponent = false;
    std::string_view m_integerDigits;
    std::string_view m_fractionDigits;
    long long m_exponent = 0;          // saturated far beyond the range of a double
    std::string_view m_unsignedNumber; // from the first digit or separator to the exponent's end
    std::string_view m_rest;
};

} // namespace tarvane
