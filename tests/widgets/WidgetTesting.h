#pragma once

#include <QFont>
#include <QImage>
#include <QString>
#include <QWidget>

namespace tarvane {

// What the widget shows, in a format whose pixels compare as plain RGB.
inline QImage Grab(QWidget& widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

inline QFont PixelFont(const QString& family, int pixels)
{
    QFont font(family);
    font.setPixelSize(pixels);
    return font;
}

} // namespace tarvane
