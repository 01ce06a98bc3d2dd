#include "RepeatSpeedButton.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>
#include <QTimer>

namespace tarvane {

TRepeatSpeedButton::TRepeatSpeedButton(QWidget* parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::ArrowCursor);
    setAttribute(Qt::WA_Hover);
}

void TRepeatSpeedButton::SetGlyph(const QPixmap& glyph)
{
    m_glyph = glyph;
    if (!m_glyph.isNull()) {
        const QImage image = m_glyph.toImage();
        m_glyph.setMask(m_glyph.createMaskFromColor(image.pixelColor(0, image.height() - 1)));
    }
    update();
}

void TRepeatSpeedButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QStyleOptionButton option;
    option.initFrom(this);
    option.rect = rect();
    // Disabled, pressed, hot and normal, in that order of precedence.
    option.state &= ~QStyle::State_MouseOver;
    if (isEnabled()) {
        if (DrawnPressed())
            option.state |= QStyle::State_Sunken;
        else if (m_hot)
            option.state |= QStyle::State_MouseOver | QStyle::State_Raised;
        else
            option.state |= QStyle::State_Raised;
    }
    style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &option, &painter, this);
    if (m_glyph.isNull())
        return;
    const int shift = DrawnPressed() ? 1 : 0;
    const QSize glyph = m_glyph.deviceIndependentSize().toSize();
    const QPoint origin((width() - glyph.width()) / 2 + shift,
                        (height() - glyph.height()) / 2 + shift);
    if (!isEnabled())
        painter.setOpacity(0.4);
    painter.drawPixmap(origin, m_glyph);
}

void TRepeatSpeedButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !isEnabled())
        return;
    m_down = true;
    m_hot = true;
    Notify(OnPress, this);
    if (!m_repeatTimer) {
        m_repeatTimer = new QTimer(this);
        connect(m_repeatTimer, &QTimer::timeout, this, &TRepeatSpeedButton::TimerExpired);
    }
    m_repeatTimer->start(FirstRepeatDelay);
    update();
}

void TRepeatSpeedButton::mouseMoveEvent(QMouseEvent* event)
{
    if (m_down)
        SetHot(rect().contains(event->position().toPoint()));
}

void TRepeatSpeedButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_down)
        return;
    m_down = false;
    m_repeatTimer->stop();
    const bool over = rect().contains(event->position().toPoint());
    SetHot(over);
    update();
    if (over)
        Click();
}

void TRepeatSpeedButton::enterEvent(QEnterEvent*)
{
    SetHot(true);
}

void TRepeatSpeedButton::leaveEvent(QEvent*)
{
    SetHot(false);
}

void TRepeatSpeedButton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange && !isEnabled() && m_down) {
        m_down = false;
        m_repeatTimer->stop();
    }
    QWidget::changeEvent(event);
}

void TRepeatSpeedButton::SetHot(bool hot)
{
    if (hot == m_hot)
        return;
    m_hot = hot;
    update();
}

void TRepeatSpeedButton::TimerExpired()
{
    m_repeatTimer->setInterval(RepeatInterval);
    if (!DrawnPressed())
        return; // paused while the pointer is off the button
    try {
        Click();
    } catch (...) {
        m_repeatTimer->stop();
        throw;
    }
}

void TRepeatSpeedButton::Click()
{
    Notify(OnClick, this);
}

} // namespace tarvane
