#include "LevelArithmetic.h"

#include "DoubleRounding.h"
#include "Units.h"

namespace tarvane {

namespace {

// The result, while a double holds it.
std::optional<WideReal> WithinDoubleRange(const WideReal& result)
{
    return result.ToDouble() ? std::optional(result) : std::nullopt;
}

} // namespace

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

std::optional<WideReal> WithGain(const WideReal& value, int unit, const WideReal& gain) noexcept
{
    const DoubleRounding rounding;
    const Unit& entry = UnitCatalogue[unit];
    switch (entry.kind) {
    case UnitKind::VoltageLevel:
    case UnitKind::PowerLevel:
        return WithinDoubleRange(
            value + (entry.decibelsPerStep == 1 ? gain : gain / WideReal(entry.decibelsPerStep)));
    case UnitKind::Voltage:
    case UnitKind::Deviation:
        return WithinDoubleRange(value * Exp10(gain * OneTwentieth));
    case UnitKind::Power:
        return WithinDoubleRange(value * Exp10(gain * OneTenth));
    }
    return std::nullopt;
}

std::optional<WideReal> PowerSum(const WideReal& a, const WideReal& b, int unit) noexcept
{
    const DoubleRounding rounding;
    switch (SumKindOf(unit)) {
    case SumKind::Decibels: {
        // The larger level, raised by the share of the smaller: no power is ever formed, so
        // no level is too large or too small to add. Steps of other than 1 dB are an S-meter's.
        const double step = UnitCatalogue[unit].decibelsPerStep;
        const bool aLarger = b < a;
        const WideReal gap = (aLarger ? b : a) - (aLarger ? a : b);
        const WideReal gapInDb = step == 1 ? gap : gap * WideReal(step);
        const WideReal share = Log10(WideReal(1) + Exp10(gapInDb * OneTenth)) * WideReal(10);
        return WithinDoubleRange((aLarger ? a : b) + (step == 1 ? share : share / WideReal(step)));
    }
    case SumKind::Watts:
        if (a.IsNegative() || b.IsNegative()) {
            return std::nullopt;
        }
        return WithinDoubleRange(a + b);
    case SumKind::None:
        break;
    }
    return std::nullopt;
}

} // namespace tarvane
