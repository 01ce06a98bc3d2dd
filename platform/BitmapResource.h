#pragma once

#include <QImage>
#include <QString>

namespace tarvane {

// A bitmap the program carries, by resource name ("SPINUP" for ":/bitmaps/SPINUP.bmp").
// On a dense screen (ScreenDensity), the twice-as-fine drawing
// ("SPINUP@2x") when there is one, whose device pixel ratio is then 2; its size in pixels
// is the same. A null image when there is no such bitmap.
QImage LoadBitmapResource(const QString& name);

} // namespace tarvane
