#include "objects/PriShape.h"

#include "objects/PriHandles.h"
#include "platform/Rounding.h"
#include "platform/StreamReader.h"
#include "platform/StreamWriter.h"

#include <QPainter>

TPriShape::TPriShape() {
    ObjectNum = okShape;
}

void TPriShape::DrawFocus(QPainter& canvas) {
    if (ForcusCheck()) TPriHandles::Draw(canvas, FHandles, LockCheck);
}

void TPriShape::AssignObject(const TPriBase* source, bool layoutOnly) {
    TPriBase::AssignObject(source, false);
    if (layoutOnly) return;
    const auto* s = dynamic_cast<const TPriShape*>(source);
    if (!s) return;
    Shape = s->Shape;
    Pen = s->Pen;
    Brush = s->Brush;
    RoundNum = s->RoundNum;
    SamePSize = s->SamePSize;
}

void TPriShape::ScaleToView(QSize view, QSize paperPixels, int screenInch) {
    TPriBase::ScaleToView(view, paperPixels, screenInch);
    ScalePenWidth(view, paperPixels);
    fViewPerPaper = paperPixels.height() > 0 ? double(view.height()) / paperPixels.height() : 0;
}

double TPriShape::ViewPenWidth() const {
    return fViewPerPaper > 0 ? fViewPerPaper * SamePSize : Pen.Width;
}

void TPriShape::ScalePenWidth(QSize view, QSize paperPixels) {
    if (paperPixels.height() <= 0) return;
    Pen.Width = TruncUnlessAbove07(double(view.height()) / paperPixels.height() * SamePSize);
}

void TPriShape::GetPrintRect(bool useMargins, QPoint d, QRect& rect, double topMarginMm, double leftMarginMm) const {
    TPriBase::GetPrintRect(useMargins, d, rect, topMarginMm, leftMarginMm);
    // Before any scaling there is no screen resolution yet; the usual one stands in.
    const int s = iScreenInch() > 0 ? iScreenInch() : 96;
    FPrintPenSize = Nearest(double(d.x()) / s * SamePSize);
    FPrintRound = Nearest(double(d.x()) / s * RoundNum);
}

void TPriShape::GetOutputRect(QSize output, const TRect& margins, QRect& rect) const {
    TPriBase::GetOutputRect(output, margins, rect);
    const int w = PageSize().width() - margins.Left - margins.Right;
    if (w <= 0) return;
    const double g = double(output.width()) / w;
    FPrintPenSize = Nearest(g * ViewPenWidth());
    FPrintRound = Nearest(g * RoundNum);
}

void TPriShape::DrawObject(TBltMode mode, QPainter& canvas) {
    const QSize page = PageSize();
    DrawShape(canvas, BoundsRect(), mode, Pen.Width, TRect{0, 0, page.width(), page.height()});
    DrawFocus(canvas);
}

void TPriShape::PrintDraw(QPainter& canvas, const QRect& target, bool, QPoint, const TRect&, const QRect& clip) {
    DrawShape(canvas, TRect::FromQRect(target), bmPrint, FPrintPenSize, TRect::FromQRect(clip));
}

void TPriShape::DrawToImage(QPainter& canvas, const QRect& rect, QSize output) {
    const int saved = Pen.Width;
    const QSize page = PageSize();
    if (page.height() > 0) Pen.Width = TruncUnlessAbove07(double(output.height()) / page.height() * ViewPenWidth());
    DrawShape(canvas, TRect::FromQRect(rect), bmLayout, Pen.Width, TRect{0, 0, output.width(), output.height()});
    Pen.Width = saved;
}

void TPriShape::DrawShape(QPainter& canvas, const TRect& r, TBltMode mode, int penWidth, const TRect& clip) {
    canvas.save();
    const bool onPaper = mode == bmPreview || mode == bmPrint;
    if (onPaper) canvas.setClipRect(clip.ToQRect(), canvas.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    const int corner = onPaper ? FPrintRound : RoundNum;
    // The outline runs along the box's last pixels, as the page grid counts them.
    const QRectF box(r.Left, r.Top, r.Width() - 1, r.Height() - 1);
    // Smoothed curves sample pixel centres, so their path moves half a pixel.
    const QRectF smooth = box.translated(0.5, 0.5);
    switch (Shape) {
    case TBltShape::Eraser: canvas.fillRect(r.ToQRect(), Qt::white); break;
    case TBltShape::RectAngle:
        canvas.setPen(Pen.Geometric(penWidth));
        canvas.setBrush(Brush.ToQBrush());
        canvas.drawRect(box);
        break;
    case TBltShape::RoundRect:
        canvas.setRenderHint(QPainter::Antialiasing);
        canvas.setPen(Pen.Geometric(penWidth));
        canvas.setBrush(Brush.ToQBrush());
        canvas.drawRoundedRect(smooth, corner / 2.0, corner / 2.0);
        break;
    case TBltShape::Ellipse:
        canvas.setRenderHint(QPainter::Antialiasing);
        canvas.setPen(Pen.Geometric(penWidth));
        canvas.setBrush(Brush.ToQBrush());
        canvas.drawEllipse(smooth);
        break;
    default: break;
    }
    canvas.restore();
}

bool TPriShape::LoadFromStream(TStreamReader& stream, int version) {
    if (!TPriBase::LoadFromStream(stream, version)) return false;
    uint8_t shape = 0, penStyle = 0, brushStyle = 0;
    int32_t penColor = 0, brushColor = 0, samePSize = 0, roundNum = RoundNum;
    stream.ReadEnum(shape);
    stream.ReadColor(penColor);
    stream.ReadEnum(penStyle);
    stream.ReadInt32(samePSize);
    stream.ReadColor(brushColor);
    stream.ReadEnum(brushStyle);
    if (version > 4) stream.ReadInt32(roundNum);
    if (!stream.Ok()) return false;
    Shape = static_cast<TBltShape>(shape);
    Pen.Color = penColor;
    Pen.Style = penStyle;
    SamePSize = samePSize;
    Brush.Color = brushColor;
    Brush.Style = brushStyle;
    RoundNum = roundNum;
    return true;
}

bool TPriShape::SaveToStream(TStreamWriter& stream, int version) {
    if (!TPriBase::SaveToStream(stream, version)) return false;
    stream.WriteEnum(int(Shape));
    stream.WriteColor(Pen.Color);
    stream.WriteEnum(Pen.Style);
    stream.WriteInt32(SamePSize);
    stream.WriteColor(Brush.Color);
    stream.WriteEnum(Brush.Style);
    if (version > 4) stream.WriteInt32(RoundNum);
    return true;
}
