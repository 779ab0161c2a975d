#pragma once

// Stands in for the real kinds in the redraw benchmarks: a framed, filled box with a line of text,
// and the focus frame when it has the focus.
#include "objects/PriBase.h"

#include <QPainter>

class TBenchBox : public TPriBase {
public:
    void DrawObject(TBltMode, QPainter& canvas) override {
        canvas.setPen(QPen(Qt::black, 2));
        canvas.setBrush(QColor(230, 240, 255));
        canvas.drawRect(QRect(Left, Top, Width, Height));
        canvas.setFont(Font);
        canvas.drawText(QRect(Left, Top, Width, Height), Qt::AlignCenter, QStringLiteral("こもれび 2026"));
        DrawFocus(canvas);
    }
};
