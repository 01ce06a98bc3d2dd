#include "uConv.h"

#include "NumericHelpers.h"
#include "Units.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <optional>

namespace tarvane {

bool ConversionFailed = false;

namespace {

// Catalogue indexes, as the formulas refer to them.
enum Unit : int {
    Vrms,
    Vpp,
    DbmIn50,
    DbmIn600,
    Dbu,
    Dbv,
    WattsIn50,
    WattsIn600,
    DeviationRef75,
    DeviationRef80,
    DbuvIn50,
    DbuvIn75,
};

// How a pair of different units is computed: through the RMS voltage, or by a rule of its own.
enum class PairRule { Composition, DbmToWatts, UncheckedDeviation, OneStep };

constexpr Extended DbmReferencePower = 0.001L;
constexpr Extended DbuvReference = 1E-6L;
constexpr double DbmFailureValue = -999;

bool IsDbm(int unit) { return unit == DbmIn50 || unit == DbmIn600; }
bool IsWatts(int unit) { return unit == WattsIn50 || unit == WattsIn600; }
bool IsDeviation(int unit) { return unit == DeviationRef75 || unit == DeviationRef80; }

// The reference impedance of a dBm or watt unit.
Extended Impedance(int unit)
{
    return (unit == DbmIn50 || unit == WattsIn50) ? 50 : 600;
}

// The constants below are formed at extended precision on use, never stored rounded.
Extended DbmVoltageFactor(int unit) { return std::sqrt(Impedance(unit) / 1000); }
Extended DbuReference() { return std::sqrt(0.6L); }
Extended PeakToPeakFactor() { return std::sqrt(2.0L) * 2; }
Extended DeviationReference(int unit) { return unit == DeviationRef75 ? 75 : 80; }

// A level in dB as a voltage ratio.
Extended LevelToRatio(Extended level)
{
    return std::exp(level * std::numbers::ln10_v<Extended> / 20);
}

// The general real power of 10: a whole exponent by repeated multiplication, any other
// through exp, as the dBm-to-watt pairs need it.
Extended TenToThe(Extended exponent)
{
    if (exponent == std::trunc(exponent)
        && std::fabs(exponent) <= std::numeric_limits<std::int32_t>::max()) {
        return StrictIntPower(10, static_cast<std::int32_t>(exponent));
    }
    return std::exp(exponent * std::numbers::ln10_v<Extended>);
}

// Value of the source unit to RMS voltage.
Extended InboundRule(int unit, Extended x);

// The RMS voltage of 12 dBu, where both deviation units reach their reference.
double V12()
{
    static const double v12 = static_cast<double>(InboundRule(Dbu, 12));
    return v12;
}

Extended InboundRule(int unit, Extended x)
{
    switch (unit) {
    case Vpp:
        return x / PeakToPeakFactor();
    case DbmIn50:
    case DbmIn600:
        return DbmVoltageFactor(unit) * LevelToRatio(x);
    case Dbu:
        return DbuReference() * LevelToRatio(x);
    case Dbv:
        return LevelToRatio(x);
    case WattsIn50:
    case WattsIn600:
        return std::sqrt(x * Impedance(unit));
    case DeviationRef75:
    case DeviationRef80:
        // 75 / x comes first, so a zero deviation fails on the division.
        return V12() / (DeviationReference(unit) / x);
    case DbuvIn50:
    case DbuvIn75:
        return DbuvReference * LevelToRatio(x);
    default:
        return x;
    }
}

// RMS voltage to deviation, without a sign test: V = 0 fails on the division.
Extended DeviationOf(int unit, Extended v)
{
    return DeviationReference(unit) / (V12() / v);
}

// RMS voltage to the value of the target unit.
Extended OutboundRule(int unit, Extended v)
{
    switch (unit) {
    case Vpp:
        return std::sqrt(2.0L) * (2 * v);
    case DbmIn50:
    case DbmIn600: {
        // The power is rounded to double before it is referred to 1 mW: a power that
        // underflows to 0 or leaves the double range fails the step.
        const double power = static_cast<double>(StrictIntPower(v, 2) / Impedance(unit));
        return 10 * StrictLog10(power / DbmReferencePower);
    }
    case Dbu:
        return 20 * StrictLog10(v / DbuReference());
    case Dbv:
        return 20 * StrictLog10(v);
    case WattsIn50:
    case WattsIn600:
        return StrictIntPower(v, 2) / Impedance(unit);
    case DeviationRef75:
    case DeviationRef80:
        return v > 0 ? DeviationOf(unit, v) : 0;
    case DbuvIn50:
    case DbuvIn75:
        return 20 * StrictLog10(v / DbuvReference);
    default:
        return v;
    }
}

// The pairs computed in one step, with the same formula as their composition.
Extended OneStepRule(int fromUnit, int toUnit, Extended x)
{
    if (fromUnit == Vpp) {
        const Extended v = x / PeakToPeakFactor();
        return v * v / Impedance(toUnit);
    }
    if (IsWatts(fromUnit)) {
        return (std::sqrt(x * Impedance(fromUnit)) * 2) * std::sqrt(2.0L);
    }
    const Extended factor =
        PeakToPeakFactor() * (fromUnit == Dbu ? DbuReference() : DbmVoltageFactor(fromUnit));
    return factor * LevelToRatio(x);
}

PairRule RuleFor(int fromUnit, int toUnit)
{
    if ((fromUnit == DbmIn50 && toUnit == WattsIn50)
        || (fromUnit == DbmIn600 && toUnit == WattsIn600)) {
        return PairRule::DbmToWatts;
    }
    if (IsDeviation(toUnit) && (fromUnit == Vpp || IsDbm(fromUnit) || fromUnit == Dbu)) {
        return PairRule::UncheckedDeviation;
    }
    if ((fromUnit == Vpp && IsWatts(toUnit))
        || (toUnit == Vpp && (IsDbm(fromUnit) || fromUnit == Dbu || IsWatts(fromUnit)))) {
        return PairRule::OneStep;
    }
    return PairRule::Composition;
}

// The steps of one conversion. runStep(x, failureValue, formula) runs one formula step
// on x and rounds its result to double: guarded, or bare for the optimistic first try.
template <typename RunStep>
double ConvertBy(RunStep runStep, double value, int fromUnit, int toUnit)
{
    const PairRule rule = RuleFor(fromUnit, toUnit);
    if (rule == PairRule::DbmToWatts) {
        return runStep(value, 0, [](Extended level) { return TenToThe(level / 10) / 1000; });
    }
    if (rule == PairRule::OneStep) {
        return runStep(value, 0, [fromUnit, toUnit](Extended x) {
            return OneStepRule(fromUnit, toUnit, x);
        });
    }
    // A failed inbound step leaves V at 0 and the next step runs on it all the same.
    const double v = fromUnit == Vrms
        ? value
        : runStep(value, 0, [fromUnit](Extended x) { return InboundRule(fromUnit, x); });
    if (rule == PairRule::UncheckedDeviation) {
        return runStep(v, 0, [toUnit](Extended voltage) { return DeviationOf(toUnit, voltage); });
    }
    if (toUnit == Vrms) {
        return v;
    }
    return runStep(v, IsDbm(toUnit) ? DbmFailureValue : 0, [toUnit](Extended voltage) {
        return OutboundRule(toUnit, voltage);
    });
}

// Ordinary conversions meet no fault, so they first run with bare steps and read the
// flags once at the end. nullopt when anything went wrong, or when the caller had left
// a fault flag set: the conversion is then repeated step by step, and as the steps are
// deterministic, both roads give the same bits wherever no step fails.
std::optional<double> TryConvertBare(double value, int fromUnit, int toUnit) noexcept
{
    // Flags are sticky and not cleared here, so arithmetic moved earlier is still seen;
    // the volatile store keeps all of it before the test.
    volatile double pinnedResult = 0;
    try {
        pinnedResult = ConvertBy(
            [](double x, double, auto formula) {
                return static_cast<double>(formula(static_cast<Extended>(x)));
            },
            value, fromUnit, toUnit);
    } catch (...) {
        return std::nullopt;
    }
    if (std::fetestexcept(TrappedFaults) != 0) {
        return std::nullopt;
    }
    return pinnedResult;
}

double ConvertGuarded(double value, int fromUnit, int toUnit)
{
    return ConvertBy(
        [](double x, double failureValue, auto formula) {
            return GuardedStep(x, failureValue, ConversionFailed, formula);
        },
        value, fromUnit, toUnit);
}

bool IsUnit(int unit)
{
    return unit >= 0 && unit < UnitCount;
}

} // namespace

double ConvertValue(double value, int fromUnit, int toUnit) noexcept
{
    if (!IsUnit(fromUnit) || !IsUnit(toUnit)) {
        ConversionFailed = true;
        return 0;
    }
    if (fromUnit == toUnit) {
        return value;
    }
    if (!std::isfinite(value)) {
        ConversionFailed = true;
        return 0;
    }
    if (const std::optional<double> result = TryConvertBare(value, fromUnit, toUnit)) {
        return *result;
    }
    return ConvertGuarded(value, fromUnit, toUnit);
}

std::optional<double> TryConvertValue(double value, int fromUnit, int toUnit) noexcept
{
    const bool failedBefore = ConversionFailed;
    ConversionFailed = false;
    const double result = ConvertValue(value, fromUnit, toUnit);
    const bool failed = ConversionFailed;
    ConversionFailed = failedBefore;
    if (failed)
        return std::nullopt;
    return result;
}

} // namespace tarvane
