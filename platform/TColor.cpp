#include "TColor.h"

#include <QGuiApplication>
#include <QPalette>

namespace tarvane {

namespace {

// Desktop colour numbers, mapped to the application palette's roles.
QColor SystemColor(std::uint32_t index)
{
    const QPalette palette = QGuiApplication::palette();
    // clang-format off
    switch (index) {
    case 5: return palette.color(QPalette::Base);                       // window background
    case 8: return palette.color(QPalette::Text);                       // window text
    case 13: return palette.color(QPalette::Highlight);                 // selection
    case 14: return palette.color(QPalette::HighlightedText);           // selected text
    case 16: return palette.color(QPalette::Disabled, QPalette::Text);  // grey text
    case 18: return palette.color(QPalette::ButtonText);
    default: return palette.color(QPalette::Button);                    // button face and the rest
    }
    // clang-format on
}

} // namespace

QColor ColorToQColor(TColor color)
{
    if (color == clNone)
        return {};
    if (color & clSystemColor)
        return SystemColor(color & 0xFF);
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

TColor QColorToColor(const QColor& color)
{
    return TColor(color.red()) | (TColor(color.green()) << 8) | (TColor(color.blue()) << 16);
}

} // namespace tarvane
