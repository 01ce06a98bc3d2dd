#include "GradientPanel.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWindow>
#include <algorithm>

namespace tarvane {

TGradientPanel::TGradientPanel(QWidget* parent)
    : QWidget(parent)
{
    setGeometry(0, 0, 150, 150);
}

void TGradientPanel::Loaded()
{
    m_loading = false;
}

TColor TGradientPanel::StartColor() const
{
    return m_startColor;
}

void TGradientPanel::SetStartColor(TColor color)
{
    if (m_startColor == color)
        return;
    m_startColor = color;
    Changed();
}

TColor TGradientPanel::EndColor() const
{
    return m_endColor;
}

void TGradientPanel::SetEndColor(TColor color)
{
    if (m_endColor == color)
        return;
    m_endColor = color;
    Changed();
}

int TGradientPanel::ColorWidth() const
{
    return m_colorWidth;
}

void TGradientPanel::SetColorWidth(int width)
{
    if (width < 1 || m_colorWidth == width)
        return;
    m_colorWidth = width;
    Changed();
}

TGradientDirection TGradientPanel::Direction() const
{
    return m_direction;
}

void TGradientPanel::SetDirection(TGradientDirection direction)
{
    if (m_direction == direction)
        return;
    m_direction = direction;
    Changed();
}

bool TGradientPanel::SwapColors() const
{
    return m_swapColors;
}

void TGradientPanel::SetSwapColors(bool swap)
{
    if (m_swapColors == swap)
        return;
    m_swapColors = swap;
    Changed();
}

bool TGradientPanel::FormDrag() const
{
    return m_formDrag;
}

void TGradientPanel::SetFormDrag(bool formDrag)
{
    m_formDrag = formDrag;
}

QString TGradientPanel::Version() const
{
    return QStringLiteral("1.3");
}

void TGradientPanel::Changed()
{
    if (!m_loading)
        repaint();
}

// Qt's backing store is the off-screen picture: the finished gradient reaches the screen
// in one copy, so a repaint never shows it half drawn.
void TGradientPanel::paintEvent(QPaintEvent*)
{
    QColor start = ColorToQColor(m_startColor);
    QColor end = ColorToQColor(m_endColor);
    if (m_swapColors)
        std::swap(start, end);

    QPainter painter(this);
    switch (m_direction) {
    case gdUpDown:
    case gdUpDownHalf:
        PaintBands(painter, true, m_direction == gdUpDownHalf, start, end);
        break;
    case gdLeftRight:
    case gdLeftRightHalf:
        PaintBands(painter, false, m_direction == gdLeftRightHalf, start, end);
        break;
    case gdChord1:
    case gdChord2:
        PaintChords(painter, start, end);
        break;
    }
}

// Band k covers offsets k * ColorWidth onwards. In a half mode the bands go on past the
// middle while the colour offset counts back down, mirroring the first half.
void TGradientPanel::PaintBands(QPainter& painter, bool horizontal, bool half, const QColor& start,
                                const QColor& end) const
{
    const qint64 extent = horizontal ? height() : width();
    const qint64 length = half ? extent / 2 : extent;
    if (length == 0)
        return;

    qint64 position = 0;
    const auto band = [&](qint64 i) {
        const int size = int(std::min<qint64>(m_colorWidth, extent - position));
        const QRect area = horizontal ? QRect(0, int(position), width(), size)
                                      : QRect(int(position), 0, size, height());
        painter.fillRect(area, BlendColor(start, end, i, length, TBlendRounding::TowardZero));
        position += m_colorWidth;
    };

    qint64 i = 0;
    for (; i < length; i += m_colorWidth)
        band(i);
    if (!half)
        return;
    // Bands below the far edge would be clipped away: stop there.
    for (; i >= 0 && position < extent; i -= m_colorWidth)
        band(i);
}

void TGradientPanel::PaintChords(QPainter& painter, const QColor& start, const QColor& end) const
{
    const qint64 length = qint64(width()) + height();
    if (length == 0)
        return;
    // A pen twice the length already covers the whole panel from any corner.
    QPen pen(Qt::SolidLine);
    pen.setWidth(int(std::min<qint64>(m_colorWidth, 2 * length)));
    pen.setCapStyle(Qt::RoundCap);
    for (qint64 i = 0; i <= length; i += m_colorWidth) {
        pen.setColor(BlendColor(start, end, i, length, TBlendRounding::TowardZero));
        painter.setPen(pen);
        const int offset = int(i);
        if (m_direction == gdChord1)
            painter.drawLine(offset, 0, -1, offset);
        else
            painter.drawLine(0, height() - offset, offset, height());
    }
}

void TGradientPanel::mousePressEvent(QMouseEvent* event)
{
    QWidget::mousePressEvent(event);
    if (!m_formDrag || event->button() != Qt::LeftButton)
        return;
    if (QWindow* const handle = window()->windowHandle())
        handle->startSystemMove();
}

} // namespace tarvane
