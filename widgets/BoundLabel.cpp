#include "BoundLabel.h"

#include "PixelFont.h"

#include <QEvent>

namespace tarvane {

TBoundLabel::TBoundLabel(QWidget* control)
    : QLabel(control->parentWidget())
    , m_control(control)
{
    setBuddy(control);
    FollowVisibility();
    control->installEventFilter(this);
}

void TBoundLabel::SetLook(const TLabelLook& look)
{
    m_look = look;
    Place();
}

bool TBoundLabel::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
        Place();
        break;
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
        FollowVisibility();
        break;
    case QEvent::EnabledChange:
        setEnabled(m_control->isEnabled());
        break;
    case QEvent::ParentChange:
        setParent(m_control->parentWidget());
        FollowVisibility();
        Place();
        break;
    default:
        break;
    }
    return QLabel::eventFilter(watched, event);
}

void TBoundLabel::FollowVisibility()
{
    QWidget* const parent = m_control->parentWidget();
    setVisible(parent && m_control->isVisibleTo(parent));
}

void TBoundLabel::Place()
{
    setFont(m_look.Font);
    const QColor color = ColorToQColor(m_look.FontColor);
    if (color.isValid())
        SetTextColor(this, color);
    adjustSize();

    const QRect box = m_control->geometry();
    const QSize label = size();
    const int margin = m_look.Margin;
    const int besideLeft = box.left() - label.width() - margin;
    const int centredLeft = label.width() < box.width()
        ? box.left() + (box.width() - label.width()) / 2
        : box.left() - (label.width() - box.width()) / 2;
    const int above = box.top() - label.height() - margin;
    const int below = box.top() + box.height() + margin;
    const int middle = box.top() + (box.height() - label.height()) / 2;
    const int bottom = box.top() + box.height() - label.height();
    QPoint position;
    switch (m_look.Position) {
    case lpLeftTop:
    case lpLeftTopLeft:
        position = {besideLeft, box.top()};
        break;
    case lpLeftCenter:
    case lpLeftCenterLeft:
        position = {besideLeft, middle};
        break;
    case lpLeftBottom:
    case lpLeftBottomLeft:
        position = {besideLeft, bottom};
        break;
    case lpTopLeft:
        position = {box.left(), above};
        break;
    case lpBottomLeft:
        position = {box.left(), below};
        break;
    case lpTopCenter:
        position = {centredLeft, above};
        break;
    case lpBottomCenter:
        position = {centredLeft, below};
        break;
    }
    move(position);
}

} // namespace tarvane
