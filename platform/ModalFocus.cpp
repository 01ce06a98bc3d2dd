#include "ModalFocus.h"

#include "WaylandSession.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>

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
    if (activated->isWindow() && modal && modal != activated) {
        // Queued: the activation under way ends first.
        QMetaObject::invokeMethod(
            modal,
            [dialog = QPointer<QWidget>(modal)] {
                if (dialog && dialog->isVisible())
                    dialog->activateWindow();
            },
            Qt::QueuedConnection);
    }
    return false;
}

} // namespace tarvane
