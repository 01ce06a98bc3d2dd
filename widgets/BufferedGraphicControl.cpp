#include "BufferedGraphicControl.h"

#include <QPainter>

namespace tarvane {

TBufferedGraphicControl::TBufferedGraphicControl(QWidget* parent)
    : TBaseGraphicControl(parent)
{
    // Opaque: every pixel comes from the buffer, so the parent need not paint beneath.
    setAttribute(Qt::WA_OpaquePaintEvent, true);
}

void TBufferedGraphicControl::SetTransparent(bool value)
{
    if (m_transparent == value)
        return;
    m_transparent = value;
    // A see-through control makes the toolkit repaint the parent beneath it at each
    // repaint, so nothing of an earlier picture stays behind.
    setAttribute(Qt::WA_OpaquePaintEvent, !value);
    RepaintNow();
}

void TBufferedGraphicControl::PaintBackground(QPainter& painter)
{
    if (m_transparent) {
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(rect(), Qt::transparent);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    } else {
        painter.fillRect(rect(), ColorToQColor(Color()));
    }
}

void TBufferedGraphicControl::paintEvent(QPaintEvent*)
{
    if (size().isEmpty())
        return;
    // At the screen's own density, so the picture is not scaled up after drawing.
    const qreal ratio = devicePixelRatioF();
    if (m_buffer.size() != size() * ratio || m_buffer.devicePixelRatio() != ratio) {
        m_buffer = QImage(size() * ratio, QImage::Format_ARGB32_Premultiplied);
        m_buffer.setDevicePixelRatio(ratio);
    }
    {
        QPainter painter(&m_buffer);
        PaintBackground(painter);
        PaintForeground(painter);
    }
    QPainter(this).drawImage(0, 0, m_buffer);
}

} // namespace tarvane
