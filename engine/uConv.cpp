#include "uConv.h"

#include "DoubleRounding.h"
#include "NumericHelpers.h"
#include "Units.h"
#include "WideReal.h"

#include <cmath>
#include <optional>

namespace tarvane {

bool ConversionFailed = false;

namespace {

// How a pair of different units is computed: through the RMS voltage, or by a rule of its own.
enum class PairRule { Composition, PowerLevelToPower, UncheckedDeviation, OneStep };

// What a failed step into a power level leaves; every other step leaves 0.
constexpr double PowerLevelFailureValue = -999;

// Deviation references are levels in this unit.
constexpr int DeviationLevelUnit = UnitIndexOf("dBu");
static_assert(DeviationLevelUnit >= 0);

// What one step of a formula gives, before it is rounded to a double; nothing when it fails.
using Outcome = std::optional<WideReal>;

WideReal ValueOf(Fraction fraction)
{
    return WideReal(fraction.numerator) / WideReal(fraction.denominator);
}

WideReal InverseOf(Fraction fraction)
{
    return WideReal(fraction.denominator) / WideReal(fraction.numerator);
}

// A level in dB as a voltage ratio.
WideReal VoltageRatio(double level)
{
    return Exp10(WideReal(level) / WideReal(20));
}

// A voltage other than RMS: peak-to-peak, say.
bool IsPeakVoltage(const Unit& unit)
{
    return unit.kind == UnitKind::Voltage && unit.reference.numerator != unit.reference.denominator;
}

// One step rounded to a double; nothing when it fails or leaves the range of a double.
std::optional<double> Rounded(const Outcome& outcome)
{
    return outcome ? outcome->ToDouble() : std::nullopt;
}

std::optional<double> Inbound(const Unit& unit, double x);

// The RMS voltage at a deviation unit's reference level, rounded like any inbound step.
double ReferenceVoltage(const Unit& deviationUnit)
{
    return Rounded(Inbound(UnitCatalogue[DeviationLevelUnit], deviationUnit.deviationLevel))
        .value_or(0);
}

// RMS voltage to deviation, without a sign test.
WideReal DeviationOf(const Unit& unit, const WideReal& v)
{
    return ValueOf(unit.reference) * v / WideReal(ReferenceVoltage(unit));
}

// Value of the source unit to RMS voltage, unrounded.
Outcome InboundUnrounded(const Unit& unit, double x)
{
    switch (unit.kind) {
    case UnitKind::Voltage:
        return WideReal(x) / Sqrt(ValueOf(unit.reference));
    case UnitKind::VoltageLevel:
        return Sqrt(ValueOf(unit.reference)) * VoltageRatio(x);
    case UnitKind::PowerLevel:
        return Sqrt(WideReal(unit.impedance) * ValueOf(unit.reference)) * VoltageRatio(x);
    case UnitKind::Power:
        // A negative power has no voltage.
        if (x < 0) {
            return std::nullopt;
        }
        return Sqrt(WideReal(x) * WideReal(unit.impedance));
    case UnitKind::Deviation:
        // No deviation, no reference to scale: the reference divided by x comes first.
        if (x == 0) {
            return std::nullopt;
        }
        return WideReal(ReferenceVoltage(unit)) * WideReal(x) / ValueOf(unit.reference);
    }
    return std::nullopt;
}

std::optional<double> Inbound(const Unit& unit, double x)
{
    return Rounded(InboundUnrounded(unit, x));
}

// RMS voltage to the value of the target unit, unrounded.
Outcome Outbound(const Unit& unit, const WideReal& v)
{
    switch (unit.kind) {
    case UnitKind::Voltage:
        return v * Sqrt(ValueOf(unit.reference));
    case UnitKind::VoltageLevel: {
        const std::optional<WideReal> level = StrictLog10(v * Sqrt(InverseOf(unit.reference)));
        return level ? Outcome(WideReal(20) * *level) : std::nullopt;
    }
    case UnitKind::PowerLevel: {
        // The power is rounded to a double before it is referred to the reference power: one
        // beyond the range of a double, or too small for one, fails.
        const std::optional<double> power = (v * v / WideReal(unit.impedance)).ToDouble();
        if (!power) {
            return std::nullopt;
        }
        const std::optional<WideReal> level = StrictLog10(*power * InverseOf(unit.reference));
        return level ? Outcome(WideReal(10) * *level) : std::nullopt;
    }
    case UnitKind::Power:
        return v * v / WideReal(unit.impedance);
    case UnitKind::Deviation:
        return v.IsPositive() ? DeviationOf(unit, v) : WideReal(0);
    }
    return std::nullopt;
}

PairRule RuleFor(const Unit& from, const Unit& to)
{
    if (from.kind == UnitKind::PowerLevel && to.kind == UnitKind::Power
        && from.impedance == to.impedance) {
        return PairRule::PowerLevelToPower;
    }
    if (to.kind == UnitKind::Deviation && from.intoDeviationUnchecked) {
        return PairRule::UncheckedDeviation;
    }
    if ((IsPeakVoltage(to) && from.oneStepWithPeakVoltages)
        || (IsPeakVoltage(from) && to.kind == UnitKind::Power && to.oneStepWithPeakVoltages)) {
        return PairRule::OneStep;
    }
    return PairRule::Composition;
}

// A pair of different units: each step computed exactly enough to round to the nearest
// double, and checked.
std::optional<double> ConvertPair(double value, const Unit& from, const Unit& to)
{
    const PairRule rule = RuleFor(from, to);
    if (rule == PairRule::PowerLevelToPower) {
        // The reference power times 10^(x/10): the impedance takes no part.
        return Rounded(ValueOf(from.reference) * Exp10(WideReal(value) / WideReal(10)));
    }
    if (rule == PairRule::OneStep) {
        const Outcome v = InboundUnrounded(from, value);
        return v ? Rounded(Outbound(to, *v)) : std::nullopt;
    }
    const std::optional<double> v = Inbound(from, value);
    if (!v) {
        return std::nullopt;
    }
    if (rule == PairRule::UncheckedDeviation) {
        // A zero voltage has no deviation to scale.
        return *v == 0 ? std::nullopt : Rounded(DeviationOf(to, *v));
    }
    return Rounded(Outbound(to, *v));
}

bool IsUnit(int unit)
{
    return unit >= 0 && unit < CatalogueSize;
}

} // namespace

std::optional<double> TryConvertValue(double value, int fromUnit, int toUnit) noexcept
{
    if (!IsUnit(fromUnit) || !IsUnit(toUnit)) {
        return std::nullopt;
    }
    if (fromUnit == toUnit) {
        return value;
    }
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    const DoubleRounding rounding;
    return ConvertPair(value, UnitCatalogue[fromUnit], UnitCatalogue[toUnit]);
}

double ConvertValue(double value, int fromUnit, int toUnit) noexcept
{
    if (const std::optional<double> result = TryConvertValue(value, fromUnit, toUnit)) {
        return *result;
    }
    ConversionFailed = true;
    // What the failed formula step leaves: -999 from the voltage-to-power-level rule, 0 from
    // every other step, and 0 where no formula runs at all.
    const bool formulaRan = IsUnit(fromUnit) && IsUnit(toUnit) && std::isfinite(value);
    return formulaRan && UnitCatalogue[toUnit].kind == UnitKind::PowerLevel ? PowerLevelFailureValue
                                                                            : 0;
}

} // namespace tarvane
