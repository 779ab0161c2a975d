#pragma once

#include "platform/Rect.h"

#include <array>

class QPainter;

// The eight size handles without the selection frame, as the shape, line and text objects
// show them: outlined white squares when locked, black squares otherwise.
class TPriHandles {
public:
    static void Draw(QPainter& canvas, const std::array<TRect, 8>& handles, bool locked);
};
