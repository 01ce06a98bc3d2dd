#include "AccessibleValueBox.h"

#include "ConversionController.h"
#include "NumSpinEdit.h"
#include "Units.h"
#include "frmMain.h"

namespace tarvane {

TAccessibleValueBox::TAccessibleValueBox(TNumSpinEdit* box)
    : TAccessibleNumSpinEdit(box)
{
}

const TConversionController* TAccessibleValueBox::Controller() const
{
    const auto* window = qobject_cast<const TfmMain*>(Edit()->window());
    return window ? window->Controller() : nullptr;
}

// Which value box this is; nothing for the window's other spin edits, or while the window
// is still being built.
std::optional<TValueBox> TAccessibleValueBox::Box() const
{
    const auto* window = qobject_cast<const TfmMain*>(Edit()->window());
    if (!window || !window->Controller())
        return std::nullopt;
    if (Edit() == window->edValue1)
        return vbValue1;
    if (Edit() == window->edValue2)
        return vbValue2;
    return std::nullopt;
}

QString TAccessibleValueBox::text(QAccessible::Text type) const
{
    const std::optional<TValueBox> box = Box();
    if (!box || (type != QAccessible::Name && type != QAccessible::Description))
        return TAccessibleNumSpinEdit::text(type);
    if (type == QAccessible::Name)
        return QStringLiteral("Valeur %1").arg(*box == vbValue1 ? 1 : 2);
    const TConversionController& controller = *Controller();
    const std::string_view unit = UnitShortNames.at(size_t(controller.Unit(*box)));
    const QString description = (controller.Source() == *box ? QStringLiteral("à convertir, ")
                                                             : QStringLiteral("convertie, "))
        + QString::fromUtf8(unit.data(), qsizetype(unit.size()));
    return controller.Number(*box) ? description
                                   : description + QStringLiteral(", conversion impossible");
}

QList<QPair<QAccessibleInterface*, QAccessible::Relation>>
TAccessibleValueBox::relations(QAccessible::Relation match) const
{
    auto related = TAccessibleNumSpinEdit::relations(match);
    if (Box())
        related.removeIf([](const auto& relation) { return relation.second & QAccessible::Label; });
    return related;
}

} // namespace tarvane
