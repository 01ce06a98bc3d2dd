#pragma once

#include "ExactFactor.h"
#include "QualifiedUnit.h"
#include "ScaledReal.h"
#include "WideReal.h"

#include <optional>

namespace tarvane {

struct Unit;

// A conversion between two units, prepared once for any number of values. Every unit's value
// x gives the square of an RMS voltage as V² = C · g(x), g being x² (voltages, deviations),
// x (powers) or 10^(L/10) (levels in dB, L their dB), so that a conversion is
// y = g_to⁻¹(g_from(x) · C_from / C_to), computed at once from the decimal digits of x with
// no rounded voltage on the way: C_from / C_to is an ExactFactor, which is exactly 1, or a
// whole power of ten, when the references are, and a logarithm takes x's power of ten exactly,
// so a level at a reference point converts to exactly 0 dB. The window's composed pairs keep
// the range their RMS voltage had as a double between the steps: beyond it they fail, below
// it they go on from a zero voltage.
class Conversion {
public:
    // Nothing when a unit lacks what it needs: an index outside the catalogue, an impedance
    // where the unit takes none or one that is no positive number, a missing full scale or one
    // of no positive voltage. Equal units give every value as it is.
    static std::optional<Conversion> Between(const QualifiedUnit& from, const QualifiedUnit& to);

    // The converted value before it is rounded to a double; nothing when the conversion fails.
    std::optional<WideReal> Exactly(const ScaledReal& value) const;
    // The nearest double; nothing when the conversion fails or leaves the range of a double.
    std::optional<double> operator()(const ScaledReal& value) const;

private:
    // How V² follows from a unit's value.
    enum class Form { Square, Linear, Level };
    // Where a voltage lies against the range of a double.
    enum class VoltageRange { Within, Zero, Beyond };

    Conversion() = default;
    static Form FormOf(const Unit& unit);
    // The source's value in dB above its 0 dB.
    WideReal DecibelsOf(const ScaledReal& x) const;
    VoltageRange RangeOfVoltage(const ScaledReal& x) const;
    // V / V0 of a level target, computed from the source.
    WideReal RatioToTarget(const ScaledReal& x) const;
    // The target's value in dB above its 0 dB, from a voltage or a power.
    WideReal DecibelsFromLinear(const ScaledReal& x) const;
    // The source's dB and K's: whole numbers first, so that they cancel exactly.
    WideReal PlusK(const WideReal& decibels) const
    {
        return (decibels + WideReal(m_kWholeDecibels)) + m_kRestDecibels;
    }
    std::optional<WideReal> IntoLevel(const ScaledReal& x) const;
    // The result where plain doubles decide it, for a positive voltage or power of a few
    // digits into a level that is no S-meter's; nothing otherwise.
    std::optional<double> Quickly(const ScaledReal& x) const;
    std::optional<WideReal> IntoLinear(const ScaledReal& x) const;

    const Unit* m_from = nullptr;
    const Unit* m_to = nullptr;
    Form m_fromForm = Form::Square;
    Form m_toForm = Form::Square;
    bool m_identity = false;
    // A composed pair of the window's units: its RMS voltage held a double's range.
    bool m_voltageInDoubleRange = false;
    // Into a deviation without the sign test: a zero voltage fails, a negative one gives a
    // negative deviation.
    bool m_uncheckedDeviation = false;
    // K = C_from / C_to, as it is made and as a number, its square root, and in dB as a whole
    // number of dB (exactly) and the rest.
    ExactFactor m_factor;
    WideReal m_k;
    WideReal m_rootK;
    double m_kWholeDecibels = 0;
    WideReal m_kRestDecibels;
    // 1 / K's denominator, and whether a value's m^p times K's ratio can be a power of ten
    // other than by a ratio of 1, which the logarithm of a quotient then has to find.
    WideReal m_inverseDenominator;
    bool m_ratioMakesPowersOfTen = false;
    bool m_numeratorIsOne = false;
    // Quickly may decide.
    bool m_quick = false;
    // C_from as a number, its square root and in dB: the source's RMS voltage.
    WideReal m_fromFactor;
    WideReal m_rootFromFactor;
    WideReal m_fromDecibels;
    double m_fromOrder = 0; // log2 of C_from
    // A target power level's 0 dB, in watts.
    WideReal m_toPower;
};

} // namespace tarvane
