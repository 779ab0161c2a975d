#pragma once

#include "objects/PriBase.h"

#include <QPainter>

// A plain object that fills its bounds, for surface tests; counts its draws.
class TBoxObject : public TPriBase {
public:
    explicit TBoxObject(QColor fill = Qt::red) : fFill(fill) { ObjectNum = okShape; }
    int Draws = 0;

    void DrawObject(TBltMode, QPainter& canvas) override {
        ++Draws;
        canvas.fillRect(QRect(Left, Top, Width, Height), fFill);
    }

private:
    QColor fFill;
};
