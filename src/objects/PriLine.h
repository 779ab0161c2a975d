#pragma once

#include "objects/PriBase.h"
#include "objects/PriPen.h"

// A straight line between two end points. The bounds are the box of the two points; which
// corner each point takes is the line's direction, kept by the end points through saving,
// loading and zooming.
class TPriLine : public TPriBase {
public:
    TPriLine();

    TPriPen Pen;
    int32_t SamePSize = 1;

    QPoint StartPoint() const { return FStartPoint; }
    QPoint EndPoint() const { return FEndPoint; }
    void SetStartPoint(QPoint p) { FStartPoint = p; }
    void SetEndPoint(QPoint p) { FEndPoint = p; }
    int PrintPenSize() const { return FPrintPenSize; }

    // Odd handles sit on the end point, even ones on the start point.
    QPoint GetHandlePoint(int handle) const { return (handle & 1) ? FEndPoint : FStartPoint; }
    QPoint GetAnchorPoint(int handle) const { return (handle & 1) ? FStartPoint : FEndPoint; }
    // Drags the end point under the handle: the other end becomes the start point.
    void DragEndPoint(int handle, QPoint delta);

    void DrawFocus(QPainter& canvas) override;
    int HandleTop(int index) const override;
    int HandleLeft(int index) const override;
    using TPriBase::AssignObject;
    // A line has no layout-only copy: its end points are its layout.
    void AssignObject(const TPriBase* source, bool layoutOnly) override;
    bool PtInObject(QPoint point) const override;
    void ScaleToView(QSize view, QSize paperPixels, int screenInch) override;
    void GetPrintRect(bool useMargins, QPoint deviceDpi, QRect& rect, double topMarginMm,
                      double leftMarginMm) const override;
    void GetOutputRect(QSize output, const TRect& margins, QRect& rect) const override;
    void PrintDraw(QPainter& canvas, const QRect& target, bool useMargins, QPoint pageOrigin, const TRect& pageMargins,
                   const QRect& pageClip) override;
    void DrawObject(TBltMode mode, QPainter& canvas) override;
    void MoveBy(QPoint delta) override;
    void SizeBy(QPoint delta) override;
    bool LoadFromStream(TStreamReader& stream, int version) override;
    bool SaveToStream(TStreamWriter& stream, int version) override;
    void TrackSize(int handle, QPoint delta) override;
    void EndTrack(QPainter& canvas) override;
    void DrawTrack(QPainter& canvas) override;
    void DrawToImage(QPainter& canvas, const QRect& rect, QSize output) override;

    virtual void DrawLine(QPainter& canvas, QPoint from, TBltMode mode, int penWidth, const TRect& clip, QPoint to);
    virtual void ScalePenWidth(QSize view, QSize paperPixels);

protected:
    QPoint FStartPoint;
    QPoint FEndPoint;
    mutable int FPrintPenSize = 1;

private:
    // The displayed pen width before rounding: outputs scale this, so that a small zoom, which
    // cuts the displayed width to a whole pixel or to nothing, does not thin the output.
    double ViewPenWidth() const;
    double fViewPerPaper = 0;
    // The end points placed in a box (left, top, width, height) keeping the current direction.
    void PointsInBox(const QRect& box, QPoint& start, QPoint& end, bool equalAtFar) const;
};
