#include "uConv.h"

#include "DoubleRounding.h"
#include "NumericHelpers.h"
#include "Units.h"
#include "WideReal.h"

#include <array>
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

// One step rounded to a double; nothing when it fails or leaves the range of a double.
std::optional<double> Rounded(const Outcome& outcome)
{
    return outcome ? outcome->ToDouble() : std::nullopt;
}

// What the formulas need of a unit, formed once at full precision rather than at each
// conversion.
struct UnitConstants {
    WideReal reference;
    WideReal inverseOfReference;
    WideReal rootOfReference;
    WideReal inverseRootOfReference;
    WideReal inverseImpedance;
    // Power level: the RMS voltage of 0 dB, √(R · reference power).
    WideReal voltageOfZeroDb;
    // Deviation: the RMS voltage at the reference level, rounded like any inbound step, and
    // the deviation per volt.
    WideReal referenceVoltage;
    WideReal deviationPerVolt;
};

struct Constants {
    WideReal oneTenth = WideReal(1) / WideReal(10);
    WideReal oneTwentieth = WideReal(1) / WideReal(20);
    std::array<UnitConstants, CatalogueSize> units;
};

// A level in dB as a voltage ratio.
WideReal VoltageRatio(const Constants& constants, double level)
{
    return Exp10(WideReal(level) * constants.oneTwentieth);
}

Constants MakeConstants()
{
    Constants constants;
    for (int index = 0; index < CatalogueSize; ++index) {
        const Unit& unit = UnitCatalogue[index];
        UnitConstants& unitConstants = constants.units[index];
        const WideReal numerator = unit.reference.numerator;
        const WideReal denominator = unit.reference.denominator;
        unitConstants.reference = numerator / denominator;
        unitConstants.inverseOfReference = denominator / numerator;
        unitConstants.rootOfReference = Sqrt(unitConstants.reference);
        unitConstants.inverseRootOfReference = Sqrt(unitConstants.inverseOfReference);
        if (unit.impedance != 0) {
            unitConstants.inverseImpedance = WideReal(1) / WideReal(unit.impedance);
            unitConstants.voltageOfZeroDb =
                Sqrt(WideReal(unit.impedance) * unitConstants.reference);
        }
    }
    for (int index = 0; index < CatalogueSize; ++index) {
        const Unit& unit = UnitCatalogue[index];
        if (unit.kind == UnitKind::Deviation) {
            UnitConstants& unitConstants = constants.units[index];
            const WideReal levelVoltage = constants.units[DeviationLevelUnit].rootOfReference
                * VoltageRatio(constants, unit.deviationLevel);
            unitConstants.referenceVoltage = levelVoltage.ToDouble().value_or(0);
            unitConstants.deviationPerVolt =
                unitConstants.reference / unitConstants.referenceVoltage;
        }
    }
    return constants;
}

// Formed at the first conversion, which runs within a DoubleRounding.
const Constants& TheConstants()
{
    static const Constants constants = MakeConstants();
    return constants;
}

// RMS voltage to deviation, without a sign test.
WideReal DeviationOf(int unit, const WideReal& v)
{
    return TheConstants().units[unit].deviationPerVolt * v;
}

// Value of the source unit to RMS voltage, unrounded.
Outcome InboundUnrounded(int index, double x)
{
    const Unit& unit = UnitCatalogue[index];
    const Constants& constants = TheConstants();
    const UnitConstants& unitConstants = constants.units[index];
    switch (unit.kind) {
    case UnitKind::Voltage:
        return WideReal(x) * unitConstants.inverseRootOfReference;
    case UnitKind::VoltageLevel:
        return unitConstants.rootOfReference * VoltageRatio(constants, x);
    case UnitKind::PowerLevel:
        return unitConstants.voltageOfZeroDb * VoltageRatio(constants, x);
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
        return WideReal(x) / unitConstants.deviationPerVolt;
    }
    return std::nullopt;
}

std::optional<double> Inbound(int unit, double x)
{
    return Rounded(InboundUnrounded(unit, x));
}

// RMS voltage to the value of the target unit, unrounded.
Outcome Outbound(int index, const WideReal& v)
{
    const Unit& unit = UnitCatalogue[index];
    const UnitConstants& unitConstants = TheConstants().units[index];
    switch (unit.kind) {
    case UnitKind::Voltage:
        return v * unitConstants.rootOfReference;
    case UnitKind::VoltageLevel: {
        const std::optional<WideReal> level = StrictLog10(v * unitConstants.inverseRootOfReference);
        return level ? Outcome(WideReal(20) * *level) : std::nullopt;
    }
    case UnitKind::PowerLevel: {
        // The power is rounded to a double before it is referred to the reference power: one
        // beyond the range of a double, or too small for one, fails.
        const std::optional<double> power = (v * v * unitConstants.inverseImpedance).ToDouble();
        if (!power) {
            return std::nullopt;
        }
        const std::optional<WideReal> level =
            StrictLog10(*power * unitConstants.inverseOfReference);
        return level ? Outcome(WideReal(10) * *level) : std::nullopt;
    }
    case UnitKind::Power:
        return v * v * unitConstants.inverseImpedance;
    case UnitKind::Deviation:
        return v.IsPositive() ? DeviationOf(index, v) : WideReal(0);
    }
    return std::nullopt;
}

// A voltage other than RMS: peak-to-peak, say.
bool IsPeakVoltage(const Unit& unit)
{
    return unit.kind == UnitKind::Voltage && unit.reference.numerator != unit.reference.denominator;
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
std::optional<double> ConvertPair(double value, int fromUnit, int toUnit)
{
    const Unit& from = UnitCatalogue[fromUnit];
    const PairRule rule = RuleFor(from, UnitCatalogue[toUnit]);
    if (rule == PairRule::PowerLevelToPower) {
        // The reference power times 10^(x/10): the impedance takes no part.
        const Constants& constants = TheConstants();
        return Rounded(constants.units[fromUnit].reference
                       * Exp10(WideReal(value) * constants.oneTenth));
    }
    if (rule == PairRule::OneStep) {
        const Outcome v = InboundUnrounded(fromUnit, value);
        return v ? Rounded(Outbound(toUnit, *v)) : std::nullopt;
    }
    const std::optional<double> v = Inbound(fromUnit, value);
    if (!v) {
        return std::nullopt;
    }
    if (rule == PairRule::UncheckedDeviation) {
        // A zero voltage has no deviation to scale.
        return *v == 0 ? std::nullopt : Rounded(DeviationOf(toUnit, *v));
    }
    return Rounded(Outbound(toUnit, *v));
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
    return ConvertPair(value, fromUnit, toUnit);
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
