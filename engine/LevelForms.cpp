#include "LevelForms.h"

#include "DoubleRounding.h"
#include "Units.h"
#include "WideReal.h"

#include <algorithm>
#include <cmath>

namespace tarvane {

namespace {

// The first point of an S-meter's scale.
constexpr double FirstPoint = 1;

char* WriteNumber(char* out, double value, int precision, int digits)
{
    return digits > 0 ? FormatNumber(out, value, precision, digits)
                      : FormatNumber(out, value, precision);
}

// Writes "S", then the point `point` and `sign` when the dB `decibels` beyond it show as
// more than 0; false, writing nothing, when they do not.
bool WriteBeyondScale(char*& out, double point, char sign, double decibels, int precision,
                      int digits)
{
    char text[MaxNumberTextLength];
    const char* const begin = text;
    const char* const end = WriteNumber(text, decibels, precision, digits);
    if (std::none_of(begin, end, [](char c) { return c >= '1' && c <= '9'; })) {
        return false;
    }
    *out++ = 'S';
    out = FormatNumber(out, point, 0);
    *out++ = sign;
    out = std::copy(begin, end, out);
    return true;
}

char* WriteSMeterReading(char* out, double points, const Unit& unit, int precision, int digits)
{
    const double top = unit.stepAtReference;
    if (points > top || points < FirstPoint) {
        const DoubleRounding rounding;
        const bool above = points > top;
        const WideReal beyond =
            above ? WideReal(points) - WideReal(top) : WideReal(FirstPoint) - WideReal(points);
        const std::optional<double> decibels = (beyond * WideReal(unit.decibelsPerStep)).ToDouble();
        // Beyond what a reading writes, the points alone.
        if (!decibels) {
            return WriteNumber(out, points, precision, digits);
        }
        if (WriteBeyondScale(out, above ? top : FirstPoint, above ? '+' : '-', *decibels,
                             precision, digits)) {
            return out;
        }
    }
    *out++ = 'S';
    return WriteNumber(out, points, precision, digits);
}

} // namespace

char* FormatValueIn(char* first, double value, int unit, int precision, int digits)
{
    const Unit& entry = UnitCatalogue[unit];
    if (entry.notation == UnitNotation::SMeter && std::isfinite(value)) {
        return WriteSMeterReading(first, value, entry, precision, digits);
    }
    return WriteNumber(first, value, precision, digits);
}

std::string ValueToString(double value, int unit, int precision, int digits)
{
    char buffer[MaxValueTextLength];
    return std::string(buffer, FormatValueIn(buffer, value, unit, precision, digits));
}

} // namespace tarvane
