#pragma once

#include <QColor>
#include <QRect>

class QPainter;

namespace tarvane {

// The direction in which a gradient changes colour: top to bottom or left to right.
enum TGradientDirection { gdVertical, gdHorizontal };

// Colour of band `band` (0 based) of `bands` equal bands running from `from` to `to`:
// `band`/`bands` of the way, channel by channel, rounded.
QColor GradientBandColor(const QColor& from, const QColor& to, int band, int bands);

// Fills `rect` with `bands` equal bands from `from` to `to`; an invalid `to` fills solid `from`.
// Band borders fall on whole pixels, so a band may be a pixel wider than another. Only the
// part inside `visible` is painted (all of `rect` when `visible` is null), so a widget can
// show its slice of a gradient that spans a larger reference area.
void FillBandedGradient(QPainter& painter, const QRect& rect, const QColor& from,
                        const QColor& to, TGradientDirection direction, int bands,
                        const QRect& visible = QRect());

} // namespace tarvane
