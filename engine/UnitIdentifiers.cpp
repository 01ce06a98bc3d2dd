#include "UnitIdentifiers.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <tuple>

namespace tarvane {

namespace {

constexpr char AsciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

// Room for the longest name of the catalogue, in bytes ("dBµV50").
constexpr std::size_t MaxNameLength = 8;

// A name of at most MaxNameLength bytes in lower case, its bytes in one number, as names are
// compared: no name holds a zero byte, so names of different sizes differ.
constexpr std::uint64_t NameKey(std::string_view name)
{
    std::uint64_t key = 0;
    for (std::size_t i = 0; i < name.size() && i < MaxNameLength; ++i) {
        key |= std::uint64_t(static_cast<unsigned char>(AsciiLower(name[i]))) << (8 * i);
    }
    return key;
}

// Calls visit(name, unit, whether it is a symbol) for every name of the catalogue.
template <typename Visit>
constexpr void ForEachName(Visit visit)
{
    for (int unit = 0; unit < CatalogueSize; ++unit) {
        const Unit& entry = UnitCatalogue[unit];
        for (const std::string_view name : std::array{entry.identifier, entry.alias}) {
            if (!name.empty()) {
                visit(name, unit, false);
            }
        }
        // By index: GCC 12 takes a range-for over this array for a change to the catalogue.
        for (std::size_t symbol = 0; symbol < entry.symbols.size(); ++symbol) {
            if (!entry.symbols[symbol].empty()) {
                visit(entry.symbols[symbol], unit, true);
            }
        }
    }
}

constexpr std::size_t NameCount()
{
    std::size_t count = 0;
    ForEachName([&count](std::string_view, int, bool) { ++count; });
    return count;
}

constexpr bool EveryNameFits()
{
    bool fits = true;
    ForEachName(
        [&fits](std::string_view name, int, bool) { fits = fits && name.size() <= MaxNameLength; });
    return fits;
}
static_assert(EveryNameFits());

// One name a unit answers to.
struct NameEntry {
    std::uint64_t key = 0;
    int unit = 0;
    bool symbol = false;
};

// Entries by their name's key, to find a key among them.
struct KeyOrder {
    bool operator()(const NameEntry& entry, std::uint64_t key) const { return entry.key < key; }
    bool operator()(std::uint64_t key, const NameEntry& entry) const { return key < entry.key; }
};

// Every name of the catalogue, sorted; of one name, the identifier or alias first, then the
// units it is a symbol of, in catalogue order. Searched at every level read.
constexpr auto NameTable = [] {
    std::array<NameEntry, NameCount()> table{};
    std::size_t next = 0;
    ForEachName([&](std::string_view name, int unit, bool symbol) {
        table[next++] = {NameKey(name), unit, symbol};
    });
    std::ranges::sort(table, {}, [](const NameEntry& entry) {
        return std::tuple(entry.key, entry.symbol, entry.unit);
    });
    return table;
}();

} // namespace

bool SameUnitName(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

std::optional<FoundUnit> LookUpUnit(std::string_view name, int currentUnit)
{
    if (name.size() > MaxNameLength) {
        return std::nullopt;
    }
    const auto [first, last] =
        std::equal_range(NameTable.begin(), NameTable.end(), NameKey(name), KeyOrder{});
    if (first == last) {
        return std::nullopt;
    }
    // An identifier or alias names one unit, and comes first.
    const auto isUnit = [](int unit) {
        return [unit](const NameEntry& entry) { return entry.unit == unit; };
    };
    const int unit = first->symbol && std::ranges::any_of(first, last, isUnit(currentUnit))
        ? currentUnit
        : first->unit;
    const bool bySymbol = std::ranges::any_of(
        first, last, [&](const NameEntry& entry) { return entry.symbol && isUnit(unit)(entry); });
    return FoundUnit{unit, bySymbol};
}

} // namespace tarvane
