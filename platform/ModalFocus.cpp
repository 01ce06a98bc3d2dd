#include "ModalFocus.h"

#include "WaylandSession.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace tarvane {

void TModalFocus::InstallOnWayland(QObject* application)
{
    if (OnWayland())
        application->installEventFilter(new TModalFocus(application));
}

TModalFocus::TModalFocus(QObject* parent)
    : QObject(parent)
{
}

bool TModalFocus::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::WindowActivate || !watched->isWidgetType())
        return false;
    const auto* activated = static_cast<QWidget*>(watched);
    QWidget* const modal = QApplication::activeModalWidget();
    if (!activated->isWindow() || !modal || modal == activated)
        return false;
    // Queued: the activation under way ends first. Only while the blocked window still has
    // the focus: Qt's Wayland layer (6.4, and 6.8 still) asks for the focus in the name of the
    // focused window, and crashes on one that has lost its native window (a menu closing as
    // the dialog opens).
    QMetaObject::invokeMethod(
        modal,
        [dialog = QPointer<QWidget>(modal),
         blocked = QPointer<QWindow>(activated->windowHandle())] {
            if (dialog && dialog->isVisible() && blocked && blocked->handle()
                && QGuiApplication::focusWindow() == blocked)
                dialog->activateWindow();
        },
        Qt::QueuedConnection);
    return false;
}

} // namespace tarvane
