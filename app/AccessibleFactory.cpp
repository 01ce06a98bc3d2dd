#include "AccessibleFactory.h"

#include "AccessibleArrowIndicator.h"
#include "AccessibleConversionArrow.h"
#include "AccessibleNumSpinEdit.h"
#include "AccessibleRepeatButton.h"
#include "AccessibleTabStrip.h"
#include "AccessibleValueBox.h"
#include "ArrowIndicator.h"
#include "CustomTabStrip.h"
#include "NumSpinEdit.h"
#include "RepeatSpeedButton.h"
#include "ScrollText.h"
#include "SpokenNotice.h"
#include "frmMain.h"
#include "rtflabel.h"

namespace tarvane {

namespace {

// The main window's own interfaces. A control may be asked for while the window is still
// being built, so they find their part in the window each time they are asked.
QAccessibleInterface* MainWindowInterface(QWidget* widget)
{
    if (!qobject_cast<TfmMain*>(widget->window()))
        return nullptr;
    if (auto* box = qobject_cast<TNumSpinEdit*>(widget))
        return new TAccessibleValueBox(box);
    if (auto* arrow = qobject_cast<TArrowIndicator*>(widget))
        return new TAccessibleConversionArrow(arrow);
    if (qobject_cast<TSpokenNotice*>(widget))
        return new QAccessibleWidget(widget, QAccessible::Notification);
    return nullptr;
}

} // namespace

QAccessibleInterface* AccessibleFactory(const QString& /*className*/, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget)
        return nullptr;
    if (QAccessibleInterface* own = MainWindowInterface(widget))
        return own;
    if (auto* edit = qobject_cast<TNumSpinEdit*>(widget))
        return new TAccessibleNumSpinEdit(edit);
    if (auto* button = qobject_cast<TRepeatSpeedButton*>(widget))
        return new TAccessibleRepeatButton(button);
    if (auto* arrow = qobject_cast<TArrowIndicator*>(widget))
        return new TAccessibleArrowIndicator(arrow);
    if (auto* strip = qobject_cast<TCustomTabStrip*>(widget))
        return new TAccessibleTabStrip(strip);
    // The About window's painted texts: named by the window.
    if (qobject_cast<TScrollText*>(widget) || qobject_cast<TRTFLabel*>(widget))
        return new QAccessibleWidget(widget, QAccessible::StaticText);
    return nullptr;
}

} // namespace tarvane
