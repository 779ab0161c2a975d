#include "print/PageBuilder.h"

#include "platform/DocumentLimits.h"
#include "document/PriDocument.h"
#include "platform/Rounding.h"

#include <QPainter>

TPageBuilder::TPageBuilder(TPriDocument& doc, const TPrinterMetrics& metrics) : fDoc(doc), fMetrics(metrics) {}

TRect TPageBuilder::PageMargins() const {
    const TPrinterMetrics& m = fMetrics;
    if (m.PhysicalWidth <= 0 || m.PhysicalHeight <= 0) return {};
    // The surface's own margins are worked out alike, so a page built for the printer it shows
    // places text where the page shows it.
    const double vw = fDoc.ViewSize().width(), vh = fDoc.ViewSize().height();
    return {Trunc(double(m.OffsetX) / m.PhysicalWidth * vw), Trunc(double(m.OffsetY) / m.PhysicalHeight * vh),
            Trunc(double(m.RightMargin) / m.PhysicalWidth * vw), Trunc(double(m.BottomMargin) / m.PhysicalHeight * vh)};
}

QSize TPageBuilder::SeatSize() const {
    const TPriPaper& p = fDoc.PrintPaper;
    // The millimetre round trip must give the printable pixels back, not one less.
    if (p.IsSingleSeat())
        return {Trunc(fMetrics.PrintableWidthMM / 25.4 * fMetrics.LogPixelsX + 1e-6),
                Trunc(fMetrics.PrintableHeightMM / 25.4 * fMetrics.LogPixelsY + 1e-6)};
    return {Trunc(p.FSeatWidth / 254.0 * fMetrics.LogPixelsX), Trunc(p.FSeatHeight / 254.0 * fMetrics.LogPixelsY)};
}

QSize TPageBuilder::SeatStep() const {
    const TPriPaper& p = fDoc.PrintPaper;
    const QSize seat = SeatSize();
    return {ClampToInt((long long)seat.width() + Trunc(p.FSeatGapX / 254.0 * fMetrics.LogPixelsX)),
            ClampToInt((long long)seat.height() + Trunc(p.FSeatGapY / 254.0 * fMetrics.LogPixelsY))};
}

QPoint TPageBuilder::SeatOrigin(int row, int column) const {
    const QSize step = SeatStep();
    return {ClampToInt((long long)column * step.width()), ClampToInt((long long)row * step.height())};
}

void TPageBuilder::DrawBackground(QPainter& canvas, QPoint origin) const {
    const TPriBackImage& back = fDoc.BackObject;
    if (back.IsEmpty() || !back.FVisible) return;
    const TPriPaper& p = fDoc.PrintPaper;
    TRect target;
    if (p.IsSingleSeat()) {
        // The background covers the whole page, unprintable edges included: it starts at the
        // sheet edge, which lies the printer's offset before the printable origin.
        const int w = Trunc(p.PageWidth() / 254.0 * fMetrics.LogPixelsX);
        const int h = Trunc(p.PageHeight() / 254.0 * fMetrics.LogPixelsY);
        target = TRect::FromBounds(origin.x() - fMetrics.OffsetX, origin.y() - fMetrics.OffsetY, w, h);
    } else {
        const QSize seat = SeatSize();
        target = TRect::FromBounds(origin.x(), origin.y(), seat.width(), seat.height());
    }
    canvas.save();
    canvas.setRenderHint(QPainter::SmoothPixmapTransform);
    back.DrawWhole(canvas, target);
    canvas.restore();
}

void TPageBuilder::DrawObjects(QPainter& canvas, QPoint origin) const {
    const bool single = fDoc.PrintPaper.IsSingleSeat();
    const QSize seat = SeatSize();
    const QRect seatRect(origin, seat);
    const QPoint dpi(fMetrics.LogPixelsX, fMetrics.LogPixelsY);
    const TRect margins = PageMargins();
    for (auto& obj : fDoc.Objects()) {
        if (!obj->PrintCheck || obj->UndoCheck) continue;
        QRect r;
        obj->GetPrintRect(single, dpi, r, fMetrics.OffsetYMM, fMetrics.OffsetXMM);
        r.translate(origin);
        canvas.save();
        obj->PrintDraw(canvas, r, single, origin, margins, seatRect);
        canvas.restore();
    }
}

void TPageBuilder::DrawSeat(QPainter& canvas, QPoint origin) const {
    DrawBackground(canvas, origin);
    DrawObjects(canvas, origin);
}

bool TPageBuilder::IsPrintable() const {
    const TPriPaper& p = fDoc.PrintPaper;
    // A damaged paper record can hold lengths no sheet has; its device sizes would overflow.
    return TPriPaper::LimitProblem(p.Fields()).isEmpty() && fMetrics.LogPixelsX > 0 && fMetrics.LogPixelsX <= 10000 &&
           fMetrics.LogPixelsY > 0 && fMetrics.LogPixelsY <= 10000;
}

void TPageBuilder::DrawPlainSheet(QPainter& canvas, const std::function<void()>& step) const {
    if (!IsPrintable()) return;
    const TPriPaper& p = fDoc.PrintPaper;
    const int rows = std::max(1, p.FSeatRows), cols = std::max(1, p.FSeatColumns);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            if (!p.SeatOnSheet(r, c)) continue;
            DrawSeat(canvas, SeatOrigin(r, c));
            if (step) step();
        }
}

QRect TPageBuilder::PrintRect(const TPriBase& object, QPoint origin) const {
    QRect r;
    object.GetPrintRect(fDoc.PrintPaper.IsSingleSeat(), QPoint(fMetrics.LogPixelsX, fMetrics.LogPixelsY), r,
                        fMetrics.OffsetYMM, fMetrics.OffsetXMM);
    return r.translated(origin);
}

void TPageBuilder::DrawObject(QPainter& canvas, TPriBase& object, const QRect& rect, QPoint origin) const {
    canvas.save();
    object.PrintDraw(canvas, rect, fDoc.PrintPaper.IsSingleSeat(), origin, PageMargins(), QRect(origin, SeatSize()));
    canvas.restore();
}
