#include "document/MouseTracker.h"

#include "document/EditStep.h"
#include "document/PriPaint.h"
#include "objects/PriLine.h"
#include "objects/PriShape.h"
#include "platform/Rounding.h"

#include <QPainter>
#include <algorithm>
#include <cstdlib>

namespace {

bool IsLine(const TPriBase* obj) {
    return obj && obj->ObjectNum == okLine && dynamic_cast<const TPriLine*>(obj);
}

TRect Normalized(QPoint a, QPoint b) {
    return {std::min(a.x(), b.x()), std::min(a.y(), b.y()), std::max(a.x(), b.x()), std::max(a.y(), b.y())};
}

// The outline of a frame as thin strips: a drag repaints these, not the area inside.
QRegion FrameRegion(const TRect& r) {
    if (r.IsEmpty()) return {};
    const QRect q = r.ToQRect().adjusted(-1, -1, 1, 1);
    QRegion region;
    region += QRect(q.left(), q.top(), q.width(), 3);
    region += QRect(q.left(), q.bottom() - 2, q.width(), 3);
    region += QRect(q.left(), q.top(), 3, q.height());
    region += QRect(q.right() - 2, q.top(), 3, q.height());
    return region;
}

void DrawFrame(QPainter& p, const TRect& r) {
    if (r.IsEmpty()) return;
    const QRect q(r.Left, r.Top, r.Width() - 1, r.Height() - 1);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 1));
    p.drawRect(q);
    p.setPen(QPen(Qt::black, 1, Qt::DotLine));
    p.drawRect(q);
}

} // namespace

TMouseTracker::TMouseTracker(TPriPaint& doc) : fDoc(doc) {}

void TMouseTracker::Forget(TPriBase* object) {
    if (FCurrentObject == object) FCurrentObject = nullptr;
}

void TMouseTracker::Reset() {
    FCurrentObject = nullptr;
    FDragHandle = -1;
    FRubberRect = TRect();
    FConstrained = false;
    if (!fDrawnOverlay.isEmpty()) fDoc.update(fDrawnOverlay);
    fDrawnOverlay = QRegion();
}

QSize TMouseTracker::DefaultCreationSize(int mode) {
    switch (mode) {
    case omLabel: return {400, 100};
    case omField: return {400, 100};
    case omImage: return {400, 300};
    case omLine: return {400, 0};
    case omPortal: return {600, 80};
    case omCarendar: return {700, 500};
    default: return {300, 200};
    }
}

bool TMouseTracker::OnPage(QPoint p) const {
    const QSize v = fDoc.ViewSize();
    return p.x() >= 0 && p.x() <= v.width() && p.y() >= 0 && p.y() <= v.height();
}

void TMouseTracker::SetCursor(Qt::CursorShape shape) {
    if (fCursor == shape) return;
    fCursor = shape;
    fDoc.setCursor(shape);
}

bool TMouseTracker::DraggingLineEnd() const {
    return fDoc.SelectCheck == mnSize && fDoc.ObjectMode() == omLine;
}

// ---- pressing

void TMouseTracker::Press(Qt::MouseButton button, bool shift, QPoint p, bool doubleClick, QPoint global) {
    if (button != Qt::LeftButton && button != Qt::RightButton) return;
    switch (fDoc.SelectCheck) {
    case mnNone: PressIdle(button, shift, p, global); break;
    case mnSearchOn:
        // A tool chosen while something is selected starts a creation all the same.
        if (fDoc.ObjectMode() != omNone && button == Qt::LeftButton)
            PressIdle(button, shift, p, global);
        else
            PressSelected(button, shift, p, doubleClick, global);
        break;
    default: break;
    }
}

void TMouseTracker::PressIdle(Qt::MouseButton button, bool shift, QPoint p, QPoint global) {
    FDownPoint = p;
    auto& list = fDoc.Objects();
    auto pick = [&](bool withLocked) -> TPriBase* {
        for (auto it = list.rbegin(); it != list.rend(); ++it)
            if ((withLocked || !(*it)->LockCheck) && (*it)->PtInObject(p)) return it->get();
        return nullptr;
    };
    const QList<TPriBase*> before = fDoc.SelectList();
    const bool clear = !shift || before.size() > 1;
    if (button == Qt::LeftButton) {
        if (clear && fDoc.DeselectAll()) fDoc.RedrawObjects(before);
        if (fDoc.ObjectMode() != omNone) {
            FLastPoint = FDownPoint;
            FRubberRect = TRect();
            fDoc.SelectCheck = mnAdd;
            return;
        }
        if (TPriBase* obj = pick(false)) {
            fDoc.SelectObject(obj);
            FCurrentObject = obj;
            fDoc.RedrawObjects({obj});
            FLastPoint = fLastOnPage = FDownPoint;
            FDragHandle = -100;
            fDoc.SelectCheck = mnMove;
        } else {
            FRubberRect = TRect();
            fDoc.SelectCheck = mnSearch;
        }
        return;
    }
    if (clear && fDoc.DeselectAll()) fDoc.RedrawObjects(before);
    FCurrentObject = pick(true);
    if (FCurrentObject) {
        fDoc.SelectObject(FCurrentObject);
        fDoc.RedrawObjects({FCurrentObject});
    }
    fDoc.Host().ShowContextMenu(FCurrentObject, global);
}

void TMouseTracker::PressSelected(Qt::MouseButton button, bool shift, QPoint p, bool doubleClick, QPoint global) {
    FDownPoint = p;
    FDragHandle = -100;
    FCurrentObject = nullptr;
    const bool right = button == Qt::RightButton;
    auto& list = fDoc.Objects();
    for (auto it = list.rbegin(); it != list.rend() && !FCurrentObject; ++it) {
        TPriBase* obj = it->get();
        if (!right && obj->LockCheck) continue;
        int handle = -1;
        // Handles count only on a selected object: elsewhere they are not drawn.
        if (obj->ForcusCheck() && obj->HandleAtPoint(p, handle)) {
            FDragHandle = handle;
            FCurrentObject = obj;
        } else if (obj->PtInObject(p)) {
            FCurrentObject = obj;
        }
    }
    TPriBase* c = FCurrentObject;
    if (c && c->ForcusCheck()) {
        if (right) {
            fDoc.Host().ShowContextMenu(c, global);
            return;
        }
        if (c->LockCheck) return;
        for (TPriBase* obj : fDoc.SelectList())
            obj->BeginTrack();
        if (doubleClick) {
            fDoc.EditObject(c);
            return;
        }
        if (FDragHandle == -100) {
            fDoc.SelectCheck = mnMove;
            FMovePoint = p;
            FLastPoint = fLastOnPage = FDownPoint;
        } else {
            if (IsLine(c)) {
                FDownPoint = static_cast<TPriLine*>(c)->GetHandlePoint(FDragHandle);
                fDoc.fObjectMode = omLine;
            }
            FLastPoint = fLastOnPage = p;
            fDoc.SelectCheck = mnSize;
        }
        return;
    }
    if (!right && !shift) {
        const QList<TPriBase*> before = fDoc.SelectList();
        if (fDoc.DeselectAll()) fDoc.RedrawObjects(before);
    }
    if (c) {
        fDoc.SelectObject(c);
        fDoc.RedrawObjects({c});
        if (right) {
            fDoc.Host().ShowContextMenu(c, global);
            return;
        }
        FDragHandle = -100;
        FLastPoint = fLastOnPage = FDownPoint;
        fDoc.SelectCheck = mnMove;
        return;
    }
    if (right) {
        fDoc.Host().ShowContextMenu(nullptr, global);
        return;
    }
    FRubberRect = TRect();
    fDoc.SelectCheck = mnSearch;
}

// ---- moving

void TMouseTracker::Move(QPoint p, bool shift) {
    const bool on = OnPage(p);
    switch (fDoc.SelectCheck) {
    case mnNone: SetCursor(fDoc.ObjectMode() == omNone ? Qt::ArrowCursor : Qt::CrossCursor); break;
    case mnSearchOn: {
        FDragHandle = -1;
        for (TPriBase* obj : fDoc.SelectList()) {
            int handle = -1;
            if (obj->LockCheck || IsLine(obj) || !obj->HandleAtPoint(p, handle)) continue;
            FDragHandle = handle;
            break;
        }
        SetCursor(FDragHandle >= 0 ? TPriPaint::CursorForHandle(FDragHandle) : Qt::ArrowCursor);
        break;
    }
    case mnMove: {
        // Off the page the frames stay where they were.
        if (on) fLastOnPage = p;
        SetCursor(on ? Qt::DragMoveCursor : Qt::ForbiddenCursor);
        const QPoint delta = fLastOnPage - FDownPoint;
        for (TPriBase* obj : fDoc.SelectList()) {
            obj->BeginTrack();
            obj->TrackMove(delta);
        }
        FLastPoint = FMovePoint = p;
        RefreshOverlay();
        AutoScroll(p);
        fDoc.ShowSelectionPos();
        break;
    }
    case mnSize: {
        QPoint delta;
        if (on) {
            if (fCursor == Qt::ForbiddenCursor) SetCursor(FSavedCursor);
            const TPriBase* c = FCurrentObject;
            if (IsLine(c) && shift) {
                const QPoint f = static_cast<const TPriLine*>(c)->GetAnchorPoint(FDragHandle);
                const int dx = p.x() - f.x(), dy = p.y() - f.y();
                FLastPoint = std::abs(dy) <= std::abs(dx) ? QPoint(p.x(), 0) : QPoint(0, p.y());
                FConstrained = true;
                delta = FLastPoint;
            } else {
                delta = p - FDownPoint;
                FConstrained = false;
                FLastPoint = p;
            }
            fLastOnPage = p;
        } else {
            if (fCursor != Qt::ForbiddenCursor) FSavedCursor = fCursor;
            SetCursor(Qt::ForbiddenCursor);
            delta = FLastPoint - FDownPoint;
        }
        if (!IsLine(FCurrentObject)) {
            for (TPriBase* obj : fDoc.SelectList())
                if (!IsLine(obj)) obj->TrackSize(FDragHandle, delta);
        }
        RefreshOverlay();
        AutoScroll(p);
        fDoc.ShowSelectionPos();
        break;
    }
    case mnAdd:
        SetCursor(on ? Qt::CrossCursor : Qt::ForbiddenCursor);
        if (fDoc.ObjectMode() == omLine) {
            if (shift) {
                FLastPoint = std::abs(p.y() - FDownPoint.y()) <= std::abs(p.x() - FDownPoint.x())
                                 ? QPoint(p.x(), FDownPoint.y())
                                 : QPoint(FDownPoint.x(), p.y());
                FConstrained = true;
            } else {
                FLastPoint = p;
                FConstrained = false;
            }
        } else {
            FRubberRect = Normalized(FDownPoint, p);
        }
        RefreshOverlay();
        AutoScroll(p);
        break;
    case mnSearch:
        FRubberRect = Normalized(FDownPoint, p);
        RefreshOverlay();
        AutoScroll(p);
        break;
    }
    fDoc.Host().PointerMoved(p);
}

void TMouseTracker::AutoScroll(QPoint p) {
    const TRect& v = fDoc.VisibleRect();
    if (v.IsEmpty()) return;
    const int m = kAutoScrollMargin;
    if (p.x() < v.Left + m || p.x() > v.Right - m || p.y() < v.Top + m || p.y() > v.Bottom - m)
        fDoc.Host().AutoScroll(p);
}

// ---- the overlay

void TMouseTracker::RubberLineOf(const TPriBase& obj, QPoint& from, QPoint& to) const {
    const auto& line = static_cast<const TPriLine&>(obj);
    const QPoint f = line.GetAnchorPoint(FDragHandle);
    const QPoint m = line.GetHandlePoint(FDragHandle);
    from = f;
    if (FConstrained && FLastPoint.x() != 0)
        to = QPoint(FLastPoint.x(), f.y());
    else if (FConstrained)
        to = QPoint(f.x(), FLastPoint.y());
    else
        to = FLastPoint + m - FDownPoint;
}

QRegion TMouseTracker::OverlayRegion() const {
    QRegion region;
    const TMouseNum state = fDoc.SelectCheck;
    auto lineRegion = [](QPoint a, QPoint b, int width) {
        const int pad = std::max(2, width) + 1;
        return QRegion(Normalized(a, b).ToQRect().adjusted(-pad, -pad, pad + 1, pad + 1));
    };
    if (state == mnSearch || (state == mnAdd && fDoc.ObjectMode() != omLine)) region += FrameRegion(FRubberRect);
    if (state == mnAdd && fDoc.ObjectMode() == omLine) region += lineRegion(FDownPoint, FLastPoint, 1);
    if (state == mnMove || (state == mnSize && !DraggingLineEnd())) {
        for (const TPriBase* obj : fDoc.SelectList())
            if (!obj->LockCheck && !IsLine(obj)) region += FrameRegion(obj->TrackRect());
        if (state == mnMove)
            for (const TPriBase* obj : fDoc.SelectList())
                if (!obj->LockCheck && IsLine(obj)) region += FrameRegion(obj->TrackRect());
    }
    if (DraggingLineEnd()) {
        for (const TPriBase* obj : fDoc.SelectList()) {
            if (!IsLine(obj) || obj->LockCheck) continue;
            QPoint a, b;
            RubberLineOf(*obj, a, b);
            region += lineRegion(a, b, static_cast<const TPriLine*>(obj)->Pen.Width);
        }
    }
    return region;
}

void TMouseTracker::PaintOverlay(QPainter& p) const {
    const TMouseNum state = fDoc.SelectCheck;
    p.save();
    if (state == mnSearch || (state == mnAdd && fDoc.ObjectMode() != omLine)) DrawFrame(p, FRubberRect);
    if (state == mnAdd && fDoc.ObjectMode() == omLine) {
        p.setPen(QPen(Qt::black, 1));
        p.drawLine(FDownPoint, FLastPoint);
    }
    if (state == mnMove || (state == mnSize && !DraggingLineEnd())) {
        for (const TPriBase* obj : fDoc.SelectList())
            if (!obj->LockCheck && (state == mnMove || !IsLine(obj))) DrawFrame(p, obj->TrackRect());
    }
    if (DraggingLineEnd()) {
        for (const TPriBase* obj : fDoc.SelectList()) {
            if (!IsLine(obj) || obj->LockCheck) continue;
            QPoint a, b;
            RubberLineOf(*obj, a, b);
            p.setPen(QPen(Qt::black, std::max(1, static_cast<const TPriLine*>(obj)->Pen.Width)));
            p.drawLine(a, b);
        }
    }
    p.restore();
}

void TMouseTracker::RefreshOverlay() {
    const QRegion now = OverlayRegion();
    const QRegion dirty = now | fDrawnOverlay;
    fDrawnOverlay = now;
    if (!dirty.isEmpty()) fDoc.update(dirty);
}

// ---- releasing

void TMouseTracker::Release(QPoint p, bool shift) {
    switch (fDoc.SelectCheck) {
    case mnMove: ReleaseMove(p); break;
    case mnSearch: ReleaseSearch(); break;
    case mnSize: ReleaseSize(p, shift); break;
    case mnAdd: ReleaseAdd(); break;
    default: break;
    }
    fDoc.Document().NotifyChanged();
    TPriBase* first = fDoc.SelectList().isEmpty() ? nullptr : fDoc.SelectList().first();
    const bool text = first && (first->ObjectNum == okLabel || first->ObjectNum == okField);
    fDoc.Host().SelectedTextObject(text ? first : nullptr);
}

void TMouseTracker::ReleaseMove(QPoint p) {
    Q_UNUSED(p);
    const QList<TPriBase*> moved = fDoc.SelectList();
    QRegion area;
    for (TPriBase* obj : moved)
        area += obj->BoundsRect().ToQRect();
    const QPoint delta = fLastOnPage - FDownPoint;
    QImage scratch(1, 1, QImage::Format_RGB32);
    QPainter none(&scratch);
    // A click without movement is a move of nothing: it records no step.
    TEditStep step(fDoc, ukMove);
    for (TPriBase* obj : moved) {
        if (obj->LockCheck) continue;
        if (!delta.isNull()) {
            step.Record(obj);
            const QRect stored = obj->StoreRect();
            const QPoint pixels(obj->Left, obj->Top);
            obj->MoveBy(delta);
            fDoc.StoreMoved(*obj, stored, pixels);
        }
        obj->EndTrack(none);
        obj->MakeHandles();
    }
    FLastPoint = QPoint();
    fDoc.SelectCheck = mnSearchOn;
    RefreshOverlay();
    fDoc.RedrawObjects(moved, area);
    SetCursor(Qt::ArrowCursor);
    fDoc.ShowSelectionPos();
}

void TMouseTracker::ReleaseSearch() {
    QList<TPriBase*> found;
    for (auto& obj : fDoc.Objects()) {
        if (obj->LockCheck || !obj->ObjectInRect(FRubberRect)) continue;
        fDoc.SelectObject(obj.get());
        found.append(obj.get());
    }
    fDoc.SelectCheck = found.isEmpty() ? mnNone : mnSearchOn;
    FRubberRect = TRect();
    RefreshOverlay();
    fDoc.RedrawObjects(found);
}

void TMouseTracker::ReleaseSize(QPoint p, bool shift) {
    TEditStep step(fDoc, ukResize);
    const QList<TPriBase*> sized = fDoc.SelectList();
    QRegion area;
    for (TPriBase* obj : sized)
        area += obj->BoundsRect().ToQRect();
    QImage scratch(1, 1, QImage::Format_RGB32);
    QPainter none(&scratch);
    if (IsLine(FCurrentObject)) {
        const QPoint mc = static_cast<TPriLine*>(FCurrentObject)->GetHandlePoint(FDragHandle);
        const QPoint at = OnPage(p) ? p : fLastOnPage;
        for (TPriBase* obj : sized) {
            if (obj->LockCheck || !IsLine(obj)) continue;
            auto* line = static_cast<TPriLine*>(obj);
            const QPoint f = line->GetAnchorPoint(FDragHandle), m = line->GetHandlePoint(FDragHandle);
            QPoint delta;
            if (shift && FConstrained)
                delta = FLastPoint.x() != 0 ? QPoint(at.x() - mc.x(), f.y() - m.y())
                                            : QPoint(f.x() - m.x(), at.y() - mc.y());
            else
                delta = at - mc;
            step.Record(line);
            line->DragEndPoint(FDragHandle, delta);
            line->ScaleToStore(fDoc.ViewSize(), fDoc.PaperPixels(), fDoc.ScreenInch());
            line->EndTrack(none);
            line->MakeHandles();
        }
    } else {
        for (TPriBase* obj : sized) {
            if (obj->LockCheck || IsLine(obj)) continue;
            step.Record(obj);
            obj->ApplyTrack();
            obj->ScaleToStore(fDoc.ViewSize(), fDoc.PaperPixels(), fDoc.ScreenInch());
            obj->EndTrack(none);
            obj->MakeHandles();
        }
    }
    fDoc.fObjectMode = omNone;
    FLastPoint = QPoint();
    FDragHandle = -100;
    FConstrained = false;
    fDoc.SelectCheck = mnSearchOn;
    RefreshOverlay();
    fDoc.RedrawObjects(sized, area);
    fDoc.ShowSelectionPos();
}

TRect TMouseTracker::CreationRect() const {
    if (fDoc.ObjectMode() != omLine) return FRubberRect;
    return Normalized(FDownPoint, FLastPoint);
}

void TMouseTracker::ReleaseAdd() {
    const int mode = fDoc.ObjectMode();
    QPoint start = FDownPoint, end = FLastPoint;
    TRect r = CreationRect();
    const bool clicked = mode == omLine ? start == end : r.IsEmpty();
    if (clicked) {
        // A click places an object of a useful size at the pointer instead of nothing.
        const QSize size = DefaultCreationSize(mode);
        const QSize v = fDoc.ViewSize(), paper = fDoc.PaperPixels();
        const double inch = fDoc.ScreenInch();
        const int w = paper.width() > 0 ? Trunc(size.width() / 254.0 * inch * v.width() / paper.width()) : 0;
        const int h = paper.height() > 0 ? Trunc(size.height() / 254.0 * inch * v.height() / paper.height()) : 0;
        r = TRect::FromBounds(FDownPoint.x(), FDownPoint.y(), std::max(w, 1), std::max(h, mode == omLine ? 0 : 1));
        end = QPoint(r.Right, r.Top);
    } else if (mode == omLine && !(start.x() < end.x()) && end.y() < start.y()) {
        // A line drawn from lower right is kept from its upper-left end.
        std::swap(start, end);
    }
    FRubberRect = TRect();
    RefreshOverlay();
    switch (mode) {
    case omLabel: fDoc.AddLabel(r); break;
    case omImage: fDoc.AddImage(r); break;
    case omField: fDoc.AddField(r); break;
    case omSquare: fDoc.AddShape(r, TBltShape::RectAngle); break;
    case omRoundRect: fDoc.AddShape(r, TBltShape::RoundRect); break;
    case omEllipse: fDoc.AddShape(r, TBltShape::Ellipse); break;
    case omLine: fDoc.AddLine(r, start, end); break;
    case omPortal: fDoc.AddPortal(r); break;
    case omCarendar: fDoc.AddCarendar(r); break;
    default: break;
    }
    SetCursor(Qt::ArrowCursor);
    fDoc.fObjectMode = omNone;
    fDoc.SelectCheck = mnSearchOn;
    fDoc.RedrawPage(nullptr, true, false);
    fDoc.Host().CreationFinished();
}
