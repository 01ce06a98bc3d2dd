// Any bytes as a pasted level: reading never fails unsafely, a level read is a finite number
// in a catalogue unit, written back with its unit's name (and an S-meter reading as a receiver
// shows it) it reads as the same level, and the window's listed unit of its family takes it.
#include "LevelForms.h"
#include "LevelText.h"
#include "NumberForms.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using namespace tarvane;

void ExpectSameLevel(const std::string& text, int currentUnit, const Level& level, double value,
                     double tolerance)
{
    const std::optional<Level> read = ReadLevel(text, currentUnit);
    const std::optional<double> readValue = read ? read->value.ToDouble() : std::nullopt;
    if (!readValue || !(read->unit == level.unit) || !(std::fabs(*readValue - value) <= tolerance))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    // The first byte picks the unit the box already has, or none.
    const int currentUnit = data[0] % (UnitCount + 1) - 1;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::optional<Level> level = ReadLevel(text, currentUnit);
    if (!level)
        return 0;
    const int unit = level->unit.unit;
    const std::optional<double> value = level->value.ToDouble();
    if (unit < 0 || unit >= CatalogueSize || !value || !std::isfinite(*value) || level->decimals < 0)
        std::abort();
    const std::string name = UnitName(level->unit);
    ExpectSameLevel(NumberToString(*value, 0) + " " + name, currentUnit, *level, *value,
                    1e-14 * std::fabs(*value) + 1e-300);
    const std::string reading = ValueToString(*value, unit, 0);
    if (UnitCatalogue[unit].notation == UnitNotation::SMeter && reading.starts_with('S')) {
        // "S9+20", and the band of any S-meter but the first.
        ExpectSameLevel(reading + name.substr(1), currentUnit, *level, *value,
                        1e-14 * (std::fabs(*value) + 10));
    }
    const std::optional<Level> listed = InListedUnit(*level);
    if (listed
        && (listed->unit.unit < 0 || listed->unit.unit >= UnitCount || !listed->value.ToDouble()
            || listed->decimals < 0))
        std::abort();
    return 0;
}
