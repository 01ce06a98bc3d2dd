#include "GradientFill.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace tarvane {

namespace {

int BlendChannel(int from, int to, int band, int bands)
{
    return int(std::lround(from + double(to - from) * band / bands));
}

} // namespace

QColor GradientBandColor(const QColor& from, const QColor& to, int band, int bands)
{
    return QColor(BlendChannel(from.red(), to.red(), band, bands),
                  BlendChannel(from.green(), to.green(), band, bands),
                  BlendChannel(from.blue(), to.blue(), band, bands));
}

void FillBandedGradient(QPainter& painter, const QRect& rect, const QColor& from,
                        const QColor& to, TGradientDirection direction, int bands,
                        const QRect& visible)
{
    const QRect area = visible.isNull() ? rect : rect.intersected(visible);
    if (area.isEmpty() || !from.isValid())
        return;
    if (!to.isValid() || bands < 2) {
        painter.fillRect(area, from);
        return;
    }
    const bool vertical = direction == gdVertical;
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
