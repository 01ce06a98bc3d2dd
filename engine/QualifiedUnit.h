#pragma once

#include "UnitIdentifiers.h"

#include <string>

namespace tarvane {

// A unit as a level or a conversion takes it: a catalogue unit, with what follows "@" after
// its symbol when it takes something ("dBm@75", "dBFS@18dBu").
struct QualifiedUnit {
    int unit = 0;
    // Ohms, for a unit taken across another impedance than its own; 0 for its own.
    double impedance = 0;
    // For a unit measured from full scale: the level of full scale, in the catalogue unit
    // `fullScaleUnit`; NoUnit when it is not given.
    double fullScale = 0;
    int fullScaleUnit = NoUnit;

    friend bool operator==(const QualifiedUnit&, const QualifiedUnit&) = default;
};

// The unit `unit` across `ohms`: the catalogue unit of the same symbol with that impedance
// when there is one (dBm at 600 ohms is dBm600), else the first unit of that symbol.
QualifiedUnit WithImpedance(int unit, double ohms);

// The name the level reader reads the unit by: its identifier, or its symbol and what follows
// "@".
std::string UnitName(const QualifiedUnit& unit);

// The listed unit of the same family, which a level pasted into the window is converted into:
// the unit itself when the window lists it.
int ListedUnitOf(const QualifiedUnit& unit);

} // namespace tarvane
