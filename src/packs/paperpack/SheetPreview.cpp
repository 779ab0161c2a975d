#include "SheetPreview.h"

#include <QPainter>

TSheetPreview::TSheetPreview(QWidget* parent) : QWidget(parent) {
    setMinimumSize(160, 200);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void TSheetPreview::SetSheet(const TCardSheet& sheet, bool landscape) {
    fSheet = sheet;
    fLandscape = landscape;
    fEmpty = false;
    update();
}

void TSheetPreview::Clear() {
    fEmpty = true;
    update();
}

void TSheetPreview::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Mid).lighter(130));
    if (fEmpty || fSheet.SheetWidth <= 0 || fSheet.SheetHeight <= 0) return;

    const bool turn = fLandscape && fSheet.IsSingleSeat();
    const double w = turn ? fSheet.SheetHeight : fSheet.SheetWidth;
    const double h = turn ? fSheet.SheetWidth : fSheet.SheetHeight;
    const double margin = 10;
    const double scale = std::min((width() - 2 * margin) / w, (height() - 2 * margin) / h);
    if (scale <= 0) return;
    p.setRenderHint(QPainter::Antialiasing);
    p.translate((width() - w * scale) / 2, (height() - h * scale) / 2);
    p.scale(scale, scale);

    p.setPen(QPen(Qt::black, 0));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(0, 0, w, h));

    // Seats in sheet coordinates; a turned single sheet is its own seat.
    p.setPen(QPen(QColor(30, 90, 200), 0));
    p.setBrush(QColor(200, 220, 255));
    const int cols = std::clamp(fSheet.Columns, 0, TCardSheet::kMaxGrid);
    const int rows = std::clamp(fSheet.Rows, 0, TCardSheet::kMaxGrid);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            QRectF seat(fSheet.FirstLeft + double(c) * fSheet.PitchX, fSheet.FirstTop + double(r) * fSheet.PitchY,
                        fSheet.SeatWidth, fSheet.SeatHeight);
            if (turn) seat = QRectF(seat.top(), seat.left(), seat.height(), seat.width());
            p.drawRect(seat);
        }
}
