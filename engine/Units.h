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

// What a unit's symbol may be followed by, after "@".
enum class UnitParameter {
    None,
    Impedance, // ohms, in place of the unit's own impedance ("dBm@75", "W@8")
    FullScale, // the analogue level of 0 dB, which the unit cannot do without ("dBFS@18dBu")
};

// How a unit's values are written.
enum class UnitNotation {
    Number, // a number, then the unit
    SMeter, // as a receiver's S-meter shows them: "S7", "S9+12"
};

// A positive number as the quotient of two doubles that hold it exactly (0.6 as 6 / 10), so
// that the formulas never start from a rounded reference.
struct Fraction {
    double numerator = 1;
    double denominator = 1;
};

// A level in another unit of the catalogue, named by its identifier.
struct ReferenceLevel {
    double value = 0;
    std::string_view unit{};
};

// One unit of the catalogue.
struct Unit {
    UnitKind kind = UnitKind::Voltage;
    // The name a level or the command line writes it with ("dBm50"), in any case of letters.
    std::string_view identifier{};
    // Another name it answers to ("Veff"), or none.
    std::string_view alias{};
    // The symbols a level may carry instead of the identifier ("dBm"). Units that share a symbol
    // differ only in their impedance or FM reference; the symbol names the first of them.
    std::array<std::string_view, 2> symbols{};
    // The French label beside a value box, and the French list entry.
    std::string_view shortName{};
    std::string_view longName{};
    // Voltage: the square of its ratio to the RMS voltage (8 for peak-to-peak).
    // VoltageLevel: the square of the voltage of 0 dB, in V². PowerLevel: the power of 0 dB,
    // in W. Deviation: the deviation, in kHz, at the voltage of `deviationLevel`.
    Fraction reference{};
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
    // What may follow "@" after one of its symbols.
    UnitParameter parameter = UnitParameter::None;
    // VoltageLevel: the level its reference voltage has in another unit, in place of
    // `reference` (S9 is -73 dBm); none when `unit` is empty.
    ReferenceLevel referenceLevel{};
    // VoltageLevel: its value at the reference voltage, and the dB of one step of its value
    // (an S-meter reads S9 there and steps by 6 dB).
    double stepAtReference = 0;
    double decibelsPerStep = 1;
    UnitNotation notation = UnitNotation::Number;
    // A unit the window does not list: the listed unit of its family, by identifier, which a
    // level pasted in it is converted into.
    std::string_view listedAs{};
    // A level written in this unit, as the unit list shows it.
    std::string_view example{};
};

// A level in dB above a reference: its values add as powers, and differ by dB.
constexpr bool IsLevelInDb(const Unit& unit)
{
    return unit.kind == UnitKind::VoltageLevel || unit.kind == UnitKind::PowerLevel;
}

// The catalogue. The window lists its first UnitCount units in this order: a unit's index is
// the row of both unit lists and the number stored in the preferences file, so an entry may
// never be moved, and units the window does not list come after them.
// clang-format off
inline constexpr std::array UnitCatalogue = std::to_array<Unit>({
    {.kind = UnitKind::Voltage, .identifier = "Vrms", .alias = "Veff", .symbols = {"V"},
     .shortName = "Veff (Vrms)", .longName = "Tension efficace (Veff / Vrms)", .reference = {1},
     .example = "0.775 Veff"},
    {.kind = UnitKind::Voltage, .identifier = "Vpp", .alias = "Vcac", .shortName = "Vcac (Vpp)",
     .longName = "Tension crête à crête (Vcac / Vpp)", .reference = {8},
     .intoDeviationUnchecked = true, .example = "2.8284 Vpp"},
    {.kind = UnitKind::PowerLevel, .identifier = "dBm50", .symbols = {"dBm"},
     .shortName = "dBm (1 mW / 50 ohms)", .longName = "Puissance (dBm, réf. 1 mW dans 50 ohms)",
     .reference = {1, 1000}, .impedance = 50, .intoDeviationUnchecked = true,
     .oneStepWithPeakVoltages = true, .parameter = UnitParameter::Impedance, .example = "-73 dBm"},
    {.kind = UnitKind::PowerLevel, .identifier = "dBm600", .symbols = {"dBm"},
     .shortName = "dBm (1 mW / 600 ohms)", .longName = "Puissance (dBm, réf. 1 mW dans 600 ohms)",
     .reference = {1, 1000}, .impedance = 600, .intoDeviationUnchecked = true,
     .oneStepWithPeakVoltages = true, .parameter = UnitParameter::Impedance,
     .example = "0 dBm600"},
    {.kind = UnitKind::VoltageLevel, .identifier = "dBu", .shortName = "dBu (réf. 775 mV)",
     .longName = "Décibels (dBu, réf. 775 mV)", .reference = {6, 10},
     .intoDeviationUnchecked = true, .oneStepWithPeakVoltages = true, .example = "12 dBu"},
    {.kind = UnitKind::VoltageLevel, .identifier = "dBV", .shortName = "dBV (réf. 1 V)",
     .longName = "Décibels (dBV, réf. 1 V)", .reference = {1}, .example = "-10 dBV"},
    {.kind = UnitKind::Power, .identifier = "W50", .symbols = {"W"}, .shortName = "Watts (50 ohms)",
     .longName = "Puissance (Watts, dans 50 ohms)", .reference = {1}, .impedance = 50,
     .oneStepWithPeakVoltages = true, .parameter = UnitParameter::Impedance, .example = "2 mW"},
    {.kind = UnitKind::Power, .identifier = "W600", .symbols = {"W"},
     .shortName = "Watts (600 ohms)", .longName = "Puissance (Watts, dans 600 ohms)",
     .reference = {1}, .impedance = 600, .oneStepWithPeakVoltages = true,
     .parameter = UnitParameter::Impedance, .example = "1 W600"},
    {.kind = UnitKind::Deviation, .identifier = "kHz75", .symbols = {"kHz"},
     .shortName = "KHz (75 KHz / 12 dBu)", .longName = "Déviation (KHz, réf. 75 KHz /12 dBu)",
     .reference = {75}, .deviationLevel = 12, .example = "40 kHz"},
    {.kind = UnitKind::Deviation, .identifier = "kHz80", .symbols = {"kHz"},
     .shortName = "KHz (80 KHz / 12 dBu)", .longName = "Déviation (KHz, réf. 80 KHz /12 dBu)",
     .reference = {80}, .deviationLevel = 12, .example = "80 kHz80"},
    {.kind = UnitKind::VoltageLevel, .identifier = "dBuV50", .alias = "dBµV50",
     .symbols = {"dBuV", "dBµV"}, .shortName = "dBuV (50 ohms)",
     .longName = "Niveau (dBuV, 50 ohms)", .reference = {1, 1E12}, .impedance = 50,
     .example = "34 dBµV"},
    {.kind = UnitKind::VoltageLevel, .identifier = "dBuV75", .alias = "dBµV75",
     .symbols = {"dBuV", "dBµV"}, .shortName = "dBuV (75 ohms)",
     .longName = "Niveau (dBuV, 75 ohms)", .reference = {1, 1E12}, .impedance = 75,
     .example = "60 dBuV75"},
    {.kind = UnitKind::Voltage, .identifier = "Vp", .alias = "Vc", .shortName = "Vc (Vp)",
     .longName = "Tension crête (Vc / Vp)", .reference = {2}, .oneStepWithPeakVoltages = true,
     .listedAs = "Vrms", .example = "1.4142 Vp"},
    {.kind = UnitKind::VoltageLevel, .identifier = "dBmV", .shortName = "dBmV (réf. 1 mV)",
     .longName = "Niveau (dBmV, réf. 1 mV)", .reference = {1, 1E6}, .listedAs = "dBuV75",
     .example = "30 dBmV"},
    {.kind = UnitKind::PowerLevel, .identifier = "dBW", .symbols = {"dBW"},
     .shortName = "dBW (1 W / 50 ohms)", .longName = "Puissance (dBW, réf. 1 W dans 50 ohms)",
     .reference = {1}, .impedance = 50, .intoDeviationUnchecked = true,
     .oneStepWithPeakVoltages = true, .parameter = UnitParameter::Impedance,
     .listedAs = "dBm50", .example = "-3 dBW"},
    {.kind = UnitKind::PowerLevel, .identifier = "dBk", .symbols = {"dBk"},
     .shortName = "dBk (1 kW / 50 ohms)", .longName = "Puissance (dBk, réf. 1 kW dans 50 ohms)",
     .reference = {1000}, .impedance = 50, .intoDeviationUnchecked = true,
     .oneStepWithPeakVoltages = true, .parameter = UnitParameter::Impedance,
     .listedAs = "dBm50", .example = "10 dBk"},
    {.kind = UnitKind::PowerLevel, .identifier = "dBuW", .alias = "dBµW",
     .symbols = {"dBuW", "dBµW"}, .shortName = "dBµW (1 µW / 50 ohms)",
     .longName = "Puissance (dBµW, réf. 1 µW dans 50 ohms)", .reference = {1, 1E6},
     .impedance = 50, .intoDeviationUnchecked = true, .oneStepWithPeakVoltages = true,
     .parameter = UnitParameter::Impedance, .listedAs = "dBm50", .example = "-43 dBµW"},
    {.kind = UnitKind::VoltageLevel, .identifier = "dBFS", .symbols = {"dBFS"},
     .shortName = "dBFS", .longName = "Numérique (dBFS, 0 dBFS au niveau après @)",
     .intoDeviationUnchecked = true, .oneStepWithPeakVoltages = true,
     .parameter = UnitParameter::FullScale, .listedAs = "dBu", .example = "-18 dBFS@18dBu"},
    {.kind = UnitKind::VoltageLevel, .identifier = "S", .alias = "S@HF", .shortName = "S (HF)",
     .longName = "S-mètre HF (S9 = -73 dBm dans 50 ohms, 6 dB par point)",
     .intoDeviationUnchecked = true, .oneStepWithPeakVoltages = true,
     .referenceLevel = {-73, "dBm50"}, .stepAtReference = 9, .decibelsPerStep = 6,
     .notation = UnitNotation::SMeter, .listedAs = "dBm50", .example = "S9+20"},
    {.kind = UnitKind::VoltageLevel, .identifier = "S@VHF", .shortName = "S (VHF)",
     .longName = "S-mètre VHF (S9 = -93 dBm dans 50 ohms, 6 dB par point)",
     .intoDeviationUnchecked = true, .oneStepWithPeakVoltages = true,
     .referenceLevel = {-93, "dBm50"}, .stepAtReference = 9, .decibelsPerStep = 6,
     .notation = UnitNotation::SMeter, .listedAs = "dBm50", .example = "S7@VHF"},
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

// Every unit the window does not list names the listed unit of its family.
constexpr bool EveryUnlistedUnitHasAListedOne()
{
    for (int unit = UnitCount; unit < CatalogueSize; ++unit) {
        const int listed = UnitIndexOf(UnitCatalogue[unit].listedAs);
        if (listed < 0 || listed >= UnitCount) {
            return false;
        }
    }
    return true;
}
static_assert(EveryUnlistedUnitHasAListedOne());

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
