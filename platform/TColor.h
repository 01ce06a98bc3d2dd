#pragma once

#include <QColor>
#include <cstdint>

namespace tarvane {

// A colour as stored in window layouts: 0x00BBGGRR (red in the low byte), or a desktop
// system colour 0x80000000 + n resolved when drawing, or clNone.
using TColor = std::uint32_t;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;

inline constexpr TColor clSystemColor = 0x80000000;
inline constexpr TColor clWindow = clSystemColor + 5;
inline constexpr TColor clWindowText = clSystemColor + 8;
inline constexpr TColor clBtnFace = clSystemColor + 15;
inline constexpr TColor clGrayText = clSystemColor + 16;
inline constexpr TColor clNone = 0x1FFFFFFF;

// The colour to paint with; system colours come from the application's palette.
// clNone gives an invalid QColor.
QColor ColorToQColor(TColor color);

// The stored form of an ordinary colour (alpha is dropped).
TColor QColorToColor(const QColor& color);

} // namespace tarvane
