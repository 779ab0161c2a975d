#pragma once

#include "objects/PriBase.h"
#include "objects/PriBrush.h"
#include "objects/PriPen.h"

// What a shape draws, by its stored ordinal.
enum class TBltShape : uint8_t { Nothing = 0, RectAngle = 1, RoundRect = 2, Ellipse = 3, Eraser = 4 };

// A box drawn as a rectangle, rounded rectangle or ellipse, or an eraser that blanks what lies
// beneath it in white. The pen width is kept in screen pixels at 100 % (SamePSize).
class TPriShape : public TPriBase {
public:
    TPriShape();

    TBltShape Shape = TBltShape::Nothing;
    TPriPen Pen;
    TPriBrush Brush;
    // Corner ellipse of a RoundRect, in screen pixels; not scaled by the zoom.
    int32_t RoundNum = 10;
    int32_t SamePSize = 1;

    int PrintPenSize() const { return FPrintPenSize; }
    int PrintRound() const { return FPrintRound; }

    void DrawFocus(QPainter& canvas) override;
    using TPriBase::AssignObject;
    // With layoutOnly only the base part is copied.
    void AssignObject(const TPriBase* source, bool layoutOnly) override;
    void ScaleToView(QSize view, QSize paperPixels, int screenInch) override;
    void GetPrintRect(bool useMargins, QPoint deviceDpi, QRect& rect, double topMarginMm,
                      double leftMarginMm) const override;
    void GetOutputRect(QSize output, const TRect& margins, QRect& rect) const override;
    void DrawObject(TBltMode mode, QPainter& canvas) override;
    void PrintDraw(QPainter& canvas, const QRect& target, bool useMargins, QPoint pageOrigin, const TRect& pageMargins,
                   const QRect& pageClip) override;
    void DrawToImage(QPainter& canvas, const QRect& rect, QSize output) override;
    bool LoadFromStream(TStreamReader& stream, int version) override;
    bool SaveToStream(TStreamWriter& stream, int version) override;

    // Rectangle and clip as left, top, right, bottom.
    virtual void DrawShape(QPainter& canvas, const TRect& rect, TBltMode mode, int penWidth, const TRect& clip);
    // Displayed pen width for a view of size view over a page of paperPixels at 100 %.
    virtual void ScalePenWidth(QSize view, QSize paperPixels);

protected:
    // Device values for the print under way; GetPrintRect fills them.
    mutable int FPrintPenSize = 1;
    mutable int FPrintRound = 10;

private:
    // The displayed pen width before rounding: outputs scale this, so that a small zoom, which
    // cuts the displayed width to a whole pixel or to nothing, does not thin the output.
    double ViewPenWidth() const;
    double fViewPerPaper = 0;
};
