#pragma once

#include "platform/Color.h"

#include <QBrush>
#include <cstdint>

// Brush styles by their stored ordinals.
enum TBrushStyle : uint8_t {
    bsSolid = 0,
    bsClear = 1,
    bsHorizontal = 2,
    bsVertical = 3,
    bsFDiagonal = 4,
    bsBDiagonal = 5,
    bsCross = 6,
    bsDiagCross = 7,
};

// The fill of a shape: colour and style.
class TPriBrush {
public:
    TColor Color = clWhite;
    uint8_t Style = bsSolid;

    QBrush ToQBrush() const;

    bool operator==(const TPriBrush&) const = default;
};
