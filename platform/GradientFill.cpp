#include "GradientFill.h"

#include <QPainter>

#include <algorithm>

namespace tarvane {

namespace {

// Division rounded down (towards minus infinity), for a positive divisor.
qint64 FloorDivide(qint64 numerator, qint64 divisor)
{
    const qint64 quotient = numerator / divisor;
    return numerator % divisor < 0 ? quotient - 1 : quotient;
}

int BlendChannel(int from, int to, qint64 offset, qint64 length, TBlendRounding rounding)
{
    const qint64 step = qint64(to - from) * offset;
    // Nearest rounds halves up, the way the channel's positive sum rounds.
    const qint64 change = rounding == TBlendRounding::TowardZero
        ? step / length
        : FloorDivide(2 * step + length, 2 * length);
    return int(std::clamp<qint64>(from + change, 0, 255));
}

} // namespace

QColor BlendColor(const QColor& start, const QColor& end, qint64 offset, qint64 length,
                  TBlendRounding rounding)
{
    return QColor(BlendChannel(start.red(), end.red(), offset, length, rounding),
                  BlendChannel(start.green(), end.green(), offset, length, rounding),
                  BlendChannel(start.blue(), end.blue(), offset, length, rounding));
}

QColor GradientBandColor(const QColor& from, const QColor& to, int band, int bands)
{
    return BlendColor(from, to, band, bands, TBlendRounding::Nearest);
}

void FillBandedGradient(QPainter& painter, const QRect& rect, const QColor& from, const QColor& to,
                        TGradientDirection direction, int bands, const QRect& visible)
{
    const QRect area = visible.isNull() ? rect : rect.intersected(visible);
    if (area.isEmpty() || !from.isValid())
        return;
    if (!to.isValid() || bands < 2) {
        painter.fillRect(area, from);
        return;
    }
    const bool vertical = direction != gdHorizontal;
    const int extent = vertical ? rect.height() : rect.width();
    for (int band = 0; band < bands; ++band) {
        const int start = extent * band / bands;
        const int end = extent * (band + 1) / bands;
        if (end <= start)
            continue;
        const QRect slice = vertical
            ? QRect(rect.left(), rect.top() + start, rect.width(), end - start)
            : QRect(rect.left() + start, rect.top(), end - start, rect.height());
        const QRect shown = slice.intersected(area);
        if (!shown.isEmpty())
            painter.fillRect(shown, GradientBandColor(from, to, band, bands));
    }
}

} // namespace tarvane
