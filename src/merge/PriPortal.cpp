#include "merge/PriPortal.h"

#include "platform/DocumentLimits.h"

#include "objects/PriHandles.h"
#include "platform/Rounding.h"
#include "platform/StreamReader.h"
#include "platform/StreamWriter.h"

#include <QPainter>
#include <algorithm>

namespace {

// Wider than any frame a page can show, and far from overflowing the edge arithmetic.
constexpr int kMaxGridPen = 4096;

} // namespace

TPriPortal::TPriPortal() {
    ObjectNum = okPortal;
}

int TPriPortal::TotalHeight(int rowHeight) const {
    return SaturateToInt(double(rowHeight) * Rows);
}

void TPriPortal::DrawFocus(QPainter& canvas) {
    if (ForcusCheck()) TPriHandles::Draw(canvas, FHandles, LockCheck);
}

// The handles surround the first row, the only one that can be moved and sized.
int TPriPortal::HandleTop(int index) const {
    switch (index) {
    case 0:
    case 1:
    case 2: return Top - 3;
    case 3:
    case 4: return Top + ObjHeight / 2 - 3;
    case 5:
    case 6:
    case 7: return Top + ObjHeight - 3;
    default: return 0;
    }
}

void TPriPortal::AssignObject(const TPriBase* source, bool layoutOnly) {
    TPriBase::AssignObject(source, false);
    const auto* s = dynamic_cast<const TPriPortal*>(source);
    if (!s) return;
    ObjHeight = s->ObjHeight;
    SetRows(s->Rows);
    if (layoutOnly) return;
    Pen = s->Pen;
    Brush = s->Brush;
    Dataname = s->Dataname;
    SamePSize = s->SamePSize;
}

void TPriPortal::ScaleToView(QSize view, QSize paperPixels, int screenInch) {
    TPriBase::ScaleToView(view, paperPixels, screenInch);
    ObjHeight = Height / std::max(1, Rows);
    ScalePenWidth(view, paperPixels);
}

void TPriPortal::ScalePenWidth(QSize view, QSize paperPixels) {
    if (paperPixels.height() <= 0) return;
    Pen.Width = TruncUnlessAbove07(double(view.height()) / paperPixels.height() * SamePSize);
}

void TPriPortal::DrawGrid(QPainter& canvas, const TRect& r, TBltMode mode, int w, const TRect& clip, int h) const {
    // The width comes from SamePSize as stored; a damaged record must not make R.right - w overflow.
    w = std::clamp(w, 0, kMaxGridPen);
    canvas.save();
    canvas.setRenderHint(QPainter::Antialiasing, false);
    if (mode == bmPrint || mode == bmPreview)
        canvas.setClipRect(clip.ToQRect(), canvas.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    const int rows = std::max(1, Rows);
    if (mode == bmLayout && rows > 1 && r.Top + h < r.Bottom)
        canvas.fillRect(QRect(r.Left, r.Top + h, r.Width(), r.Bottom - r.Top - h),
                        QBrush(QColor(192, 192, 192), Qt::DiagCrossPattern));
    canvas.setPen(Pen.Geometric(w));
    canvas.setBrush(Brush.ToQBrush());
    canvas.drawRect(QRect(r.Left, r.Top, r.Width() - 1, r.Height() - 1));
    // Dividers that would fall on the top edge or below the frame add nothing; a huge row
    // count from a damaged record must not turn into billions of lines.
    if (h > 0) {
        for (int k = 1; k < rows; ++k) {
            const qint64 y = qint64(r.Top) + qint64(k) * h;
            if (y > r.Bottom) break;
            canvas.drawLine(r.Left, int(y), r.Right - w, int(y));
        }
    }
    canvas.restore();
}

void TPriPortal::DrawObject(TBltMode mode, QPainter& canvas) {
    DrawGrid(canvas, BoundsRect(), mode, Pen.Width, TRect{}, ObjHeight);
    DrawFocus(canvas);
}

void TPriPortal::PrintDraw(QPainter& canvas, const QRect& target, bool, QPoint, const TRect&, const QRect& clip) {
    const TRect r = TRect::FromBounds(target.x(), target.y(), target.width(), target.height());
    DrawGrid(canvas, r, bmPrint, SaturateToInt(double(SamePSize) * 4), TRect::FromQRect(clip),
             (target.height() + 1) / std::max(1, Rows));
}

void TPriPortal::DrawToImage(QPainter& canvas, const QRect& rect, QSize output) {
    const int saved = Pen.Width;
    ScalePenWidth(output, PageSize());
    DrawGrid(canvas, TRect::FromQRect(rect), bmPrint, Pen.Width, TRect{0, 0, output.width(), output.height()},
             (rect.height() + 1) / std::max(1, Rows));
    Pen.Width = saved;
}

void TPriPortal::SizeBy(QPoint d) {
    if (LockCheck) return;
    if (Width > 1) Width = std::max(1, Width + d.x());
    if (ObjHeight > 0) {
        ObjHeight = std::max(1, ObjHeight + d.y());
        Height = std::max(SaturateToInt(double(Height) + double(d.y()) * Rows), TotalHeight(ObjHeight));
    }
}

void TPriPortal::BeginTrack() {
    FTrackRect = TRect{Left, Top, Left + Width, Top + ObjHeight};
    FLastTrackRect = TRect();
}

void TPriPortal::TrackSize(int handle, QPoint d) {
    if (!ForcusCheck() || LockCheck || handle < 0 || handle > 7) return;
    TRect r{Left, Top, Left + Width, Top + ObjHeight};
    const int right = Left + Width;
    const int bottom = Top + ObjHeight;
    switch (handle) {
    case 0:
    case 3:
    case 5:
        if (Left + d.x() < right) {
            r.Left = Left + d.x();
        } else {
            r.Left = right;
            r.Right = Left + d.x();
        }
        break;
    case 2:
    case 4:
    case 7:
        if (right + d.x() >= Left) {
            r.Right = right + d.x();
        } else {
            r.Left = right + d.x();
            r.Right = Left;
        }
        break;
    default: break;
    }
    switch (handle) {
    case 0:
    case 1:
    case 2:
        if (Top + d.y() < bottom) {
            r.Top = Top + d.y();
        } else {
            r.Top = bottom;
            r.Bottom = Top + d.y();
        }
        break;
    case 5:
    case 6:
    case 7:
        if (bottom + d.y() >= Top) {
            r.Bottom = bottom + d.y();
        } else {
            r.Top = bottom + d.y();
            r.Bottom = Top;
        }
        break;
    default: break;
    }
    FTrackRect = r;
}

void TPriPortal::ApplyTrack() {
    const QSize page = PageSize();
    const TRect& t = FTrackRect;
    if (BackImage && (t.Left > page.width() || t.Top > page.height() || t.Right < 0 || t.Bottom < 0)) return;
    Left = t.Left;
    Top = t.Top;
    Width = t.Right - t.Left;
    ObjHeight = t.Bottom - t.Top;
    Height = TotalHeight(ObjHeight);
}

bool TPriPortal::LoadFromStream(TStreamReader& stream, int version) {
    if (!TPriBase::LoadFromStream(stream, version)) return false;
    int32_t objHeight = 0, rows = 0, penColor = 0, samePSize = 0, brushColor = 0;
    uint8_t penStyle = 0, brushStyle = 0;
    QString dataname;
    stream.ReadInt32(objHeight);
    stream.ReadInt32(rows);
    stream.ReadString(dataname);
    stream.ReadColor(penColor);
    stream.ReadEnum(penStyle);
    stream.ReadInt32(samePSize);
    stream.ReadColor(brushColor);
    stream.ReadEnum(brushStyle);
    if (!stream.Ok()) return false;
    if (dataname.size() > TDocumentLimits::kMaxNameBytes)
        return stream.Refuse(QStringLiteral("明細のファイル名が長すぎます（%1 文字）").arg(dataname.size()));
    ObjHeight = objHeight;
    SetRows(rows);
    Dataname = dataname;
    Pen.Color = penColor;
    Pen.Style = penStyle;
    SamePSize = samePSize;
    Brush.Color = brushColor;
    Brush.Style = brushStyle;
    return true;
}

bool TPriPortal::SaveToStream(TStreamWriter& stream, int version) {
    if (!TPriBase::SaveToStream(stream, version)) return false;
    stream.WriteInt32(ObjHeight);
    stream.WriteInt32(Rows);
    stream.WriteString(Dataname);
    stream.WriteColor(Pen.Color);
    stream.WriteEnum(Pen.Style & 0x7F);
    stream.WriteInt32(SamePSize);
    stream.WriteColor(Brush.Color);
    stream.WriteEnum(Brush.Style & 0x7F);
    return true;
}
