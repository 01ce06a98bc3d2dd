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

// clang-format off
bool IsDbm(int unit) { return unit == DbmIn50 || unit == DbmIn600; }
bool IsWatts(int unit) { return unit == WattsIn50 || unit == WattsIn600; }
bool IsDeviation(int unit) { return unit == DeviationRef75 || unit == DeviationRef80; }
// clang-format on

// The reference impedance of a dBm or watt unit.
Extended Impedance(int unit)
{
    return (unit == DbmIn50 || unit == WattsIn50) ? 50 : 600;
}

// The constants below are formed at extended precision on use, never stored rounded.
// clang-format off
Extended DbmVoltageFactor(int unit) { return std::sqrt(Impedance(unit) / 1000); }
Extended DbuReference() { return std::sqrt(0.6L); }
Extended PeakToPeakFactor() { return std::sqrt(2.0L) * 2; }
Extended DeviationReference(int unit) { return unit == DeviationRef75 ? 75 : 80; }
// clang-format on

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
        return IntPowerOrFault(10, static_cast<std::int32_t>(exponent));
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
        const double power = static_cast<double>(IntPowerOrFault(v, 2) / Impedance(unit));
        return 10 * Log10OrFault(power / DbmReferencePower);
    }
    case Dbu:
        return 20 * Log10OrFault(v / DbuReference());
    case Dbv:
        return 20 * Log10OrFault(v);
    case WattsIn50:
    case WattsIn600:
        return IntPowerOrFault(v, 2) / Impedance(unit);
    case DeviationRef75:
    case DeviationRef80:
        return v > 0 ? DeviationOf(unit, v) : 0;
    case DbuvIn50:
    case DbuvIn75:
        return 20 * Log10OrFault(v / DbuvReference);
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

// One formula step: computed at extended precision, its result rounded to double. A step
// that fails leaves a trapped fault set, and the steps after it run on what it gave.
template <typename Formula>
double Step(double x, Formula formula)
{
    return static_cast<double>(formula(static_cast<Extended>(x)));
}

// A pair of different units, step by step; its failure is read from the fault flags.
double ConvertPair(double value, int fromUnit, int toUnit) noexcept
{
    const PairRule rule = RuleFor(fromUnit, toUnit);
    if (rule == PairRule::DbmToWatts) {
        return Step(value, [](Extended level) { return TenToThe(level / 10) / 1000; });
    }
    if (rule == PairRule::OneStep) {
        return Step(value,
                    [fromUnit, toUnit](Extended x) { return OneStepRule(fromUnit, toUnit, x); });
    }
    const double v = fromUnit == Vrms
        ? value
        : Step(value, [fromUnit](Extended x) { return InboundRule(fromUnit, x); });
    if (rule == PairRule::UncheckedDeviation) {
        return Step(v, [toUnit](Extended voltage) { return DeviationOf(toUnit, voltage); });
    }
    if (toUnit == Vrms) {
        return v;
    }
    return Step(v, [toUnit](Extended voltage) { return OutboundRule(toUnit, voltage); });
}

bool IsUnit(int unit)
{
    return unit >= 0 && unit < UnitCount;
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
    // Ordinary conversions meet no fault, and the flags stay clear after each of them, so a
    // conversion runs first without touching the flags and reads them once at the end. A
    // fault then may also be one the caller left behind: the conversion runs again from
    // clear flags (the steps are deterministic, so it gives the same bits), and only a fault
    // of its own fails it. Clearing is slow on x87, and needed only then.
    // The compiler treats arithmetic as free of side effects and could move it across the
    // flag calls: reading the value through a volatile and storing the result to one pins
    // the whole conversion between them.
    volatile double pinnedValue = value;
    volatile double pinnedResult = ConvertPair(pinnedValue, fromUnit, toUnit);
    if (std::fetestexcept(TrappedFaults) == 0) {
        return pinnedResult;
    }
    std::feclearexcept(TrappedFaults);
    pinnedValue = value;
    pinnedResult = ConvertPair(pinnedValue, fromUnit, toUnit);
    if (std::fetestexcept(TrappedFaults) != 0) {
        std::feclearexcept(TrappedFaults); // no fault of its own is left behind
        return std::nullopt;
    }
    return pinnedResult;
}

double ConvertValue(double value, int fromUnit, int toUnit) noexcept
{
    if (const std::optional<double> result = TryConvertValue(value, fromUnit, toUnit)) {
        return *result;
    }
    ConversionFailed = true;
    // What the failed formula step leaves: -999 from the voltage-to-dBm rule, 0 from every
    // other step, and 0 where no formula runs at all.
    const bool formulaRan = IsUnit(fromUnit) && IsUnit(toUnit) && std::isfinite(value);
    return formulaRan && IsDbm(toUnit) ? DbmFailureValue : 0;
}

} // namespace tarvane
