#include "AccessibleValueBox.h"

#include "NumSpinEdit.h"
#include "frmMain.h"

#include <QLabel>

namespace tarvane {

TAccessibleValueBox::TAccessibleValueBox(TNumSpinEdit* box)
    : TAccessibleNumSpinEdit(box)
{
}

bool TAccessibleValueBox::ShowsFailure(const TNumSpinEdit* box)
{
    return box->text() == u"-.--";
}

// The unit label under the box; none for the window's other spin edits.
const QLabel* TAccessibleValueBox::UnitLabel() const
{
    const auto* window = qobject_cast<const TfmMain*>(Edit()->window());
    if (!window)
        return nullptr;
    if (Edit() == window->edValue1)
        return window->lblUnit1;
    if (Edit() == window->edValue2)
        return window->lblUnit2;
    return nullptr;
}

QString TAccessibleValueBox::text(QAccessible::Text type) const
{
    const QLabel* unit = UnitLabel();
    if (type == QAccessible::Name && unit)
        return Edit()->LabelCaption() + QStringLiteral(", ") + unit->text();
    if (type == QAccessible::Description && ShowsFailure(Edit()))
        return QStringLiteral("Conversion impossible : cette valeur n'a pas d'équivalent dans "
                              "cette unité");
    return TAccessibleNumSpinEdit::text(type);
}

} // namespace tarvane
