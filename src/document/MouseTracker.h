#pragma once

#include "platform/Rect.h"

#include <QPoint>
#include <QRegion>
#include <Qt>

class QPainter;
class TPriBase;
class TPriPaint;

// The surface's mouse editing: the state machine of SelectCheck, the creation gesture of the tools,
// moving and resizing with tracking frames, the rubber band and the rubber line. Frames, band and
// line are an overlay painted over the page bitmap on the screen, never into it, so a drag
// repaints only the frames' old and new outlines and the release redraws only the bounds touched.
class TMouseTracker {
public:
    explicit TMouseTracker(TPriPaint& doc);

    void Press(Qt::MouseButton button, bool shift, QPoint point, bool doubleClick, QPoint globalPoint);
    void Move(QPoint point, bool shift);
    void Release(QPoint point, bool shift);

    void PaintOverlay(QPainter& painter) const;
    // The screen area the overlay covers now.
    QRegion OverlayRegion() const;

    // Where the last button went down: the insertion point of a paste.
    QPoint DownPoint() const { return FDownPoint; }
    QPoint LastPoint() const { return FLastPoint; }
    const TRect& RubberRect() const { return FRubberRect; }
    int DragHandle() const { return FDragHandle; }
    TPriBase* Current() const { return FCurrentObject; }
    Qt::CursorShape Cursor() const { return fCursor; }
    // An object leaving the document is no longer the current one.
    void Forget(TPriBase* object);
    void Reset();

    // The size of an object made by a click without movement, in 0.1 mm, by tool.
    static QSize DefaultCreationSize(int objectMode);
    // Pointer distance from the visible edge within which a drag scrolls the page along.
    static constexpr int kAutoScrollMargin = 16;

private:
    void PressIdle(Qt::MouseButton button, bool shift, QPoint point, QPoint globalPoint);
    void PressSelected(Qt::MouseButton button, bool shift, QPoint point, bool doubleClick, QPoint globalPoint);
    void ReleaseMove(QPoint point);
    void ReleaseSearch();
    void ReleaseSize(QPoint point, bool shift);
    void ReleaseAdd();
    TRect CreationRect() const;
    bool OnPage(QPoint point) const;
    void SetCursor(Qt::CursorShape shape);
    // Repaints the old and the new overlay.
    void RefreshOverlay();
    void AutoScroll(QPoint point);
    // The rubber line's two ends for a selected line while one end is dragged.
    void RubberLineOf(const TPriBase& line, QPoint& from, QPoint& to) const;
    bool DraggingLineEnd() const;

    TPriPaint& fDoc;
    QPoint FDownPoint;
    QPoint FLastPoint;
    QPoint FMovePoint;
    // The last point of a move on the page: where the frozen frames show the object going.
    QPoint fLastOnPage;
    bool FConstrained = false;
    TRect FRubberRect;
    TPriBase* FCurrentObject = nullptr;
    int FDragHandle = -1;
    Qt::CursorShape fCursor = Qt::ArrowCursor;
    Qt::CursorShape FSavedCursor = Qt::ArrowCursor;
    QRegion fDrawnOverlay;
};
