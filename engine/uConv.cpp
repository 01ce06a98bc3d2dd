#include "uConv.h"

#include "Conversion.h"
#include "Units.h"

#include <array>
#include <cmath>
#include <mutex>
#include <optional>

namespace tarvane {

bool ConversionFailed = false;

namespace {

// What a failed step into a power level leaves; every other step leaves 0.
constexpr double PowerLevelFailureValue = -999;

bool IsUnit(int unit)
{
    return unit >= 0 && unit < CatalogueSize;
}

bool IsCatalogueUnit(const QualifiedUnit& unit)
{
    return IsUnit(unit.unit) && unit == QualifiedUnit{unit.unit};
}

// The conversion between two units, or null when they lack what they need: between catalogue
// units as they are, prepared at its first use and kept; between others, prepared into `own`.
const Conversion* ConversionBetween(const QualifiedUnit& from, const QualifiedUnit& to,
                                    std::optional<Conversion>& own)
{
    if (!IsCatalogueUnit(from) || !IsCatalogueUnit(to)) {
        own = Conversion::Between(from, to);
        return own ? &*own : nullptr;
    }
    constexpr std::size_t Pairs = std::size_t(CatalogueSize) * CatalogueSize;
    static std::array<std::once_flag, Pairs> prepared;
    static std::array<std::optional<Conversion>, Pairs> conversions;
    const auto pair = static_cast<std::size_t>(from.unit * CatalogueSize + to.unit);
    std::call_once(prepared[pair], [&] { conversions[pair] = Conversion::Between(from, to); });
    return conversions[pair] ? &*conversions[pair] : nullptr;
}

} // namespace

std::optional<double> TryConvertValue(const ScaledReal& value, const QualifiedUnit& fromUnit,
                                      const QualifiedUnit& toUnit) noexcept
{
    std::optional<Conversion> own;
    const Conversion* const conversion = ConversionBetween(fromUnit, toUnit, own);
    return conversion ? (*conversion)(value) : std::nullopt;
}

std::optional<double> TryConvertValue(double value, const QualifiedUnit& fromUnit,
                                      const QualifiedUnit& toUnit) noexcept
{
    if (fromUnit == toUnit || !std::isfinite(value)) {
        std::optional<Conversion> own;
        const bool complete = ConversionBetween(fromUnit, toUnit, own) != nullptr;
        return complete && fromUnit == toUnit ? std::optional(value) : std::nullopt;
    }
    return TryConvertValue(ScaledReal::Of(value), fromUnit, toUnit);
}

std::optional<double> TryConvertValue(double value, int fromUnit, int toUnit) noexcept
{
    return TryConvertValue(value, QualifiedUnit{fromUnit}, QualifiedUnit{toUnit});
}

double ConvertValue(double value, int fromUnit, int toUnit) noexcept
{
    if (const std::optional<double> result = TryConvertValue(value, fromUnit, toUnit)) {
        return *result;
    }
    ConversionFailed = true;
    // What the failed formula step leaves: -999 from the voltage-to-power-level rule, 0 from
    // every other step, and 0 where no formula runs at all.
    const bool formulaRan = IsUnit(fromUnit) && IsUnit(toUnit) && std::isfinite(value);
    return formulaRan && UnitCatalogue[toUnit].kind == UnitKind::PowerLevel ? PowerLevelFailureValue
                                                                            : 0;
}

} // namespace tarvane
