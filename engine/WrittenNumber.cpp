#include "WrittenNumber.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <string>

namespace tarvane {

namespace {

// Exponents saturate here, far beyond the range of a double and of any scaling.
constexpr long long FarExponent = 1'000'000'000;

bool IsBlank(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsSeparator(char c)
{
    return c == '.' || c == ',';
}

bool AllZeros(std::string_view digits)
{
    return std::all_of(digits.begin(), digits.end(), [](char c) { return c == '0'; });
}

} // namespace

std::optional<TWrittenNumber> TWrittenNumber::Split(std::string_view text)
{
    const std::size_t n = text.size();
    std::size_t i = 0;
    const auto takeDigits = [&] {
        const std::size_t start = i;
        while (i < n && IsDigit(text[i])) {
            ++i;
        }
        return text.substr(start, i - start);
    };

    TWrittenNumber number;
    while (i < n && IsBlank(text[i])) {
        ++i;
    }
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        number.m_signed = true;
        number.m_negative = text[i++] == '-';
    }
    const std::size_t numberStart = i;
    number.m_integerDigits = takeDigits();
    bool hasSeparator = false;
    if (i < n && IsSeparator(text[i])) {
        hasSeparator = true;
        ++i;
        number.m_fractionDigits = takeDigits();
    }
    if (number.m_integerDigits.empty() && number.m_fractionDigits.empty() && !hasSeparator) {
        return std::nullopt;
    }
    // An "e" without digits after it is no exponent: the number ends before it.
    const std::size_t beforeExponent = i;
    if (i < n && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        bool negativeExponent = false;
        if (i < n && (text[i] == '+' || text[i] == '-')) {
            negativeExponent = text[i++] == '-';
        }
        const std::string_view exponentDigits = takeDigits();
        for (const char c : exponentDigits) {
            number.m_exponent = std::min(FarExponent, number.m_exponent * 10 + (c - '0'));
        }
        number.m_exponent = negativeExponent ? -number.m_exponent : number.m_exponent;
        if (exponentDigits.empty()) {
            i = beforeExponent;
        } else {
            number.m_hasExponent = true;
        }
    }
    number.m_unsignedNumber = text.substr(numberStart, i - numberStart);
    while (i < n && IsBlank(text[i])) {
        ++i;
    }
    number.m_rest = text.substr(i);
    return number;
}

long long TWrittenNumber::DecimalOrder() const
{
    const std::size_t integerStart = m_integerDigits.find_first_not_of('0');
    if (integerStart != std::string_view::npos) {
        return m_exponent + static_cast<long long>(m_integerDigits.size() - integerStart - 1);
    }
    return m_exponent - static_cast<long long>(m_fractionDigits.find_first_not_of('0') + 1);
}

std::optional<double> TWrittenNumber::Value(int powerOfTen) const
{
    const double zero = m_negative ? -0.0 : 0.0;
    if (AllZeros(m_integerDigits) && AllZeros(m_fractionDigits)) {
        return zero; // also a lone separator
    }
    // from_chars reads only the point as separator, and the scale joins the exponent: then
    // the number is written out again, on the stack unless its digits are very many.
    std::string_view number = m_unsignedNumber;
    char shortText[64];
    std::string longText;
    if (powerOfTen != 0 || number.find(',') != std::string_view::npos) {
        const std::size_t size = m_integerDigits.size() + m_fractionDigits.size() + 24;
        char* const first =
            size <= sizeof shortText ? shortText : (longText.resize(size), longText.data());
        char* out = std::copy(m_integerDigits.begin(), m_integerDigits.end(), first);
        *out++ = '.';
        out = std::copy(m_fractionDigits.begin(), m_fractionDigits.end(), out);
        *out++ = 'e';
        out = std::to_chars(out, first + size, m_exponent + powerOfTen).ptr;
        number = std::string_view(first, static_cast<std::size_t>(out - first));
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error == std::errc::result_out_of_range) {
        if (DecimalOrder() + powerOfTen < 0) {
            return zero; // too small for a double: underflows to zero
        }
        return std::nullopt; // too large for a double
    }
    if (error != std::errc() || end != number.data() + number.size()) {
        return std::nullopt;
    }
    return m_negative ? -value : value;
}

std::optional<ScaledReal> TWrittenNumber::Exact(int powerOfTen) const
{
    const ScaledReal number =
        ScaledReal::FromDigits(m_negative, m_integerDigits, m_fractionDigits, m_exponent + powerOfTen);
    // The largest double is below 2 · 10^308: an order of 308 needs a closer look.
    if (number.IsZero() || DecimalOrder() + powerOfTen < 308) {
        return number;
    }
    if (DecimalOrder() + powerOfTen > 308 || !number.ToDouble()) {
        return std::nullopt;
    }
    return number;
}

int TWrittenNumber::Decimals(int powerOfTen) const
{
    const long long decimals =
        static_cast<long long>(m_fractionDigits.size()) - m_exponent - powerOfTen;
    return static_cast<int>(std::clamp<long long>(decimals, 0, std::numeric_limits<int>::max()));
}

} // namespace tarvane
