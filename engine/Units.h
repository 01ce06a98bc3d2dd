#pragma once

#include <array>
#include <string_view>

namespace tarvane {

// What a unit measures, which decides how its value turns into an RMS voltage and back.
enum class UnitKind {
    Voltage,      // volts, a multiple of the RMS voltage of a sine
    VoltageLevel, // dB above a reference voltage
    Power,        // watts across an impedance
    PowerLevel,   // dB above a reference power across an impedance
    Deviation,    // FM deviation in kHz, proportional to the RMS voltage
};

// A positive number as the quotient of two doubles that hold it exactly (0.6 as 6 / 10), so
// that the formulas never start from a rounded reference.
struct Fraction {
    double numerator = 1;
    double denominator = 1;
};

// One unit of the catalogue.
struct Unit {
    UnitKind kind = UnitKind::Voltage;
    // The name a level or the command line writes it with ("dBm50"), in any case of letters.
    std::string_view identifier;
    // Another name it answers to ("Veff"), or none.
    std::string_view alias;
    // The symbols a level may carry instead of the identifier ("dBm"). Units that share a symbol
    // differ only in their impedance or FM reference; the symbol names the first of them.
    std::array<std::string_view, 2> symbols{};
    // The French label beside a value box, and the French list entry.
    std::string_view shortName;
    std::string_view longName;
    // Voltage: the square of its ratio to the RMS voltage (8 for peak-to-peak).
    // VoltageLevel: the square of the voltage of 0 dB, in V². PowerLevel: the power of 0 dB,
    // in W. Deviation: the deviation, in kHz, at the voltage of `deviationLevel`.
    Fraction reference;
    // Ohms: the impedance a power or power level is taken across (or the one a dBµV unit is
    // named after, which its formulas do not need).
    double impedance = 0;
    // Deviation: the level, in dBu, at which the deviation is `reference`.
    double deviationLevel = 0;
    // Into a deviation, the voltage of this unit is taken as it is, without the test for a
    // positive voltage that every other unit goes through: a zero voltage fails and a negative
    // one gives a negative deviation.
    bool intoDeviationUnchecked = false;
    // To a voltage other than RMS (and, for a power, also from one), this unit converts in
    // one step, its RMS voltage never rounded to a double on the way.
    bool oneStepWithPeakVoltages = false;
};

// The catalogue. The window lists its first UnitCount units in this order: a unit's index is
// the row of both unit lists and the number stored in the preferences file, so an entry may
// never be moved, and units the window does not list come after them.
// clang-format off
inline constexpr std::array UnitCatalogue = std::to_array<Unit>({
    {UnitKind::Voltage, "Vrms", "Veff", {"V"}, "Veff (Vrms)", "Tension efficace (Veff / Vrms)",
     {1}},
    {UnitKind::Voltage, "Vpp", "Vcac", {}, "Vcac (Vpp)", "Tension crête à crête (Vcac / Vpp)",
     {8}, 0, 0, true},
    {UnitKind::PowerLevel, "dBm50", "", {"dBm"}, "dBm (1 mW / 50 ohms)",
     "Puissance (dBm, réf. 1 mW dans 50 ohms)", {1, 1000}, 50, 0, true, true},
    {UnitKind::PowerLevel, "dBm600", "", {"dBm"}, "dBm (1 mW / 600 ohms)",
     "Puissance (dBm, réf. 1 mW dans 600 ohms)", {1, 1000}, 600, 0, true, true},
    {UnitKind::VoltageLevel, "dBu", "", {}, "dBu (réf. 775 mV)", "Décibels (dBu, réf. 775 mV)",
     {6, 10}, 0, 0, true, true},
    {UnitKind::VoltageLevel, "dBV", "", {}, "dBV (réf. 1 V)", "Décibels (dBV, réf. 1 V)", {1}},
    {UnitKind::Power, "W50", "", {"W"}, "Watts (50 ohms)", "Puissance (Watts, dans 50 ohms)",
     {1}, 50, 0, false, true},
    {UnitKind::Power, "W600", "", {"W"}, "Watts (600 ohms)", "Puissance (Watts, dans 600 ohms)",
     {1}, 600, 0, false, true},
    {UnitKind::Deviation, "kHz75", "", {"kHz"}, "KHz (75 KHz / 12 dBu)",
     "Déviation (KHz, réf. 75 KHz /12 dBu)", {75}, 0, 12},
    {UnitKind::Deviation, "kHz80", "", {"kHz"}, "KHz (80 KHz / 12 dBu)",
     "Déviation (KHz, réf. 80 KHz /12 dBu)", {80}, 0, 12},
    {UnitKind::VoltageLevel, "dBuV50", "dBµV50", {"dBuV", "dBµV"}, "dBuV (50 ohms)",
     "Niveau (dBuV, 50 ohms)", {1, 1E12}, 50},
    {UnitKind::VoltageLevel, "dBuV75", "dBµV75", {"dBuV", "dBµV"}, "dBuV (75 ohms)",
     "Niveau (dBuV, 75 ohms)", {1, 1E12}, 75},
});
// clang-format on

// The units of the window's lists.
inline constexpr int UnitCount = 12;
static_assert(UnitCatalogue.size() >= UnitCount);
inline constexpr int CatalogueSize = static_cast<int>(UnitCatalogue.size());

// The unit whose identifier is `identifier`, spelt exactly; -1 when there is none.
constexpr int UnitIndexOf(std::string_view identifier)
{
    for (int unit = 0; unit < CatalogueSize; ++unit) {
        if (UnitCatalogue[unit].identifier == identifier) {
            return unit;
        }
    }
    return -1;
}

// One field of every listed unit, in catalogue order.
template <auto Field>
constexpr std::array<std::string_view, UnitCount> UnitTexts()
{
    std::array<std::string_view, UnitCount> texts{};
    for (int unit = 0; unit < UnitCount; ++unit) {
        texts[unit] = UnitCatalogue[unit].*Field;
    }
    return texts;
}

// List entries, in catalogue order (UTF-8).
inline constexpr std::array<std::string_view, UnitCount> UnitLongNames =
    UnitTexts<&Unit::longName>();
// Labels shown beside a value box, in catalogue order (UTF-8).
inline constexpr std::array<std::string_view, UnitCount> UnitShortNames =
    UnitTexts<&Unit::shortName>();
// The identifiers, in catalogue order.
inline constexpr std::array<std::string_view, UnitCount> UnitIdentifiers =
    UnitTexts<&Unit::identifier>();

} // namespace tarvane
