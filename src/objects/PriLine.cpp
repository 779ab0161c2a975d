#include "objects/PriLine.h"

#include "objects/PriHandles.h"
#include "platform/Rounding.h"
#include "platform/StreamReader.h"
#include "platform/StreamWriter.h"

#include <QPainter>
#include <algorithm>
#include <cstdlib>

namespace {

// One direction of the segment test: p must lie in the box spanned from a towards b and
// close to the line through them.
bool HitsFrom(QPoint a, QPoint b, QPoint p) {
    const qint64 dx = qint64(b.x()) - a.x(), dy = qint64(b.y()) - a.y();
    const qint64 px = qint64(p.x()) - a.x(), py = qint64(p.y()) - a.y();
    const bool inX = dx >= 0 ? (px >= 0 && px <= dx) : (px <= 0 && px >= dx);
    const bool inY = dy >= 0 ? (py >= 0 && py <= dy) : (py <= 0 && py >= dy);
    if (!inX || !inY) return false;
    const qint64 ax = std::llabs(dx), ay = std::llabs(dy);
    const qint64 m = 2 * std::max(ax, ay) + std::min(ax, ay);
    return std::llabs(dy * px - py * dx) < m;
}

} // namespace

TPriLine::TPriLine() {
    ObjectNum = okLine;
}

void TPriLine::DragEndPoint(int handle, QPoint delta) {
    const QPoint anchor = GetAnchorPoint(handle);
    const QPoint moved = GetHandlePoint(handle) + delta;
    FStartPoint = anchor;
    FEndPoint = moved;
    SetBounds(std::min(anchor.x(), moved.x()), std::min(anchor.y(), moved.y()), std::abs(moved.x() - anchor.x()),
              std::abs(moved.y() - anchor.y()));
}

void TPriLine::DrawFocus(QPainter& canvas) {
    if (ForcusCheck()) TPriHandles::Draw(canvas, FHandles, LockCheck);
}

int TPriLine::HandleTop(int index) const {
    if (index < 0 || index > 7) return 0;
    return GetHandlePoint(index).y() - 3;
}

int TPriLine::HandleLeft(int index) const {
    if (index < 0 || index > 7) return 0;
    return GetHandlePoint(index).x() - 3;
}

void TPriLine::AssignObject(const TPriBase* source, bool) {
    TPriBase::AssignObject(source, false);
    const auto* s = dynamic_cast<const TPriLine*>(source);
    if (!s) return;
    FStartPoint = s->FStartPoint;
    FEndPoint = s->FEndPoint;
    Pen = s->Pen;
    SamePSize = s->SamePSize;
}

bool TPriLine::PtInObject(QPoint p) const {
    if (UndoCheck) return false;
    return HitsFrom(FStartPoint, FEndPoint, p) || HitsFrom(FEndPoint, FStartPoint, p);
}

void TPriLine::PointsInBox(const QRect& box, QPoint& start, QPoint& end, bool equalAtFar) const {
    const int l = box.x(), t = box.y(), r = box.x() + box.width(), b = box.y() + box.height();
    int sx, ex, sy, ey;
    if (FStartPoint.x() < FEndPoint.x()) {
        sx = l;
        ex = r;
    } else if (FStartPoint.x() > FEndPoint.x()) {
        sx = r;
        ex = l;
    } else {
        sx = ex = equalAtFar ? r : l;
    }
    if (FStartPoint.y() < FEndPoint.y()) {
        sy = t;
        ey = b;
    } else if (FStartPoint.y() > FEndPoint.y()) {
        sy = b;
        ey = t;
    } else {
        sy = ey = equalAtFar ? b : t;
    }
    start = QPoint(sx, sy);
    end = QPoint(ex, ey);
}

void TPriLine::ScaleToView(QSize v, QSize p, int s) {
    // Unlike the other objects the line leaves the shared screen resolution alone.
    if (p.width() > 0 && p.height() > 0) {
        const double zx = double(v.width()) / p.width();
        const double zy = double(v.height()) / p.height();
        Left = Nearest(zx * (FStoreRect.x() / 254.0 * s));
        Top = Nearest(zy * (FStoreRect.y() / 254.0 * s));
        Width = FStoreRect.width() <= 0 ? 0 : Nearest(zx * (FStoreRect.width() / 254.0 * s));
        Height = FStoreRect.height() <= 0 ? 0 : Nearest(zy * (FStoreRect.height() / 254.0 * s));
        if (Left + Width < 0 || Left > v.width()) Left = 0;
        if (Top + Height < 0 || Top > v.height()) Top = 0;
    }
    QPoint start, end;
    PointsInBox(QRect(Left, Top, Width, Height), start, end, true);
    FStartPoint = start;
    FEndPoint = end;
    ScalePenWidth(v, p);
    fViewPerPaper = p.height() > 0 ? double(v.height()) / p.height() : 0;
}

double TPriLine::ViewPenWidth() const {
    return fViewPerPaper > 0 ? fViewPerPaper * SamePSize : Pen.Width;
}

void TPriLine::ScalePenWidth(QSize view, QSize paperPixels) {
    if (paperPixels.height() <= 0) return;
    Pen.Width = TruncUnlessAbove07(double(view.height()) / paperPixels.height() * SamePSize);
}

void TPriLine::GetPrintRect(bool useMargins, QPoint d, QRect& rect, double topMarginMm, double leftMarginMm) const {
    TPriBase::GetPrintRect(useMargins, d, rect, topMarginMm, leftMarginMm);
    const int s = iScreenInch() > 0 ? iScreenInch() : 96;
    FPrintPenSize = Nearest(double(d.x()) / s * SamePSize);
}

void TPriLine::GetOutputRect(QSize output, const TRect& margins, QRect& rect) const {
    TPriBase::GetOutputRect(output, margins, rect);
    const int w = PageSize().width() - margins.Left - margins.Right;
    if (w > 0) FPrintPenSize = Nearest(double(output.width()) / w * ViewPenWidth());
}

void TPriLine::PrintDraw(QPainter& canvas, const QRect& target, bool useMargins, QPoint, const TRect&,
                         const QRect& clip) {
    // Without margins the target is ten device pixels larger than the line's box; the ends stay
    // on the box, so the line keeps its length and slope and a level line its row.
    QRect box = target;
    if (!useMargins) box.setSize(QSize(std::max(0, target.width() - 10), std::max(0, target.height() - 10)));
    QPoint start, end;
    PointsInBox(box, start, end, false);
    DrawLine(canvas, start, bmPrint, FPrintPenSize, TRect::FromQRect(clip), end);
}

void TPriLine::DrawToImage(QPainter& canvas, const QRect& rect, QSize output) {
    QPoint start, end;
    PointsInBox(rect, start, end, false);
    const int saved = Pen.Width;
    const QSize page = PageSize();
    if (page.height() > 0) Pen.Width = TruncUnlessAbove07(double(output.height()) / page.height() * ViewPenWidth());
    DrawLine(canvas, start, bmImageOut, Pen.Width, TRect{0, 0, output.width(), output.height()}, end);
    Pen.Width = saved;
}

void TPriLine::DrawObject(TBltMode mode, QPainter& canvas) {
    const QSize page = PageSize();
    DrawLine(canvas, FStartPoint, mode, Pen.Width, TRect{0, 0, page.width(), page.height()}, FEndPoint);
    DrawFocus(canvas);
}

void TPriLine::DrawLine(QPainter& canvas, QPoint from, TBltMode mode, int penWidth, const TRect& clip, QPoint to) {
    canvas.save();
    if (mode == bmPrint) canvas.setClipRect(clip.ToQRect(), canvas.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    const bool level = from.x() == to.x() || from.y() == to.y();
    // Level lines stay crisp on the pixel grid; slanted ones are smoothed.
    canvas.setRenderHint(QPainter::Antialiasing, !level);
    canvas.setPen(Pen.Geometric(penWidth));
    canvas.setBrush(Qt::NoBrush);
    if (level)
        canvas.drawLine(from, to);
    else
        canvas.drawLine(QPointF(from) + QPointF(0.5, 0.5), QPointF(to) + QPointF(0.5, 0.5));
    canvas.restore();
}

void TPriLine::MoveBy(QPoint d) {
    if (LockCheck) return;
    const QSize page = PageSize();
    if (BackImage && (Left + d.x() > page.width() || Top + d.y() > page.height() || Left + d.x() + Width < 0 ||
                      Top + d.y() + Height < 0))
        return;
    Left += d.x();
    Top += d.y();
    FStartPoint += d;
    FEndPoint += d;
}

void TPriLine::SizeBy(QPoint d) {
    if (LockCheck) return;
    if (Width > 1) Width += d.x();
    if (Height > 1) Height += d.y();
    FEndPoint += d;
}

void TPriLine::TrackSize(int, QPoint) {}

void TPriLine::DrawTrack(QPainter&) {
    if (ForcusCheck() && !LockCheck) FLastTrackRect = FTrackRect;
}

void TPriLine::EndTrack(QPainter&) {
    if (!ForcusCheck() || LockCheck) return;
    FTrackRect = TRect();
    FLastTrackRect = TRect();
}

bool TPriLine::LoadFromStream(TStreamReader& stream, int version) {
    if (!TPriBase::LoadFromStream(stream, version)) return false;
    int32_t sx = 0, sy = 0, ex = 0, ey = 0, color = 0, same = 0;
    uint8_t style = 0;
    stream.ReadInt32(sx);
    stream.ReadInt32(sy);
    stream.ReadInt32(ex);
    stream.ReadInt32(ey);
    stream.ReadColor(color);
    stream.ReadEnum(style);
    stream.ReadInt32(same);
    if (!stream.Ok()) return false;
    FStartPoint = QPoint(sx, sy);
    FEndPoint = QPoint(ex, ey);
    Pen.Color = color;
    Pen.Style = style;
    SamePSize = same;
    return true;
}

bool TPriLine::SaveToStream(TStreamWriter& stream, int version) {
    if (!TPriBase::SaveToStream(stream, version)) return false;
    stream.WriteInt32(FStartPoint.x());
    stream.WriteInt32(FStartPoint.y());
    stream.WriteInt32(FEndPoint.x());
    stream.WriteInt32(FEndPoint.y());
    stream.WriteColor(Pen.Color);
    stream.WriteEnum(Pen.Style);
    stream.WriteInt32(SamePSize);
    return true;
}
