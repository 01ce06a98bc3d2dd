#pragma once

#include <QColor>
#include <QRect>
#include <QtGlobal>

class QPainter;

namespace tarvane {

// The layout of a gradient. The gradient panel knows all six; the banded fills of tabs and
// menus know the two full ones, under the names they carry there.
enum TGradientDirection {
    gdUpDown,                   // horizontal bands from the top down
    gdUpDownHalf,               // start at the top, end in the middle, start again at the bottom
    gdLeftRight,                // vertical bands from the left rightwards
    gdLeftRightHalf,            // start at the left, end in the middle, start again at the right
    gdChord1,                   // diagonals from the top edge to the left edge
    gdChord2,                   // diagonals from the left edge to the bottom edge
    gdVertical = gdUpDown,      // colour changes from top to bottom
    gdHorizontal = gdLeftRight, // colour changes from left to right
};

// How a blended channel falls on a whole value.
enum class TBlendRounding { TowardZero, Nearest };

// The colour `offset` of `length` of the way from `start` to `end`, channel by channel:
// start + (end - start) * offset / length, rounded as asked. Channels are kept within 0 to
// 255, since the half gradients may ask for an offset past the length. `length` must be > 0.
QColor BlendColor(const QColor& start, const QColor& end, qint64 offset, qint64 length,
                  TBlendRounding rounding);

// Colour of band `band` (0 based) of `bands` equal bands running from `from` to `to`:
// `band`/`bands` of the way, rounded to the nearest value.
QColor GradientBandColor(const QColor& from, const QColor& to, int band, int bands);

// Fills `rect` with `bands` equal bands from `from` to `to`, stacked top to bottom for
// gdVertical and left to right for gdHorizontal; an invalid `to` fills solid `from`.
// Band borders fall on whole pixels, so a band may be a pixel wider than another. Only the
// part inside `visible` is painted (all of `rect` when `visible` is null), so a widget can
// show its slice of a gradient that spans a larger reference area.
void FillBandedGradient(QPainter& painter, const QRect& rect, const QColor& from, const QColor& to,
                        TGradientDirection direction, int bands, const QRect& visible = QRect());

} // namespace tarvane
