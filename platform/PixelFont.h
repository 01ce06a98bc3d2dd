#pragma once

#include <QFont>
#include <QString>

class QColor;
class QWidget;

namespace tarvane {

// A face at a size in pixels, as the windows' stored layouts give their fonts.
QFont PixelFont(const QString& family, int pixels, bool bold = false);

// Sets the colour a label or a window draws its text in (and the edit boxes it holds).
void SetTextColor(QWidget* widget, const QColor& color);

} // namespace tarvane
