#include "AccessibleRepeatButton.h"

#include "RepeatSpeedButton.h"
#include "SpinButtons.h"

namespace tarvane {

TAccessibleRepeatButton::TAccessibleRepeatButton(TRepeatSpeedButton* button)
    : QAccessibleWidget(button, QAccessible::Button)
{
}

TRepeatSpeedButton* TAccessibleRepeatButton::Button() const
{
    return static_cast<TRepeatSpeedButton*>(widget());
}

QAccessibleInterface* TAccessibleRepeatButton::parent() const
{
    if (const auto* buttons = qobject_cast<TSpinButtons*>(widget()->parentWidget());
        buttons && buttons->FocusControl())
        return QAccessible::queryAccessibleInterface(buttons->FocusControl());
    return QAccessibleWidget::parent();
}

QStringList TAccessibleRepeatButton::actionNames() const
{
    return QStringList(pressAction()) + QAccessibleWidget::actionNames();
}

void TAccessibleRepeatButton::doAction(const QString& actionName)
{
    if (actionName != pressAction()) {
        QAccessibleWidget::doAction(actionName);
        return;
    }
    // As a click does: the press first (which focuses the box served), then one step.
    if (!Button()->isEnabled())
        return;
    Notify(Button()->OnPress, Button());
    Notify(Button()->OnClick, Button());
}

} // namespace tarvane
