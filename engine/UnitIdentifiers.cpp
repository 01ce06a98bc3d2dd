#include "UnitIdentifiers.h"

#include <algorithm>

namespace tarvane {

namespace {

char AsciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b)
{
    return !b.empty() && SameUnitName(a, b);
}

bool HasSymbol(const Unit& unit, std::string_view name)
{
    return std::ranges::any_of(unit.symbols,
                               [name](std::string_view symbol) { return SameName(name, symbol); });
}

} // namespace

bool SameUnitName(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

bool IsSymbolOf(int unit, std::string_view name)
{
    return HasSymbol(UnitCatalogue[unit], name);
}

std::optional<int> FindUnit(std::string_view name, int currentUnit)
{
    for (int unit = 0; unit < CatalogueSize; ++unit) {
        const Unit& entry = UnitCatalogue[unit];
        if (SameName(name, entry.identifier) || SameName(name, entry.alias)) {
            return unit;
        }
    }
    if (currentUnit >= 0 && currentUnit < CatalogueSize
        && HasSymbol(UnitCatalogue[currentUnit], name)) {
        return currentUnit;
    }
    for (int unit = 0; unit < CatalogueSize; ++unit) {
        if (HasSymbol(UnitCatalogue[unit], name)) {
            return unit;
        }
    }
    return std::nullopt;
}

} // namespace tarvane
