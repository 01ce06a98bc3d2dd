// Any bytes as a pasted level: reading never fails unsafely, a level read is a finite number
// in a catalogue unit, and written back with its unit symbol it reads as the same level.
#include "LevelText.h"
#include "NumberForms.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace tarvane;
    if (size == 0)
        return 0;
    // The first byte picks the unit the box already has, or none.
    const int currentUnit = data[0] % (UnitCount + 1) - 1;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::optional<Level> level = ReadLevel(text, currentUnit);
    if (!level)
        return 0;
    if (level->unit < 0 || level->unit >= UnitCount || !std::isfinite(level->value)
        || level->decimals < 0)
        std::abort();
    const std::string copied =
        NumberToString(level->value, 0) + " " + std::string(UnitIdentifiers[level->unit]);
    const std::optional<Level> pastedBack = ReadLevel(copied, currentUnit);
    if (!pastedBack || pastedBack->unit != level->unit
        || std::fabs(pastedBack->value - level->value) > 1e-14 * std::fabs(level->value) + 1e-300)
        std::abort();
    return 0;
}
