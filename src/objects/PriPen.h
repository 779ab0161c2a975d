#pragma once

#include "platform/Color.h"

#include <QPen>
#include <cstdint>

// Pen styles by their stored ordinals.
enum TPenStyle : uint8_t { psSolid = 0, psDash = 1, psDot = 2, psDashDot = 3, psDashDotDot = 4, psClear = 5 };

// The outline pen of shapes and lines: colour, displayed width and style.
class TPriPen {
public:
    TColor Color = clBlack;
    int Width = 1;
    uint8_t Style = psSolid;

    // A geometric pen: dashes scale with the width, ends and joins are round. Styles without
    // a geometric form draw solid.
    static QPen MakeGeometric(TColor color, int width, uint8_t style);
    QPen Geometric(int width) const { return MakeGeometric(Color, width, Style); }

    bool operator==(const TPriPen&) const = default;
};
