#include "NumberForms.h"

#include "DoubleRounding.h"
#include "ErrorFreeArithmetic.h"
#include "WrittenNumber.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace tarvane {

namespace {

constexpr int GeneralDigits = 15;
constexpr int ShortGeneralDigits = 4;
constexpr int ExactDigits = 17; // enough for any double to read back as itself
constexpr int MaxDecimals = 18;

// The significant digits and the power of ten of the largest double.
constexpr std::string_view LargestDoubleDigits = "17976931348623157";
constexpr int LargestDoubleExponent = 308;

// A magnitude rounded to a few significant digits: the digits without a point, and the
// power of ten of the first one.
struct Decimal {
    std::array<char, ExactDigits + 1> digits{}; // one more for a carry out of the first
    int count = 0;
    int exponent = 0;

    // The digit standing for 10^power, '0' outside the digits held.
    char DigitOfPower(int power) const
    {
        const int index = exponent - power;
        return index >= 0 && index < count ? digits[index] : '0';
    }
    bool IsZero() const
    {
        return std::all_of(digits.begin(), digits.begin() + count, [](char c) { return c == '0'; });
    }
    std::string_view Digits() const { return {digits.data(), std::size_t(count)}; }
};

// Rounding the largest doubles to nearest would leave the double range, so that the text
// could never be read back: they round toward zero in their last digit instead.
void KeepWithinDoubleRange(Decimal& decimal)
{
    const std::string_view largest = LargestDoubleDigits.substr(0, decimal.count);
    if (decimal.exponent == LargestDoubleExponent && decimal.Digits() > largest) {
        std::copy(largest.begin(), largest.end(), decimal.digits.begin());
    }
}

// 10^n, 0 ≤ n ≤ 22: every one a double exactly.
constexpr std::array<double, 23> ExactPowersOfTen = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The digits of a positive normal magnitude rounded to `count` ≤ 15 significant digits, to
// nearest with ties to even as to_chars rounds, from its exact product by a power of ten, or
// its quotient by one and the exact remainder: nothing where that power is no double (the
// magnitude below 1e-8 or from 1e37 up).
std::optional<Decimal> SignificantOfScaled(double magnitude, int count)
{
    using namespace errorfree;
    const int binaryExponent =
        static_cast<int>((std::bit_cast<std::uint64_t>(magnitude) >> 52) & 0x7FF) - 1023;
    if (binaryExponent == -1023 || binaryExponent == 1024) {
        return std::nullopt;
    }
    const DoubleRounding rounding;
    const double limit = ExactPowersOfTen[static_cast<std::size_t>(count)];
    // The power of ten of the first digit, or one less.
    auto exponent = static_cast<int>(std::floor(binaryExponent * 0.30102999566398120));
    for (int attempt = 0; attempt < 2; ++attempt, ++exponent) {
        // v = magnitude · 10^n, as `scaled` and the sign of what it leaves, below half its
        // last unit; from 10^count on, the first digit lies higher.
        const int n = count - 1 - exponent;
        if (n > 22 || n < -22) {
            return std::nullopt;
        }
        double scaled = 0;
        double left = 0;
        if (n >= 0) {
            const Pair product = TwoProduct(magnitude, ExactPowersOfTen[static_cast<std::size_t>(n)]);
            scaled = product.high;
            left = product.low;
        } else {
            const double power = ExactPowersOfTen[static_cast<std::size_t>(-n)];
            scaled = magnitude / power;
            const Pair back = TwoProduct(scaled, power);
            left = (magnitude - back.high) - back.low; // exact
        }
        if (scaled > limit || (scaled == limit && left >= 0)) {
            continue;
        }
        // Within half a unit of the nearest integer but at a half exactly, what is left tips it.
        double whole = NearestInteger(scaled);
        const double half = scaled - whole;
        if (half == 0.5 && left > 0) {
            whole += 1;
        } else if (half == -0.5 && left < 0) {
            whole -= 1;
        }
        Decimal result;
        result.exponent = exponent;
        if (whole == limit) {
            whole /= 10;
            ++result.exponent;
        }
        result.count = count;
        auto digits = static_cast<std::uint64_t>(whole);
        for (int i = count - 1; i >= 0; --i, digits /= 10) {
            result.digits[static_cast<std::size_t>(i)] = static_cast<char>('0' + digits % 10);
        }
        return result;
    }
    return std::nullopt;
}

Decimal Significant(double magnitude, int count)
{
    if (count <= GeneralDigits) {
        if (const std::optional<Decimal> decimal = SignificantOfScaled(magnitude, count)) {
            return *decimal;
        }
    }
    // to_chars ignores the C library's locale, unlike printf.
    char buffer[32];
    char* const end = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                    std::chars_format::scientific, count - 1)
                          .ptr;
    const char* const e = std::find(buffer, end, 'e');
    Decimal result;
    for (const char* p = buffer; p != e; ++p) {
        if (*p != '.') {
            result.digits[result.count++] = *p;
        }
    }
    std::from_chars(e[1] == '+' ? e + 2 : e + 1, end, result.exponent);
    KeepWithinDoubleRange(result);
    return result;
}

// Rounds half away from zero to the given number of decimals.
void RoundToDecimals(Decimal& decimal, int decimals)
{
    const int kept = decimal.exponent + 1 + decimals;
    if (kept < 0) {
        decimal.count = 0; // below half the last decimal: rounds to zero
        return;
    }
    if (kept >= decimal.count) {
        return;
    }
    const bool roundUp = decimal.digits[kept] >= '5';
    decimal.count = kept;
    if (!roundUp) {
        return;
    }
    int i = kept - 1;
    while (i >= 0 && decimal.digits[i] == '9') {
        decimal.digits[i--] = '0';
    }
    if (i >= 0) {
        ++decimal.digits[i];
        return;
    }
    std::copy_backward(decimal.digits.begin(), decimal.digits.begin() + decimal.count,
                       decimal.digits.begin() + decimal.count + 1);
    decimal.digits[0] = '1';
    ++decimal.count;
    ++decimal.exponent;
}

char* WriteNonFinite(char* out, double value)
{
    if (std::signbit(value)) {
        *out++ = '-';
    }
    const std::string_view word = std::isnan(value) ? "NAN" : "INF";
    return std::copy(word.begin(), word.end(), out);
}

// The integer digits, at least "0".
char* WriteIntegerPart(char* out, const Decimal& decimal)
{
    for (int power = std::max(decimal.exponent, 0); power >= 0; --power) {
        *out++ = decimal.DigitOfPower(power);
    }
    return out;
}

// The separator and the digits from 10^-1 down to 10^lastPower.
char* WriteFraction(char* out, const Decimal& decimal, int lastPower)
{
    *out++ = '.';
    for (int power = -1; power >= lastPower; --power) {
        *out++ = decimal.DigitOfPower(power);
    }
    return out;
}

// The digits significant digits in plain notation while the integer part needs at most
// integerDigits of them and the magnitude is 0.0001 or more, else in scientific notation.
char* WriteGeneral(char* out, double value, int digits, int integerDigits)
{
    if (value == 0.0) {
        *out++ = '0';
        return out;
    }
    Decimal decimal = Significant(std::fabs(value), digits);
    while (decimal.count > 1 && decimal.digits[decimal.count - 1] == '0') {
        --decimal.count;
    }
    if (std::signbit(value)) {
        *out++ = '-';
    }
    const int e = decimal.exponent;
    if (e >= integerDigits || e < -4) {
        *out++ = decimal.digits[0];
        if (decimal.count > 1) {
            *out++ = '.';
            out =
                std::copy(decimal.digits.begin() + 1, decimal.digits.begin() + decimal.count, out);
        }
        *out++ = 'E';
        return std::to_chars(out, out + 4, e).ptr;
    }
    out = WriteIntegerPart(out, decimal);
    const int lastPower = e - decimal.count + 1;
    return lastPower < 0 ? WriteFraction(out, decimal, lastPower) : out;
}

// Rounds to 15 significant digits first and then, half away from zero, to the decimals:
// the number a user typed as 1.005 shows 1.01 with two decimals, as typed.
char* WriteFixed(char* out, double value, int decimals)
{
    Decimal decimal = Significant(std::fabs(value), GeneralDigits);
    if (decimal.exponent >= GeneralDigits) {
        return WriteGeneral(out, value, GeneralDigits,
                            GeneralDigits); // more than 15 integer digits
    }
    RoundToDecimals(decimal, decimals);
    // A zero rounded away from a tiny negative number shows no sign.
    if (std::signbit(value) && !decimal.IsZero()) {
        *out++ = '-';
    }
    return WriteFraction(WriteIntegerPart(out, decimal), decimal, -decimals);
}

} // namespace

char* FormatNumber(char* first, double value, int precision)
{
    if (!std::isfinite(value)) {
        return WriteNonFinite(first, value);
    }
    if (precision < 0) {
        return WriteGeneral(first, value, ShortGeneralDigits, ShortGeneralDigits);
    }
    if (precision == 0) {
        return WriteGeneral(first, value, GeneralDigits, GeneralDigits);
    }
    return WriteFixed(first, value, std::min(precision, MaxDecimals));
}

char* FormatNumber(char* first, double value, int precision, int digits)
{
    if (precision <= 0 || value == 0 || !std::isfinite(value)) {
        return FormatNumber(first, value, precision);
    }
    const int exponent = Significant(std::fabs(value), digits).exponent;
    const int decimals = std::max(precision, digits - 1 - exponent);
    if (decimals <= MaxShownDecimals) {
        return WriteFixed(first, value, decimals);
    }
    return WriteGeneral(first, value, digits, GeneralDigits);
}

std::string NumberToString(double value, int precision)
{
    char buffer[MaxNumberTextLength];
    return std::string(buffer, FormatNumber(buffer, value, precision));
}

char* FormatExactNumber(char* first, double value)
{
    if (!std::isfinite(value)) {
        return WriteNonFinite(first, value);
    }
    for (int digits = GeneralDigits;; ++digits) {
        char* const end = WriteGeneral(first, value, digits, GeneralDigits);
        if (digits == ExactDigits
            || ReadNumber(std::string_view(first, std::size_t(end - first))) == value) {
            return end;
        }
    }
}

std::string ExactNumberToString(double value)
{
    char buffer[MaxNumberTextLength];
    return std::string(buffer, FormatExactNumber(buffer, value));
}

namespace {

// The number a text is, blanks around it aside.
std::optional<TWrittenNumber> NumberAlone(std::string_view text)
{
    std::optional<TWrittenNumber> number = TWrittenNumber::Split(text);
    return number && number->Rest().empty() ? number : std::nullopt;
}

} // namespace

std::optional<double> ReadNumber(std::string_view text, int powerOfTen)
{
    const std::optional<TWrittenNumber> number = NumberAlone(text);
    return number ? number->Value(powerOfTen) : std::nullopt;
}

std::optional<ScaledReal> ReadExactNumber(std::string_view text, int powerOfTen)
{
    const std::optional<TWrittenNumber> number = NumberAlone(text);
    return number ? number->Exact(powerOfTen) : std::nullopt;
}

} // namespace tarvane
