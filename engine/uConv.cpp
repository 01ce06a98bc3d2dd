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
    // Voltage level: the voltage of 0 dB and its inverse.
    WideReal rootOfReference;
    WideReal inverseRootOfReference;
    double impedance = 0;
    WideReal inverseImpedance;
    // Power level: the RMS voltage of 0 dB, √(R · reference power).
    WideReal voltageOfZeroDb;
    // Deviation: the RMS voltage at the reference level, rounded like any inbound step, and
    // the deviation per volt.
    WideReal referenceVoltage;
    WideReal deviationPerVolt;
    // Level in dB: its 0 dB in dBV.
    WideReal levelOfZeroDb;

    void SetImpedance(double ohms)
    {
        impedance = ohms;
        inverseImpedance = WideReal(1) / WideReal(ohms);
        voltageOfZeroDb = Sqrt(WideReal(ohms) * reference);
    }
    void SetVoltageOfZeroDb(const WideReal& voltage)
    {
        rootOfReference = voltage;
        inverseRootOfReference = WideReal(1) / voltage;
    }
};

struct Constants {
    WideReal oneTenth = WideReal(1) / WideReal(10);
    WideReal oneTwentieth = WideReal(1) / WideReal(20);
    std::array<UnitConstants, CatalogueSize> units;
};

// A unit ready for the formulas: its catalogue entry and its constants, the catalogue's own or
// those that what follows its "@" gives.
class Scale {
public:
    Scale(const Unit& unit, const UnitConstants& constants)
        : m_unit(&unit)
        , m_constants(&constants)
    {
    }
    Scale(const Unit& unit, const UnitConstants& constants, const UnitConstants& own)
        : m_unit(&unit)
        , m_constants(&constants)
        , m_own(own)
    {
    }

    const Unit& Entry() const { return *m_unit; }
    const UnitConstants& Constants() const { return m_own ? *m_own : *m_constants; }
    // One of the window's units, with its own constants.
    bool Listed() const { return !m_own && m_unit < UnitCatalogue.data() + UnitCount; }

private:
    const Unit* m_unit;
    const UnitConstants* m_constants;
    std::optional<UnitConstants> m_own;
};

// A value of a level unit as dB above its reference voltage.
WideReal Decibels(const Unit& unit, double x)
{
    if (unit.decibelsPerStep == 1 && unit.stepAtReference == 0) {
        return WideReal(x);
    }
    return (WideReal(x) - WideReal(unit.stepAtReference)) * WideReal(unit.decibelsPerStep);
}

// A level unit's value for a voltage `decibels` above its reference voltage.
WideReal LevelOf(const Unit& unit, const WideReal& decibels)
{
    if (unit.decibelsPerStep == 1 && unit.stepAtReference == 0) {
        return decibels;
    }
    return WideReal(unit.stepAtReference) + decibels / WideReal(unit.decibelsPerStep);
}

// The RMS voltage of a level unit's 0 dB.
const WideReal& VoltageOfZeroDb(const Unit& unit, const UnitConstants& constants)
{
    return unit.kind == UnitKind::PowerLevel ? constants.voltageOfZeroDb
                                             : constants.rootOfReference;
}

// A level in dB as a voltage ratio.
WideReal VoltageRatio(const Constants& constants, const WideReal& decibels)
{
    return Exp10(decibels * constants.oneTwentieth);
}

// Value of the source unit to RMS voltage, unrounded.
Outcome InboundUnrounded(const Constants& constants, const Scale& scale, double x)
{
    const Unit& unit = scale.Entry();
    const UnitConstants& unitConstants = scale.Constants();
    switch (unit.kind) {
    case UnitKind::Voltage:
        return WideReal(x) * unitConstants.inverseRootOfReference;
    case UnitKind::VoltageLevel:
        return unitConstants.rootOfReference * VoltageRatio(constants, Decibels(unit, x));
    case UnitKind::PowerLevel:
        return unitConstants.voltageOfZeroDb * VoltageRatio(constants, WideReal(x));
    case UnitKind::Power:
        // A negative power has no voltage.
        if (x < 0) {
            return std::nullopt;
        }
        return Sqrt(WideReal(x) * WideReal(unitConstants.impedance));
    case UnitKind::Deviation:
        // No deviation, no reference to scale: the reference divided by x comes first.
        if (x == 0) {
            return std::nullopt;
        }
        return WideReal(x) / unitConstants.deviationPerVolt;
    }
    return std::nullopt;
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
            unitConstants.SetImpedance(unit.impedance);
        }
    }
    // Then the units whose reference is a level in another unit.
    for (int index = 0; index < CatalogueSize; ++index) {
        const Unit& unit = UnitCatalogue[index];
        UnitConstants& unitConstants = constants.units[index];
        if (unit.kind == UnitKind::Deviation) {
            const WideReal levelVoltage = constants.units[DeviationLevelUnit].rootOfReference
                * VoltageRatio(constants, WideReal(unit.deviationLevel));
            unitConstants.referenceVoltage = levelVoltage.ToDouble().value_or(0);
            unitConstants.deviationPerVolt =
                unitConstants.reference / unitConstants.referenceVoltage;
        }
        if (!unit.referenceLevel.unit.empty()) {
            const int levelUnit = UnitIndexOf(unit.referenceLevel.unit);
            const Scale levelScale(UnitCatalogue[levelUnit], constants.units[levelUnit]);
            unitConstants.SetVoltageOfZeroDb(
                InboundUnrounded(constants, levelScale, unit.referenceLevel.value).value());
        }
        if (IsLevelInDb(unit)) {
            unitConstants.levelOfZeroDb =
                WideReal(20) * Log10(VoltageOfZeroDb(unit, unitConstants));
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

Scale CatalogueScale(int unit)
{
    return Scale(UnitCatalogue[unit], TheConstants().units[unit]);
}

bool IsUnit(int unit)
{
    return unit >= 0 && unit < CatalogueSize;
}

// What a unit needs besides its catalogue entry: a full-scale level in a unit of its own
// that gives a voltage, and an impedance only where one may be given.
bool IsComplete(const QualifiedUnit& qualified)
{
    if (!IsUnit(qualified.unit)) {
        return false;
    }
    const Unit& unit = UnitCatalogue[qualified.unit];
    const bool fullScaleGiven = qualified.fullScaleUnit != NoUnit;
    const bool needsFullScale = unit.parameter == UnitParameter::FullScale;
    if (fullScaleGiven != needsFullScale
        || (fullScaleGiven
            && (!IsUnit(qualified.fullScaleUnit) || !std::isfinite(qualified.fullScale)
                || UnitCatalogue[qualified.fullScaleUnit].parameter == UnitParameter::FullScale))) {
        return false;
    }
    return qualified.impedance == 0
        || (unit.parameter == UnitParameter::Impedance && qualified.impedance > 0
            && std::isfinite(qualified.impedance));
}

// A complete qualified unit, ready for the formulas; nothing when its full scale is no
// positive voltage.
std::optional<Scale> ScaleOf(const QualifiedUnit& qualified)
{
    const Scale catalogue = CatalogueScale(qualified.unit);
    if (qualified.fullScaleUnit != NoUnit) {
        const Outcome voltage = InboundUnrounded(
            TheConstants(), CatalogueScale(qualified.fullScaleUnit), qualified.fullScale);
        if (!voltage || !voltage->IsPositive()) {
            return std::nullopt;
        }
        UnitConstants own = catalogue.Constants();
        own.SetVoltageOfZeroDb(*voltage);
        return Scale(catalogue.Entry(), catalogue.Constants(), own);
    }
    if (qualified.impedance != 0) {
        UnitConstants own = catalogue.Constants();
        own.SetImpedance(qualified.impedance);
        return Scale(catalogue.Entry(), catalogue.Constants(), own);
    }
    return catalogue;
}

// RMS voltage to deviation, without a sign test.
WideReal DeviationOf(const Scale& scale, const WideReal& v)
{
    return scale.Constants().deviationPerVolt * v;
}

std::optional<double> Inbound(const Scale& scale, double x)
{
    return Rounded(InboundUnrounded(TheConstants(), scale, x));
}

// RMS voltage to the value of the target unit, unrounded.
Outcome Outbound(const Scale& scale, const WideReal& v)
{
    const Unit& unit = scale.Entry();
    const UnitConstants& unitConstants = scale.Constants();
    switch (unit.kind) {
    case UnitKind::Voltage:
        return v * unitConstants.rootOfReference;
    case UnitKind::VoltageLevel: {
        const std::optional<WideReal> level = StrictLog10(v * unitConstants.inverseRootOfReference);
        if (!level) {
            return std::nullopt;
        }
        return LevelOf(unit, WideReal(20) * *level);
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
        return v.IsPositive() ? DeviationOf(scale, v) : WideReal(0);
    }
    return std::nullopt;
}

// A voltage other than RMS: peak-to-peak, say.
bool IsPeakVoltage(const Unit& unit)
{
    return unit.kind == UnitKind::Voltage && unit.reference.numerator != unit.reference.denominator;
}

PairRule RuleFor(const Scale& fromScale, const Scale& toScale)
{
    const Unit& from = fromScale.Entry();
    const Unit& to = toScale.Entry();
    if (from.kind == UnitKind::PowerLevel && to.kind == UnitKind::Power
        && fromScale.Constants().impedance == toScale.Constants().impedance) {
        return PairRule::PowerLevelToPower;
    }
    if (to.kind == UnitKind::Deviation && from.intoDeviationUnchecked) {
        return PairRule::UncheckedDeviation;
    }
    if ((IsPeakVoltage(to) && from.oneStepWithPeakVoltages)
        || (IsPeakVoltage(from) && to.kind == UnitKind::Power && to.oneStepWithPeakVoltages)) {
        return PairRule::OneStep;
    }
    // The rounded voltage between two steps is the window's units' own way; any other unit
    // converts without it.
    if (!fromScale.Listed() || !toScale.Listed()) {
        return PairRule::OneStep;
    }
    return PairRule::Composition;
}

// A pair of different units: each step computed exactly enough to round to the nearest
// double, and checked.
std::optional<double> ConvertPair(double value, const Scale& from, const Scale& to)
{
    const PairRule rule = RuleFor(from, to);
    if (rule == PairRule::PowerLevelToPower) {
        // The reference power times 10^(x/10): the impedance takes no part.
        return Rounded(from.Constants().reference
                       * Exp10(WideReal(value) * TheConstants().oneTenth));
    }
    if (rule == PairRule::OneStep) {
        const Outcome v = InboundUnrounded(TheConstants(), from, value);
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

bool IsListed(const QualifiedUnit& qualified)
{
    return qualified.unit < UnitCount && qualified == QualifiedUnit{qualified.unit};
}

// The 0 dB of a complete qualified unit of a level in dB, in dBV; nothing when its full scale
// is no positive voltage.
std::optional<WideReal> LevelOfZeroDb(const QualifiedUnit& qualified)
{
    const Constants& constants = TheConstants();
    if (qualified.fullScaleUnit != NoUnit) {
        const Unit& levelUnit = UnitCatalogue[qualified.fullScaleUnit];
        if (IsLevelInDb(levelUnit)) {
            return constants.units[qualified.fullScaleUnit].levelOfZeroDb
                + Decibels(levelUnit, qualified.fullScale);
        }
        const Outcome voltage = InboundUnrounded(constants, CatalogueScale(qualified.fullScaleUnit),
                                                 qualified.fullScale);
        if (!voltage || !voltage->IsPositive()) {
            return std::nullopt;
        }
        return WideReal(20) * Log10(*voltage);
    }
    const WideReal& level = constants.units[qualified.unit].levelOfZeroDb;
    if (qualified.impedance != 0) {
        // A power level's 0 dB is the voltage of its reference power across the impedance.
        return level
            + WideReal(10)
            * Log10(WideReal(qualified.impedance)
                    / WideReal(UnitCatalogue[qualified.unit].impedance));
    }
    return level;
}

// Between levels in dB, by the dB between their references, rounded first: references a
// whole number of dB apart keep whole dB whole (-18 dBFS at +18 dBu is 0 dBu, -73 dBW is
// -43 dBm), and no voltage is formed.
std::optional<double> ConvertLevelInDb(double value, const QualifiedUnit& from,
                                       const QualifiedUnit& to)
{
    const std::optional<WideReal> fromZero = LevelOfZeroDb(from);
    const std::optional<WideReal> toZero = LevelOfZeroDb(to);
    const std::optional<double> offset =
        fromZero && toZero ? (*fromZero - *toZero).ToDouble() : std::nullopt;
    if (!offset) {
        return std::nullopt;
    }
    return LevelOf(UnitCatalogue[to.unit],
                   Decibels(UnitCatalogue[from.unit], value) + WideReal(*offset))
        .ToDouble();
}

} // namespace

std::optional<double> TryConvertValue(double value, const QualifiedUnit& fromUnit,
                                      const QualifiedUnit& toUnit) noexcept
{
    if (!IsComplete(fromUnit) || !IsComplete(toUnit)) {
        return std::nullopt;
    }
    if (fromUnit == toUnit) {
        return value;
    }
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    const DoubleRounding rounding;
    // The rounded voltage between two steps is the window's units' own way.
    if (!(IsListed(fromUnit) && IsListed(toUnit)) && IsLevelInDb(UnitCatalogue[fromUnit.unit])
        && IsLevelInDb(UnitCatalogue[toUnit.unit])) {
        return ConvertLevelInDb(value, fromUnit, toUnit);
    }
    const std::optional<Scale> from = ScaleOf(fromUnit);
    const std::optional<Scale> to = ScaleOf(toUnit);
    return from && to ? ConvertPair(value, *from, *to) : std::nullopt;
}

std::optional<double> TryConvertValue(double value, int fromUnit, int toUnit) noexcept
{
    return TryConvertValue(value, QualifiedUnit{fromUnit}, QualifiedUnit{toUnit});
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
