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
    if (!box)
        return TAccessibleNumSpinEdit::text(type);
    const TConversionController& controller = *Controller();
    const bool source = controller.Source() == *box;
    if (type == QAccessible::Name) {
        const std::string_view unit = UnitShortNames.at(size_t(controller.Unit(*box)));
        return QStringLiteral("Valeur %1 %2, %3")
            .arg(*box == vbValue1 ? 1 : 2)
            .arg(source ? QStringLiteral("à convertir") : QStringLiteral("convertie"))
            .arg(QString::fromUtf8(unit.data(), qsizetype(unit.size())));
    }
    if (type == QAccessible::Description) {
        if (source || controller.Failed())
            return controller.ResultText();
        return QString();
    }
    return TAccessibleNumSpinEdit::text(type);
}

} // namespace tarvane
