#pragma once

#include <QColor>
#include <cstdint>

// Stored colours: red in the low byte, then green, then blue. A high byte of 0x02 marks a
// palette-relative colour (drawn as its plain RGB); negative values name system colours.
using TColor = int32_t;

constexpr TColor RGBColor(int r, int g, int b) {
    return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16);
}

QColor ColorToQColor(TColor color);
TColor QColorToColor(const QColor& color);

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clNone = 0x1FFFFFFF;
