#include "ScaledReal.h"

#include "DoubleRounding.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace tarvane {

namespace {

// Digits beyond these change a number by less than 10^-39 of it, far below what a WideReal
// holds.
constexpr std::size_t MostDigits = 40;
// The digits a whole number of 64 bits always holds.
constexpr std::size_t ChunkDigits = 19;

// Exactly: its bits from the 54th down apart, each part a double exactly, so that no
// conversion rounds (the x87 unit would convert the whole 64 bits first and round later).
WideReal WholeNumber(std::uint64_t n)
{
    constexpr std::uint64_t LowBits = (std::uint64_t{1} << 11) - 1;
    if (n < (std::uint64_t{1} << 53)) {
        return WideReal(static_cast<double>(n));
    }
    return WideReal(static_cast<double>(n & ~LowBits)) + WideReal(static_cast<double>(n & LowBits));
}

// FromDigits for more than 19 digits: the first MostDigits significant ones, 19 at a time, the
// power of ten being that of the last fraction digit.
ScaledReal ManyDigits(bool negative, std::string_view integerDigits,
                      std::string_view fractionDigits, long long powerOfTen)
{
    std::array<char, MostDigits> digits;
    std::size_t count = 0;
    for (const std::string_view part : {integerDigits, fractionDigits}) {
        for (const char digit : part) {
            if (count == MostDigits) {
                ++powerOfTen; // a digit left out
            } else if (count > 0 || digit != '0') {
                digits[count++] = digit;
            }
        }
    }
    while (count > 0 && digits[count - 1] == '0') {
        --count;
        ++powerOfTen;
    }
    if (count == 0) {
        return ScaledReal(WideReal(negative ? -0.0 : 0.0));
    }
    WideReal mantissa;
    for (std::size_t start = 0; start < count; start += ChunkDigits) {
        const std::size_t end = std::min(count, start + ChunkDigits);
        std::uint64_t n = 0;
        for (std::size_t i = start; i < end; ++i) {
            n = n * 10 + static_cast<std::uint64_t>(digits[i] - '0');
        }
        mantissa = start == 0
            ? WholeNumber(n)
            : mantissa * PowerOfTen(static_cast<long long>(end - start)) + WholeNumber(n);
    }
    return ScaledReal(negative ? -mantissa : mantissa, powerOfTen);
}

} // namespace

ScaledReal ScaledReal::FromDigits(bool negative, std::string_view integerDigits,
                                  std::string_view fractionDigits, long long exponent)
{
    const DoubleRounding rounding;
    long long powerOfTen = exponent - static_cast<long long>(fractionDigits.size());
    if (integerDigits.size() + fractionDigits.size() > ChunkDigits) {
        return ManyDigits(negative, integerDigits, fractionDigits, powerOfTen);
    }
    // Up to 19 digits: a whole number, without the zeros it ends with.
    std::uint64_t whole = 0;
    for (const std::string_view part : {integerDigits, fractionDigits}) {
        for (const char digit : part) {
            whole = whole * 10 + static_cast<std::uint64_t>(digit - '0');
        }
    }
    if (whole == 0) {
        return ScaledReal(WideReal(negative ? -0.0 : 0.0));
    }
    for (; whole % 10 == 0; whole /= 10) {
        ++powerOfTen;
    }
    const WideReal mantissa = WholeNumber(whole);
    return ScaledReal(negative ? -mantissa : mantissa, powerOfTen);
}

ScaledReal ScaledReal::Of(double value)
{
    if (!(std::fabs(value) >= std::numeric_limits<double>::min())) {
        return ScaledReal(WideReal(value)); // a zero, a subnormal number, or not finite
    }
    // The shortest digits that read back as the value: "d.ddde±x".
    char text[32];
    const char* const end =
        std::to_chars(text, text + sizeof text, std::fabs(value), std::chars_format::scientific)
            .ptr;
    const std::string_view written(text, static_cast<std::size_t>(end - text));
    const std::size_t e = written.find('e');
    const std::string_view mantissa = written.substr(0, e);
    const std::size_t point = mantissa.find('.');
    int exponent = 0;
    const char* const exponentStart = text + e + (written[e + 1] == '+' ? 2 : 1);
    std::from_chars(exponentStart, end, exponent);
    return FromDigits(std::signbit(value), mantissa.substr(0, point),
                      point == std::string_view::npos ? std::string_view()
                                                      : mantissa.substr(point + 1),
                      exponent);
}

std::optional<double> ScaledReal::ToDouble() const
{
    // A whole number and a power of ten that doubles hold exactly: one operation rounds.
    static constexpr std::array<double, 23> Powers = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                               1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                               1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const WideReal::Parts parts = m_mantissa.ToParts();
    if (m_mantissa.IsOrdinary() && parts.low == 0 && parts.exponent < 53
        && m_powerOfTen > -static_cast<long long>(Powers.size())
        && m_powerOfTen < static_cast<long long>(Powers.size())) {
        const DoubleRounding rounding;
        const double whole = *m_mantissa.ToDouble();
        const double power = Powers[static_cast<std::size_t>(std::llabs(m_powerOfTen))];
        return m_powerOfTen < 0 ? whole / power : whole * power;
    }
    return Value().ToDouble();
}

WideReal ScaledReal::Value() const
{
    if (m_powerOfTen == 0 || m_mantissa.IsZero()) {
        return m_mantissa;
    }
    return m_mantissa * tarvane::PowerOfTen(m_powerOfTen);
}

} // namespace tarvane
