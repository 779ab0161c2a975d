#pragma once

#include "objects/PriBase.h"
#include "objects/PriBrush.h"
#include "objects/PriPen.h"

#include <QString>

// A frame of Rows equal rows marking where the detail rows of a record print. Only the first
// row is live while editing; the others are shown hatched as its repetitions.
class TPriPortal : public TPriBase {
public:
    TPriPortal();

    // Never below 1: it divides the height.
    int32_t Rows = 1;
    // Height of one row in view pixels; the height is ObjHeight * Rows.
    int32_t ObjHeight = 0;
    // Name of the field-definition file chosen for the portal; stored and shown only.
    QString Dataname;
    TPriPen Pen;
    TPriBrush Brush;
    // Pen width at 100 % zoom.
    int32_t SamePSize = 1;

    void SetRows(int rows) { Rows = rows < 1 ? 1 : rows; }

    void DrawFocus(QPainter& canvas) override;
    int HandleTop(int index) const override;
    using TPriBase::AssignObject;
    // The row count always travels, so that no copy is left with zero rows; with layoutOnly
    // the pen, brush, name and width stay.
    void AssignObject(const TPriBase* source, bool layoutOnly) override;
    void ScaleToView(QSize view, QSize paperPixels, int screenInch) override;
    void PrintDraw(QPainter& canvas, const QRect& target, bool useMargins, QPoint pageOrigin, const TRect& pageMargins,
                   const QRect& pageClip) override;
    void DrawObject(TBltMode mode, QPainter& canvas) override;
    void SizeBy(QPoint delta) override;
    bool LoadFromStream(TStreamReader& stream, int version) override;
    bool SaveToStream(TStreamWriter& stream, int version) override;
    void BeginTrack() override;
    void TrackSize(int handle, QPoint delta) override;
    void ApplyTrack() override;
    void DrawToImage(QPainter& canvas, const QRect& rect, QSize output) override;
    // Displayed pen width for a view of size view over a page of paperPixels at 100 %.
    virtual void ScalePenWidth(QSize view, QSize paperPixels);

    // Frame, row dividers and, in layout mode, the hatch over the repeated rows. Rectangle and
    // clip as left, top, right, bottom.
    void DrawGrid(QPainter& canvas, const TRect& rect, TBltMode mode, int penWidth, const TRect& clip,
                  int rowHeight) const;

private:
    // ObjHeight * Rows without overflow.
    int TotalHeight(int rowHeight) const;
};
