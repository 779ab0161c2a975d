#include "objects/PriBase.h"

#include "objects/PriHandles.h"
#include "platform/Rounding.h"
#include "platform/StreamReader.h"
#include "platform/StreamWriter.h"

#include <QPaintEngine>
#include <QPainter>

int TPriBase::sScreenInch = 0;

TPriBase::TPriBase() = default;
TPriBase::~TPriBase() = default;

void TPriBase::SetBounds(int left, int top, int width, int height) {
    Left = left;
    Top = top;
    Width = width;
    Height = height;
}

void TPriBase::SetForcusCheck(bool value) {
    fForcusCheck = value;
    if (value) MakeHandles();
}

void TPriBase::DrawFocus(QPainter& canvas) {
    if (!fForcusCheck) return;
    canvas.save();
    canvas.setPen(QPen(QColor(166, 202, 240), 1, Qt::SolidLine));
    canvas.setBrush(Qt::NoBrush);
    // The frame covers Left .. Left + width - 1, as the box itself does; a stroked QRect would
    // reach one pixel further right and down.
    canvas.drawRect(QRect(Left, Top, Width - 1, Height - 1));
    canvas.restore();
    TPriHandles::Draw(canvas, FHandles, LockCheck);
}

int TPriBase::HandleTop(int index) const {
    switch (index) {
    case 0:
    case 1:
    case 2: return Top - 3;
    case 3:
    case 4: return Top + Height / 2 - 3;
    case 5:
    case 6:
    case 7: return Top + Height - 3;
    default: return 0;
    }
}

int TPriBase::HandleLeft(int index) const {
    switch (index) {
    case 0:
    case 3:
    case 5: return Left - 3;
    case 1:
    case 6: return Left + Width / 2 - 3;
    case 2:
    case 4:
    case 7: return Left + Width - 3;
    default: return 0;
    }
}

void TPriBase::AssignObject(const TPriBase* source, bool) {
    if (!source) return;
    SetBounds(source->Left, source->Top, source->Width, source->Height);
    Tag = source->Tag;
    PrintCheck = source->PrintCheck;
    LockCheck = source->LockCheck;
    TransParent = source->TransParent;
    ListNum = source->ListNum;
    Extras = source->Extras;
    BackImage = source->BackImage;
    FStoreRect = source->FStoreRect;
}

bool TPriBase::PtInObject(QPoint p) const {
    if (UndoCheck) return false;
    return p.x() >= Left && p.x() <= Left + Width && p.y() >= Top && p.y() <= Top + Height;
}

bool TPriBase::ObjectInRect(const TRect& r) const {
    if (UndoCheck) return false;
    return Left >= r.Left && Left + Width <= r.Right && Top >= r.Top && Top + Height <= r.Bottom;
}

bool TPriBase::HandleAtPoint(QPoint p, int& index) const {
    if (UndoCheck) return false;
    for (int i = 0; i < 8; ++i)
        if (FHandles[size_t(i)].Contains(p.x(), p.y())) {
            index = i;
            return true;
        }
    return false;
}

void TPriBase::ScaleToView(QSize v, QSize p, int s) {
    SetScreenInch(s);
    // A page without size has no pixels to place the object on.
    if (p.width() <= 0 || p.height() <= 0) return;
    const double zx = double(v.width()) / p.width();
    const double zy = double(v.height()) / p.height();
    Left = Nearest(zx * (FStoreRect.x() / 254.0 * s));
    Top = Nearest(zy * (FStoreRect.y() / 254.0 * s));
    Width = Nearest(zx * (FStoreRect.width() / 254.0 * s));
    Height = Nearest(zy * (FStoreRect.height() / 254.0 * s));
    if (Left + Width < 0 || Left > v.width()) Left = 0;
    if (Top + Height < 0 || Top > v.height()) Top = 0;
}

void TPriBase::ScaleToStore(QSize v, QSize p, int s) {
    SetScreenInch(s);
    if (v.width() <= 0 || v.height() <= 0 || s <= 0) return;
    const double rx = double(p.width()) / v.width();
    const double ry = double(p.height()) / v.height();
    FStoreRect = QRect(Nearest(rx * Left / s * 254), Nearest(ry * Top / s * 254), Nearest(rx * Width / s * 254),
                       Nearest(ry * Height / s * 254));
}

void TPriBase::GetPrintRect(bool useMargins, QPoint d, QRect& r, double topMarginMm, double leftMarginMm) const {
    const QRect& s = FStoreRect;
    if (useMargins) {
        r = QRect(Nearest((s.x() - leftMarginMm * 10) / 254.0 * d.x()),
                  Nearest((s.y() - topMarginMm * 10) / 254.0 * d.y()), Nearest(d.x() * double(s.width()) / 254),
                  Nearest(d.y() * double(s.height()) / 254));
    } else {
        r = QRect(Nearest(d.x() * double(s.x()) / 254), Nearest(d.y() * double(s.y()) / 254),
                  Nearest(d.x() * double(s.width()) / 254) + 10, Nearest(d.y() * double(s.height()) / 254) + 10);
    }
}

void TPriBase::GetOutputRect(QSize o, const TRect& m, QRect& r) const {
    const QSize page = PageSize();
    const int w = page.width() - m.Left - m.Right;
    const int h = page.height() - m.Top - m.Bottom;
    if (w <= 0 || h <= 0) {
        r = QRect();
        return;
    }
    const double gx = double(o.width()) / w;
    const double gy = double(o.height()) / h;
    const int x0 = m.Left != 0 ? Left - m.Left : Left;
    const int y0 = m.Top != 0 ? Top - m.Top : Top;
    r = QRect(Nearest(gx * x0), Nearest(gy * y0), Nearest(gx * Width), Nearest(gy * Height));
}

void TPriBase::PrintDraw(QPainter&, const QRect&, bool, QPoint, const TRect&, const QRect&) {}

void TPriBase::DrawObject(TBltMode, QPainter&) {}

void TPriBase::MoveBy(QPoint d) {
    if (LockCheck) return;
    const QSize page = PageSize();
    if (BackImage) {
        if (Left + d.x() > page.width() || Top + d.y() > page.height() || Left + d.x() + Width < 0 ||
            Top + d.y() + Height < 0)
            return;
    }
    Left += d.x();
    Top += d.y();
}

void TPriBase::SizeBy(QPoint d) {
    if (LockCheck) return;
    if (Width > 0) {
        Width += d.x();
        if (Width <= 0) Width = 1;
    }
    if (Height > 0) {
        Height += d.y();
        if (Height <= 0) Height = 1;
    }
}

bool TPriBase::LoadFromStream(TStreamReader& stream, int) {
    int32_t left, top, width, height;
    bool print, lock, transparent;
    if (!stream.ReadInt32(left) || !stream.ReadInt32(top) || !stream.ReadInt32(width) || !stream.ReadInt32(height) ||
        !stream.ReadBool(print) || !stream.ReadBool(lock) || !stream.ReadBool(transparent))
        return false;
    // No page is a hundred metres long: such geometry is a damaged record, and its pixel
    // arithmetic would overflow.
    for (int32_t v : {left, top, width, height})
        if (v < -kMaxStoreCoord || v > kMaxStoreCoord) return false;
    FStoreRect = QRect(left, top, width, height);
    PrintCheck = print;
    LockCheck = lock;
    TransParent = transparent;
    return true;
}

bool TPriBase::SaveToStream(TStreamWriter& stream, int) {
    stream.WriteInt32(FStoreRect.x());
    stream.WriteInt32(FStoreRect.y());
    stream.WriteInt32(FStoreRect.width());
    stream.WriteInt32(FStoreRect.height());
    stream.WriteBool(PrintCheck);
    stream.WriteBool(LockCheck);
    stream.WriteBool(TransParent);
    return true;
}

void TPriBase::BeginTrack() {
    FTrackRect = BoundsRect();
    FLastTrackRect = TRect();
}

void TPriBase::TrackMove(QPoint d) {
    if (!fForcusCheck || LockCheck) return;
    FTrackRect = FTrackRect.Offset(d.x(), d.y());
}

void TPriBase::TrackSize(int h, QPoint d) {
    if (!fForcusCheck || LockCheck || h < 0 || h > 7) return;
    TRect r = BoundsRect();
    switch (h) {
    case 0:
    case 3:
    case 5:
        if (Left + d.x() < Left + Width) {
            r.Left = Left + d.x();
        } else {
            r.Left = Left + Width;
            r.Right = Left + d.x();
        }
        break;
    case 2:
    case 4:
    case 7:
        if (Left + Width + d.x() >= Left) {
            r.Right = Left + Width + d.x();
        } else {
            r.Left = Left + Width + d.x();
            r.Right = Left;
        }
        break;
    default: break;
    }
    switch (h) {
    case 0:
    case 1:
    case 2:
        if (Top + d.y() < Top + Height) {
            r.Top = Top + d.y();
        } else {
            r.Top = Top + Height;
            r.Bottom = Top + d.y();
        }
        break;
    case 5:
    case 6:
    case 7:
        if (Top + Height + d.y() >= Top) {
            r.Bottom = Top + Height + d.y();
        } else {
            r.Top = Top + Height + d.y();
            r.Bottom = Top;
        }
        break;
    default: break;
    }
    FTrackRect = r;
}

void TPriBase::EndTrack(QPainter& canvas) {
    if (!fForcusCheck || LockCheck) return;
    DrawFocusRect(canvas, FLastTrackRect);
    FTrackRect = TRect();
    FLastTrackRect = TRect();
}

void TPriBase::MakeHandles() {
    for (int i = 0; i < 8; ++i) {
        const int x = HandleLeft(i), y = HandleTop(i);
        FHandles[size_t(i)] = TRect{x, y, x + 7, y + 7};
    }
}

void TPriBase::ApplyTrack() {
    const QSize page = PageSize();
    const TRect& t = FTrackRect;
    if (BackImage && (t.Left > page.width() || t.Top > page.height() || t.Right < 0 || t.Bottom < 0)) return;
    SetBounds(t.Left, t.Top, t.Right - t.Left, t.Bottom - t.Top);
}

void TPriBase::DrawTrack(QPainter& canvas) {
    if (!fForcusCheck || LockCheck) return;
    DrawFocusRect(canvas, FLastTrackRect);
    DrawFocusRect(canvas, FTrackRect);
    FLastTrackRect = FTrackRect;
}

void TPriBase::DrawToImage(QPainter&, const QRect&, QSize) {}

bool TPriBase::IntersectsRect(const TRect& r) const {
    return !(Left + Width < r.Left || Left > r.Right || Top + Height < r.Top || Top > r.Bottom);
}

void TPriBase::DrawFocusRect(QPainter& canvas, const TRect& rect) {
    if (rect.IsEmpty()) return;
    canvas.save();
    // XOR only exists on raster devices; elsewhere the frame is simply drawn.
    if (canvas.paintEngine() && canvas.paintEngine()->type() == QPaintEngine::Raster)
        canvas.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    canvas.setPen(QPen(Qt::white, 1, Qt::DotLine));
    canvas.setBrush(Qt::NoBrush);
    canvas.drawRect(QRect(rect.Left, rect.Top, rect.Width() - 1, rect.Height() - 1));
    canvas.restore();
}
