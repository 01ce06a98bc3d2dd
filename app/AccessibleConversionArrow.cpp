#include "AccessibleConversionArrow.h"

#include "ArrowIndicator.h"
#include "ConversionController.h"
#include "frmMain.h"

namespace tarvane {

TAccessibleConversionArrow::TAccessibleConversionArrow(TArrowIndicator* arrow)
    : TAccessibleArrowIndicator(arrow)
{
}

bool TAccessibleConversionArrow::ConversionFailed(const QWidget* arrow)
{
    const auto* window = qobject_cast<const TfmMain*>(arrow->window());
    return window && window->Controller() && window->Controller()->Failed();
}

// A picture: AT-SPI has no indicator role, and screen readers skip the "unknown" role it
// would become.
QAccessible::Role TAccessibleConversionArrow::role() const
{
    return QAccessible::Graphic;
}

QString TAccessibleConversionArrow::text(QAccessible::Text type) const
{
    if (type == QAccessible::Description)
        return ConversionFailed(widget()) ? QStringLiteral("Conversion impossible")
                                          : QStringLiteral("Conversion réussie");
    if (type == QAccessible::Name) {
        const bool fromBox2 = static_cast<TArrowIndicator*>(widget())->Direction() == pdLeft;
        return fromBox2 ? QStringLiteral("Sens de conversion : de la valeur 2 vers la valeur 1")
                        : QStringLiteral("Sens de conversion : de la valeur 1 vers la valeur 2");
    }
    return TAccessibleArrowIndicator::text(type);
}

} // namespace tarvane
