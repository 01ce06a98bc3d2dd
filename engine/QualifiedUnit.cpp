#include "QualifiedUnit.h"

#include "NumberForms.h"

namespace tarvane {

namespace {

// A power or a power level at an impedance that no listed unit has shows as the voltage across
// it, which is what the window's conversions keep between impedances.
constexpr int VoltageUnit = UnitIndexOf("Vrms");
static_assert(VoltageUnit >= 0);

} // namespace

QualifiedUnit WithImpedance(int unit, double ohms)
{
    const std::string_view symbol = UnitCatalogue[unit].symbols[0];
    int first = NoUnit;
    for (int candidate = 0; candidate < CatalogueSize; ++candidate) {
        const Unit& entry = UnitCatalogue[candidate];
        if (entry.symbols[0] != symbol) {
            continue;
        }
        if (entry.impedance == ohms) {
            return {candidate};
        }
        first = first == NoUnit ? candidate : first;
    }
    return {first, ohms};
}

std::string UnitName(const QualifiedUnit& unit)
{
    const Unit& entry = UnitCatalogue[unit.unit];
    if (unit.impedance != 0) {
        return std::string(entry.symbols[0]) + "@" + ExactNumberToString(unit.impedance);
    }
    if (unit.fullScaleUnit != NoUnit) {
        return std::string(entry.symbols[0]) + "@" + ExactNumberToString(unit.fullScale)
            + std::string(UnitCatalogue[unit.fullScaleUnit].identifier);
    }
    return std::string(entry.identifier);
}

int ListedUnitOf(const QualifiedUnit& unit)
{
    if (unit.impedance != 0) {
        return VoltageUnit;
    }
    if (unit.unit < UnitCount) {
        return unit.unit;
    }
    return UnitIndexOf(UnitCatalogue[unit.unit].listedAs);
}

} // namespace tarvane
