#include "Conversion.h"

#include "DoubleRounding.h"
#include "NumericHelpers.h"
#include "Units.h"

#include <cmath>
#include <cstdint>
#include <numeric>

namespace tarvane {

namespace {

// Deviation references are levels in this unit.
constexpr int DeviationLevelUnit = UnitIndexOf("dBu");
static_assert(DeviationLevelUnit >= 0);

constexpr double Log2Of10 = 3.321928094887362;
// Within these binary orders a voltage is a normal double whatever rounding it would get.
constexpr double SafeVoltageOrder = 1000;
// Within these dB a power level's power is a normal double and a voltage level's ratio far
// above the smallest the logarithm takes.
constexpr double SafePowerLevel = 3000;
constexpr double SafeVoltageLevel = -6400;

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

bool IsListed(const QualifiedUnit& qualified)
{
    return qualified.unit < UnitCount && qualified == QualifiedUnit{qualified.unit};
}

double ImpedanceOf(const QualifiedUnit& qualified)
{
    return qualified.impedance != 0 ? qualified.impedance : UnitCatalogue[qualified.unit].impedance;
}

// A voltage other than RMS: peak-to-peak, say.
bool IsPeakVoltage(const Unit& unit)
{
    return unit.kind == UnitKind::Voltage && unit.reference.numerator != unit.reference.denominator;
}

bool Stepped(const Unit& unit)
{
    return unit.decibelsPerStep != 1 || unit.stepAtReference != 0;
}

// A value of a level unit as dB above its 0 dB: an S-meter counts points.
WideReal Decibels(const Unit& unit, const WideReal& x)
{
    if (!Stepped(unit)) {
        return x;
    }
    return (x - WideReal(unit.stepAtReference)) * WideReal(unit.decibelsPerStep);
}

// A level unit's value for `decibels` above its 0 dB.
WideReal LevelOf(const Unit& unit, const WideReal& decibels)
{
    if (!Stepped(unit)) {
        return decibels;
    }
    return WideReal(unit.stepAtReference) + decibels / WideReal(unit.decibelsPerStep);
}

ExactFactor ReferenceOf(const Unit& unit)
{
    return ExactFactor::Of(unit.reference.numerator) / ExactFactor::Of(unit.reference.denominator);
}

// Beyond `limit` (at least 2048) in magnitude; a not-a-number is.
bool Beyond(const WideReal& x, double limit)
{
    if (x.IsZero() || (x.IsOrdinary() && x.ToParts().exponent < 11)) {
        return false;
    }
    return !(WideReal(-limit) < x && x < WideReal(limit));
}

std::optional<ExactFactor> LevelFactor(int unit, double value);

// C in V² = C · g(x) for a complete unit; nothing when its full scale is no positive voltage.
std::optional<ExactFactor> SquareVoltageFactor(const QualifiedUnit& qualified)
{
    const Unit& unit = UnitCatalogue[qualified.unit];
    const ExactFactor reference = ReferenceOf(unit);
    switch (unit.kind) {
    case UnitKind::Voltage:
        return ExactFactor{} / reference;
    case UnitKind::Power:
        return ExactFactor::Of(ImpedanceOf(qualified));
    case UnitKind::PowerLevel:
        return ExactFactor::Of(ImpedanceOf(qualified)) * reference;
    case UnitKind::VoltageLevel:
        if (qualified.fullScaleUnit != NoUnit) {
            return LevelFactor(qualified.fullScaleUnit, qualified.fullScale);
        }
        if (!unit.referenceLevel.unit.empty()) {
            return LevelFactor(UnitIndexOf(unit.referenceLevel.unit), unit.referenceLevel.value);
        }
        return reference;
    case UnitKind::Deviation: {
        // The reference deviation at the voltage of its level: V = x · V_level / reference.
        const std::optional<ExactFactor> level = LevelFactor(DeviationLevelUnit, unit.deviationLevel);
        return *level / (reference * reference);
    }
    }
    return std::nullopt;
}

// V² of a level in a catalogue unit as it is; nothing when it is no positive voltage.
std::optional<ExactFactor> LevelFactor(int unit, double value)
{
    const Unit& entry = UnitCatalogue[unit];
    const ExactFactor factor = *SquareVoltageFactor(QualifiedUnit{unit});
    const ScaledReal x = ScaledReal::Of(value);
    switch (entry.kind) {
    case UnitKind::VoltageLevel:
    case UnitKind::PowerLevel:
        return factor * ExactFactor::Decibels(Decibels(entry, x.Value()));
    case UnitKind::Voltage:
    case UnitKind::Deviation:
        return value > 0 ? std::optional(factor * ExactFactor::Of(x) * ExactFactor::Of(x))
                         : std::nullopt;
    case UnitKind::Power:
        return value > 0 ? std::optional(factor * ExactFactor::Of(x)) : std::nullopt;
    }
    return std::nullopt;
}

// Whole numbers of at most 53 bits, as doubles give them.
std::optional<std::uint64_t> WholeNumberOf(const WideReal& x)
{
    const std::optional<double> value = x.ToDouble();
    if (!value || x.ToParts().low != 0 || !(*value >= 1 && *value < 0x1p53)
        || *value != std::floor(*value)) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(*value);
}

// Whether m^power · numerator / denominator can be a power of ten for a whole number m when the
// ratio is not 1: without their common factors, the numerator has no prime factor but 2 and 5,
// and for a square what the denominator has besides them is a square, and 2 and 5 come to even
// counts together under one power of ten. Constants that are no whole numbers of a double may.
bool MakesPowersOfTen(const ExactFactor& factor, int power)
{
    std::optional<std::uint64_t> numerator = WholeNumberOf(factor.numerator);
    std::optional<std::uint64_t> denominator = WholeNumberOf(factor.denominator);
    if (!numerator || !denominator) {
        return true;
    }
    const std::uint64_t common = std::gcd(*numerator, *denominator);
    *numerator /= common;
    *denominator /= common;
    if (*numerator == *denominator) {
        return false;
    }
    // The exponents of 2 and 5 in denominator / numerator, and the rest of the denominator.
    int twos = 0;
    int fives = 0;
    const auto takeOut = [](std::uint64_t& n, std::uint64_t prime, int& count, int sign) {
        for (; n % prime == 0; n /= prime) {
            count += sign;
        }
    };
    takeOut(*numerator, 2, twos, -1);
    takeOut(*numerator, 5, fives, -1);
    takeOut(*denominator, 2, twos, 1);
    takeOut(*denominator, 5, fives, 1);
    if (*numerator != 1) {
        return false;
    }
    if (power == 1) {
        return true;
    }
    // 10^j adds j to both counts: they must become even together.
    const auto root = static_cast<std::uint64_t>(std::sqrt(static_cast<double>(*denominator)));
    const bool squareRest = root * root == *denominator || (root + 1) * (root + 1) == *denominator;
    return squareRest && (twos - fives) % 2 == 0;
}

WideReal Magnitude(const WideReal& x)
{
    return x.IsNegative() ? -x : x;
}

} // namespace

Conversion::Form Conversion::FormOf(const Unit& unit)
{
    switch (unit.kind) {
    case UnitKind::Voltage:
    case UnitKind::Deviation:
        return Form::Square;
    case UnitKind::Power:
        return Form::Linear;
    case UnitKind::VoltageLevel:
    case UnitKind::PowerLevel:
        break;
    }
    return Form::Level;
}

std::optional<Conversion> Conversion::Between(const QualifiedUnit& from, const QualifiedUnit& to)
{
    if (!IsComplete(from) || !IsComplete(to)) {
        return std::nullopt;
    }
    const DoubleRounding rounding;
    Conversion conversion;
    const Unit& fromUnit = UnitCatalogue[from.unit];
    const Unit& toUnit = UnitCatalogue[to.unit];
    conversion.m_from = &fromUnit;
    conversion.m_to = &toUnit;
    conversion.m_fromForm = FormOf(fromUnit);
    conversion.m_toForm = FormOf(toUnit);
    if (from == to) {
        conversion.m_identity = true;
        return conversion;
    }
    const std::optional<ExactFactor> fromFactor = SquareVoltageFactor(from);
    const std::optional<ExactFactor> toFactor = SquareVoltageFactor(to);
    if (!fromFactor || !toFactor) {
        return std::nullopt;
    }
    const ExactFactor& factor = conversion.m_factor = *fromFactor / *toFactor;
    conversion.m_k = factor.Value();
    conversion.m_rootK = Sqrt(conversion.m_k);
    const DecimalLogarithm log = factor.Log10();
    conversion.m_kWholeDecibels = 10 * static_cast<double>(log.whole);
    conversion.m_kRestDecibels = WideReal(10) * log.rest + factor.decibels;
    conversion.m_inverseDenominator = WideReal(1) / factor.denominator;
    conversion.m_ratioMakesPowersOfTen =
        MakesPowersOfTen(factor, conversion.m_fromForm == Form::Square ? 2 : 1);
    conversion.m_numeratorIsOne = factor.numerator == WideReal(1);
    conversion.m_quick = conversion.m_fromForm != Form::Level && conversion.m_toForm == Form::Level
        && !conversion.m_ratioMakesPowersOfTen && !Stepped(toUnit);
    conversion.m_fromFactor = fromFactor->Value();
    conversion.m_rootFromFactor = Sqrt(conversion.m_fromFactor);
    conversion.m_fromDecibels = fromFactor->InDecibels();
    conversion.m_fromOrder = *conversion.m_fromDecibels.ToDouble() / 10 * Log2Of10;
    conversion.m_toPower = ReferenceOf(toUnit).Value();
    conversion.m_uncheckedDeviation =
        toUnit.kind == UnitKind::Deviation && fromUnit.intoDeviationUnchecked;
    // The window's own pairs round their voltage between two steps, but the dB-to-watt pairs
    // of one impedance and the one-step pairs of the peak-to-peak voltage.
    const bool powerOfLevel = fromUnit.kind == UnitKind::PowerLevel
        && toUnit.kind == UnitKind::Power && ImpedanceOf(from) == ImpedanceOf(to);
    const bool oneStep = (IsPeakVoltage(toUnit) && fromUnit.oneStepWithPeakVoltages)
        || (IsPeakVoltage(fromUnit) && toUnit.kind == UnitKind::Power
            && toUnit.oneStepWithPeakVoltages);
    conversion.m_voltageInDoubleRange = IsListed(from) && IsListed(to) && !powerOfLevel && !oneStep;
    return conversion;
}

std::optional<WideReal> Conversion::Exactly(const ScaledReal& x) const
{
    const DoubleRounding rounding;
    if (m_identity) {
        return x.Value();
    }
    // A negative power has no voltage; a zero deviation no reference to scale.
    if ((m_fromForm == Form::Linear && x.IsNegative())
        || (m_from->kind == UnitKind::Deviation && x.IsZero())) {
        return std::nullopt;
    }
    if (m_voltageInDoubleRange) {
        switch (RangeOfVoltage(x)) {
        case VoltageRange::Beyond:
            return std::nullopt;
        case VoltageRange::Zero:
            // As from a zero voltage: no level, and no deviation to scale without the test.
            if (m_toForm == Form::Level || m_uncheckedDeviation) {
                return std::nullopt;
            }
            return WideReal(m_to->kind == UnitKind::Voltage && x.IsNegative() ? -0.0 : 0.0);
        case VoltageRange::Within:
            break;
        }
    }
    return m_toForm == Form::Level ? IntoLevel(x) : IntoLinear(x);
}

std::optional<double> Conversion::operator()(const ScaledReal& value) const
{
    if (m_identity) {
        return value.ToDouble();
    }
    if (const std::optional<double> quick = Quickly(value)) {
        return quick;
    }
    const std::optional<WideReal> result = Exactly(value);
    return result ? result->ToDouble() : std::nullopt;
}

std::optional<double> Conversion::Quickly(const ScaledReal& x) const
{
    const WideReal::Parts m = x.Mantissa().ToParts();
    // A value within 10^±120 gives a voltage far within a double's range, and a level far
    // from the ends where the rules of a double's range apply.
    if (!m_quick || !(m.high > 0) || m.low != 0 || m.exponent > 52 || x.PowerOfTen() > 100
        || x.PowerOfTen() < -120) {
        return std::nullopt;
    }
    const DoubleRounding rounding;
    const std::optional<double> result = RoundedDecibelsOf(
        *x.Mantissa().ToDouble(),
        {10 * (m_fromForm == Form::Square ? 2.0 : 1.0), x.PowerOfTen(), m_kWholeDecibels,
         m_kRestDecibels});
    return result && std::fabs(*result) < 2048 ? result : std::nullopt;
}

WideReal Conversion::DecibelsOf(const ScaledReal& x) const
{
    return Decibels(*m_from, x.Value());
}

Conversion::VoltageRange Conversion::RangeOfVoltage(const ScaledReal& x) const
{
    // The binary order of the value, within a few units, rules out the ends of the range.
    const double order =
        x.Mantissa().ToParts().exponent + static_cast<double>(x.PowerOfTen()) * Log2Of10;
    WideReal voltage;
    switch (m_fromForm) {
    case Form::Square:
        if (std::fabs(order + m_fromOrder / 2) < SafeVoltageOrder) {
            return VoltageRange::Within;
        }
        voltage = Magnitude(x.Value()) * m_rootFromFactor;
        break;
    case Form::Linear:
        if (std::fabs(order + m_fromOrder) / 2 < SafeVoltageOrder) {
            return VoltageRange::Within;
        }
        voltage = Sqrt(x.Value() * m_fromFactor);
        break;
    case Form::Level:
        // Within ±4096 dB, from references of a few dB.
        if (order < 11) {
            return VoltageRange::Within;
        }
        voltage = Exp10((DecibelsOf(x) + m_fromDecibels) * OneTwentieth);
        break;
    }
    const std::optional<double> rounded = voltage.ToDouble();
    if (!rounded) {
        return VoltageRange::Beyond;
    }
    return *rounded == 0 ? VoltageRange::Zero : VoltageRange::Within;
}

WideReal Conversion::RatioToTarget(const ScaledReal& x) const
{
    switch (m_fromForm) {
    case Form::Square:
        return Magnitude(x.Value()) * m_rootK;
    case Form::Linear:
        return Sqrt(x.Value() * m_k);
    case Form::Level:
        break;
    }
    return Exp10(PlusK(DecibelsOf(x)) * OneTwentieth);
}

WideReal Conversion::DecibelsFromLinear(const ScaledReal& x) const
{
    // 10 log10(g(x) · K) for x = m · 10^e and g(x) = x^p, m a whole number: while m^p times
    // K's numerator is exact, as the logarithm of one quotient, exactly a whole number where
    // it is a power of ten; otherwise 10 p log10(m) + 10 p e + K in dB, each logarithm kept to
    // the last bits of its own.
    const bool squared = m_fromForm == Form::Square;
    const long long p = squared ? 2 : 1;
    const WideReal m = Magnitude(x.Mantissa());
    const WideReal::Parts parts = m.ToParts();
    if (m_ratioMakesPowersOfTen && parts.low == 0 && parts.exponent < (squared ? 26 : 53)) {
        const WideReal power = squared ? m * m : m;
        return DecibelsOfQuotient(
            m_numeratorIsOne ? power : power * m_factor.numerator, m_factor.denominator,
            m_inverseDenominator,
            {10, p * x.PowerOfTen() + m_factor.powerOfTen, 0, m_factor.decibels});
    }
    return DecibelsOfQuotient(m, WideReal(1), WideReal(1),
                              {10 * static_cast<double>(p), x.PowerOfTen(), m_kWholeDecibels,
                               m_kRestDecibels});
}

std::optional<WideReal> Conversion::IntoLevel(const ScaledReal& x) const
{
    WideReal decibels;
    if (m_fromForm == Form::Level) {
        decibels = PlusK(DecibelsOf(x));
    } else {
        // A zero voltage has no level; a negative one none in dB of a voltage.
        if (x.IsZero() || (x.IsNegative() && m_to->kind == UnitKind::VoltageLevel)) {
            return std::nullopt;
        }
        decibels = DecibelsFromLinear(x);
    }
    if (m_to->kind == UnitKind::VoltageLevel && Beyond(decibels, -SafeVoltageLevel)
        && !StrictLog10(RatioToTarget(x))) {
        return std::nullopt;
    }
    // The power of a power level, as a double, is no zero and within its range.
    if (m_to->kind == UnitKind::PowerLevel && Beyond(decibels, SafePowerLevel)) {
        const std::optional<double> power =
            (m_toPower * Exp10(decibels * OneTenth)).ToDouble();
        if (!power || *power == 0) {
            return std::nullopt;
        }
    }
    return LevelOf(*m_to, decibels);
}

std::optional<WideReal> Conversion::IntoLinear(const ScaledReal& x) const
{
    const bool intoVoltage = m_toForm == Form::Square;
    switch (m_fromForm) {
    case Form::Level:
        return Exp10(PlusK(DecibelsOf(x)) * (intoVoltage ? OneTwentieth : OneTenth));
    case Form::Linear: {
        const WideReal product = x.Value() * m_k;
        return intoVoltage ? Sqrt(product) : product;
    }
    case Form::Square:
        break;
    }
    const WideReal value = x.Value();
    if (!intoVoltage) {
        return value * value * m_k;
    }
    if (m_to->kind == UnitKind::Deviation) {
        // Without the sign test a zero voltage fails; with it, no positive voltage gives 0.
        if (m_uncheckedDeviation && value.IsZero()) {
            return std::nullopt;
        }
        if (!m_uncheckedDeviation && !value.IsPositive()) {
            return WideReal(0);
        }
    }
    return value * m_rootK;
}

} // namespace tarvane
