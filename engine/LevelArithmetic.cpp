#include "LevelArithmetic.h"

#include "DoubleRounding.h"
#include "Units.h"
#include "WideReal.h"

#include <algorithm>
#include <cmath>

namespace tarvane {

SumKind SumKindOf(int unit)
{
    switch (UnitCatalogue[unit].kind) {
    case UnitKind::VoltageLevel:
    case UnitKind::PowerLevel:
        return SumKind::Decibels;
    case UnitKind::Power:
        return SumKind::Watts;
    case UnitKind::Voltage:
    case UnitKind::Deviation:
        break;
    }
    return SumKind::None;
}

std::optional<double> WithGain(double value, int unit, double gain) noexcept
{
    const DoubleRounding rounding;
    const Unit& entry = UnitCatalogue[unit];
    switch (entry.kind) {
    case UnitKind::VoltageLevel:
    case UnitKind::PowerLevel:
        if (entry.decibelsPerStep == 1) {
            const double sum = value + gain; // rounded once, within the DoubleRounding
            return std::isfinite(sum) ? std::optional(sum) : std::nullopt;
        }
        return (WideReal(value) + WideReal(gain) / WideReal(entry.decibelsPerStep)).ToDouble();
    case UnitKind::Voltage:
    case UnitKind::Deviation:
        return (WideReal(value) * Exp10(WideReal(gain) / WideReal(20))).ToDouble();
    case UnitKind::Power:
        return (WideReal(value) * Exp10(WideReal(gain) / WideReal(10))).ToDouble();
    }
    return std::nullopt;
}

std::optional<double> PowerSum(double a, double b, int unit) noexcept
{
    const DoubleRounding rounding;
    switch (SumKindOf(unit)) {
    case SumKind::Decibels: {
        // The larger level, raised by the share of the smaller: no power is ever formed, so
        // no level is too large or too small to add. Steps of other than 1 dB are an S-meter's.
        static const WideReal OneTenth = WideReal(1) / WideReal(10); // within a DoubleRounding
        const double step = UnitCatalogue[unit].decibelsPerStep;
        const WideReal gap = WideReal(std::min(a, b)) - WideReal(std::max(a, b));
        const WideReal gapInDb = step == 1 ? gap : gap * WideReal(step);
        const WideReal share = Log10(WideReal(1) + Exp10(gapInDb * OneTenth)) * WideReal(10);
        return (WideReal(std::max(a, b)) + (step == 1 ? share : share / WideReal(step))).ToDouble();
    }
    case SumKind::Watts:
        if (a < 0 || b < 0) {
            return std::nullopt;
        }
        return (WideReal(a) + WideReal(b)).ToDouble();
    case SumKind::None:
        break;
    }
    return std::nullopt;
}

} // namespace tarvane
