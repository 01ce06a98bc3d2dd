#include "KeyboardFocusFrame.h"

#include "TColor.h"

#include <QFocusEvent>
#include <QPainter>

namespace tarvane {

namespace {

constexpr int Margin = 2; // the frame's distance from the control, on the window's background

} // namespace

TKeyboardFocusFrame::TKeyboardFocusFrame(QWidget* parent, const QList<QWidget*>& framed)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
    for (QWidget* widget : framed)
        widget->installEventFilter(this);
}

bool TKeyboardFocusFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        switch (static_cast<QFocusEvent*>(event)->reason()) {
        case Qt::TabFocusReason:
        case Qt::BacktabFocusReason:
        case Qt::ShortcutFocusReason:
            m_keyboard = true;
            break;
        case Qt::MouseFocusReason:
            m_keyboard = false;
            break;
        default: // the window or a popup gave it back: as it was
            break;
        }
        if (m_keyboard)
            FrameAround(static_cast<QWidget*>(watched));
    } else if (event->type() == QEvent::FocusOut) {
        hide();
    }
    return QWidget::eventFilter(watched, event);
}

void TKeyboardFocusFrame::FrameAround(const QWidget* widget)
{
    setGeometry(widget->geometry().adjusted(-Margin, -Margin, Margin, Margin));
    raise();
    show();
    update();
}

void TKeyboardFocusFrame::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.setPen(ColorToQColor(clAqua));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace tarvane
