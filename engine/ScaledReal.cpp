#include "ScaledReal.h"

#include "DoubleRounding.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace tarvane {

namespace {

// Digits beyond these change a number by less than 10^-39 of it, far below what a WideReal
// holds.
constexpr std::size_t MostDigits = 40;
// The digits a whole number of 64 bits always holds.
constexpr std::size_t ChunkDigits = 19;

// Exactly.
WideReal WholeNumber(std::uint64_t n)
{
    const double high = static_cast<double>(n);
    const auto rounded = static_cast<std::uint64_t>(high); // below 2^64: n < 10^19
    const double low =
        n >= rounded ? static_cast<double>(n - rounded) : -static_cast<double>(rounded - n);
    return WideReal(high) + WideReal(low);
}

} // namespace

ScaledReal ScaledReal::FromDigits(bool negative, std::string_view integerDigits,
                                  std::string_view fractionDigits, long long exponent)
{
    const DoubleRounding rounding;
    std::string digits;
    digits.reserve(std::min(integerDigits.size() + fractionDigits.size(), MostDigits));
    long long powerOfTen = exponent - static_cast<long long>(fractionDigits.size());
    for (const std::string_view part : {integerDigits, fractionDigits}) {
        for (const char digit : part) {
            if (digits.size() == MostDigits) {
                ++powerOfTen; // a digit left out
            } else if (!digits.empty() || digit != '0') {
                digits += digit;
            }
        }
    }
    while (!digits.empty() && digits.back() == '0') {
        digits.pop_back();
        ++powerOfTen;
    }
    if (digits.empty()) {
        return ScaledReal(WideReal(negative ? -0.0 : 0.0));
    }
    WideReal mantissa;
    for (std::size_t start = 0; start < digits.size(); start += ChunkDigits) {
        const std::string_view chunk = std::string_view(digits).substr(start, ChunkDigits);
        std::uint64_t n = 0;
        for (const char digit : chunk) {
            n = n * 10 + static_cast<std::uint64_t>(digit - '0');
        }
        mantissa = start == 0 ? WholeNumber(n)
                              : mantissa * tarvane::PowerOfTen(static_cast<long long>(chunk.size()))
                + WholeNumber(n);
    }
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

WideReal ScaledReal::Value() const
{
    if (m_powerOfTen == 0 || m_mantissa.IsZero()) {
        return m_mantissa;
    }
    return m_mantissa * tarvane::PowerOfTen(m_powerOfTen);
}

} // namespace tarvane
