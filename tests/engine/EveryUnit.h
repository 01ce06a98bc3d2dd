#pragma once

#include "LevelText.h"
#include "Units.h"

#include <QList>

namespace tarvane {

// Every unit of the catalogue, dBFS at the full scale of its example, and powers across other
// impedances: the units a test walks to try every pair.
inline QList<QualifiedUnit> EveryUnit()
{
    QList<QualifiedUnit> units;
    for (int unit = 0; unit < CatalogueSize; ++unit) {
        units << (UnitCatalogue[unit].parameter == UnitParameter::FullScale
                      ? ReadLevel(UnitCatalogue[unit].example)->unit
                      : QualifiedUnit{unit});
    }
    return units << ReadLevel("1 dBm@75")->unit << ReadLevel("1 W@8")->unit;
}

} // namespace tarvane
