#include "BaseGraphicControl.h"

#include <QEvent>

namespace tarvane {

TBaseGraphicControl::TBaseGraphicControl(QWidget* parent)
    : QWidget(parent)
{
}

QString TBaseGraphicControl::Version() const
{
    return QStringLiteral("1.3");
}

void TBaseGraphicControl::SetColor(TColor value)
{
    if (m_color == value)
        return;
    m_color = value;
    RepaintNow();
}

void TBaseGraphicControl::Loaded()
{
    m_loading = false;
}

void TBaseGraphicControl::RepaintNow()
{
    if (!m_loading)
        repaint();
}

void TBaseGraphicControl::MouseEnter() {}

void TBaseGraphicControl::MouseLeave() {}

void TBaseGraphicControl::FontChanged()
{
    RepaintNow();
}

void TBaseGraphicControl::SysColorChanged()
{
    RepaintNow();
}

void TBaseGraphicControl::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    MouseEnter();
}

void TBaseGraphicControl::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    MouseLeave();
}

void TBaseGraphicControl::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        FontChanged();
    else if (event->type() == QEvent::PaletteChange)
        SysColorChanged();
}

} // namespace tarvane
