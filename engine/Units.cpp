#include "Units.h"

namespace tarvane {

const std::array<std::string_view, UnitCount> UnitLongNames = {
    "Tension efficace (Veff / Vrms)",
    "Tension crête à crête (Vcac / Vpp)",
    "Puissance (dBm, réf. 1 mW dans 50 ohms)",
    "Puissance (dBm, réf. 1 mW dans 600 ohms)",
    "Décibels (dBu, réf. 775 mV)",
    "Décibels (dBV, réf. 1 V)",
    "Puissance (Watts, dans 50 ohms)",
    "Puissance (Watts, dans 600 ohms)",
    "Déviation (KHz, réf. 75 KHz /12 dBu)",
    "Déviation (KHz, réf. 80 KHz /12 dBu)",
    "Niveau (dBuV, 50 ohms)",
    "Niveau (dBuV, 75 ohms)",
};

const std::array<std::string_view, UnitCount> UnitShortNames = {
    "Veff (Vrms)",           "Vcac (Vpp)",        "dBm (1 mW / 50 ohms)",
    "dBm (1 mW / 600 ohms)", "dBu (réf. 775 mV)", "dBV (réf. 1 V)",
    "Watts (50 ohms)",       "Watts (600 ohms)",  "KHz (75 KHz / 12 dBu)",
    "KHz (80 KHz / 12 dBu)", "dBuV (50 ohms)",    "dBuV (75 ohms)",
};

} // namespace tarvane
