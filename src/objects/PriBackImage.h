#pragma once

#include "platform/Rect.h"

#include <QImage>

class QPainter;

// The page background holder: one picture per side, drawn stretched beneath all objects.
class TPriBackImage {
public:
    QImage FMainBack;
    QImage FSubBack;
    bool FVisible = true;
    bool FUseSub = false;
    // The part of the active background that matches the visible rectangle.
    QImage FViewPart;

    QImage& ActiveBack() { return FUseSub ? FSubBack : FMainBack; }
    const QImage& ActiveBack() const { return FUseSub ? FSubBack : FMainBack; }
    bool IsEmpty() const { return ActiveBack().isNull() || ActiveBack().width() == 0 || ActiveBack().height() == 0; }

    void AssignBack(const TPriBackImage& other);
    void SetBackVisible(bool value) { FVisible = value; }
    void EraseBack() { ActiveBack() = QImage(); }
    void MakeViewPart(const TRect& view, int viewWidth, int viewHeight);

    // Draws the whole background stretched over the view, or the pre-cut part over the rectangle.
    void DrawWhole(QPainter& canvas, const TRect& target) const;
    void DrawViewPart(QPainter& canvas, const TRect& target) const;
};
