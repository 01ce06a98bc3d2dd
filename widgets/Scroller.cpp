#include "Scroller.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace tarvane {

namespace {

constexpr TColor EnabledArrowColor = clWhite;
constexpr TColor DisabledArrowColor = clGray;

// A filled triangle pointing left or right, centred in `box`.
void DrawArrow(QPainter& painter, const QRect& box, bool pointsLeft, const QColor& color)
{
    constexpr int halfHeight = 3;
    const int tipX = box.center().x() + (pointsLeft ? -2 : 2);
    const int y = box.center().y();
    painter.setPen(color);
    for (int step = 0; step <= halfHeight; ++step) {
        const int x = tipX + (pointsLeft ? step : -step);
        painter.drawLine(x, y - step, x, y + step);
    }
}

} // namespace

TScroller::TScroller(QWidget* parent)
    : QWidget(parent)
{
    resize(DefaultWidth, DefaultHeight);
}

void TScroller::SetRange(int min, int max)
{
    m_min = min;
    m_max = std::max(min, max);
    m_position = std::clamp(m_position, m_min, m_max);
    update();
}

void TScroller::SetPosition(int value)
{
    value = std::clamp(value, m_min, m_max);
    if (value == m_position)
        return;
    m_position = value;
    update();
}

void TScroller::SetColor(TColor value)
{
    if (value == m_color)
        return;
    m_color = value;
    update();
}

QRect TScroller::LeftArrowRect() const
{
    return QRect(0, 0, width() / 2, height());
}

QRect TScroller::RightArrowRect() const
{
    return QRect(width() / 2, 0, width() - width() / 2, height());
}

void TScroller::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), ColorToQColor(m_color));
    DrawArrow(painter, LeftArrowRect(), true,
              ColorToQColor(CanScrollLeft() ? EnabledArrowColor : DisabledArrowColor));
    DrawArrow(painter, RightArrowRect(), false,
              ColorToQColor(CanScrollRight() ? EnabledArrowColor : DisabledArrowColor));
}

void TScroller::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const int before = m_position;
    if (LeftArrowRect().contains(event->position().toPoint()))
        SetPosition(m_position - 1);
    else
        SetPosition(m_position + 1);
    if (m_position != before)
        Notify(OnChange, this);
}

} // namespace tarvane
