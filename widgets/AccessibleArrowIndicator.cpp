#include "AccessibleArrowIndicator.h"

#include "ArrowIndicator.h"

namespace tarvane {

namespace {

QString DirectionName(TArrowDirection direction)
{
    // clang-format off
    switch (direction) {
    case pdLeft: return QStringLiteral("Flèche vers la gauche");
    case pdRight: return QStringLiteral("Flèche vers la droite");
    case pdUp: return QStringLiteral("Flèche vers le haut");
    case pdDown: return QStringLiteral("Flèche vers le bas");
    }
    // clang-format on
    return {};
}

} // namespace

TAccessibleArrowIndicator::TAccessibleArrowIndicator(TArrowIndicator* arrow)
    : QAccessibleWidget(arrow, QAccessible::Indicator)
{
}

QString TAccessibleArrowIndicator::text(QAccessible::Text type) const
{
    if (type == QAccessible::Name && widget()->accessibleName().isEmpty())
        return DirectionName(static_cast<TArrowIndicator*>(widget())->Direction());
    return QAccessibleWidget::text(type);
}

} // namespace tarvane
