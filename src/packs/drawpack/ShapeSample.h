#pragma once

#include "platform/Color.h"

#include <QWidget>

// A small live picture of the pen and brush being chosen: the shape, or a line for pens alone.
class TShapeSample : public QWidget {
public:
    struct TLook {
        int32_t PenStyle = 0;
        int32_t PenWidth = 1;
        TColor PenColor = clBlack;
        int32_t BrushStyle = 0;
        TColor BrushColor = clWhite;
        int32_t RoundNum = -1; // below 0: a plain rectangle
        bool ShowPen = true;
        bool ShowBrush = true;
    };

    explicit TShapeSample(QWidget* parent = nullptr);
    void SetLook(const TLook& look);
    QSize sizeHint() const override { return {220, 130}; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    TLook fLook;
};
