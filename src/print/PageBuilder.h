#pragma once

#include "platform/PrinterMetrics.h"
#include "platform/Rect.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <functional>

class QPainter;
class TPriBase;
class TPriDocument;

// Draws the document's seats onto a device page through the objects' print drawing. The print
// command, the preview and the headless export all build their pages with it.
class TPageBuilder {
public:
    TPageBuilder(TPriDocument& doc, const TPrinterMetrics& metrics);

    // One seat in device pixels; on a single seat the printable area.
    QSize SeatSize() const;
    // Distance from one seat to the next, gaps included.
    QSize SeatStep() const;
    QPoint SeatOrigin(int row, int column) const;

    // The page background, when shown, into the seat at the origin.
    void DrawBackground(QPainter& canvas, QPoint origin) const;
    // Every printable object of the edited side, placed on the seat at the origin.
    void DrawObjects(QPainter& canvas, QPoint origin) const;
    void DrawSeat(QPainter& canvas, QPoint origin) const;
    // False for papers and devices whose sizes no printer has (a damaged file): nothing is drawn.
    bool IsPrintable() const;
    // Every seat of a sheet that starts on it, as plain printing does; step follows each seat
    // (progress and cancel of a print job; it may throw to stop).
    void DrawPlainSheet(QPainter& canvas, const std::function<void()>& step = {}) const;

    const TPrinterMetrics& Metrics() const { return fMetrics; }
    // The device's unprintable edges in the page's view pixels, as the objects place text by
    // them: a PDF has none, whatever printer the page shows.
    TRect PageMargins() const;

    // The object's print rectangle on the seat at the origin, and the object drawn into a
    // rectangle there: the merge modes move and repeat objects over a portal's rows.
    QRect PrintRect(const TPriBase& object, QPoint origin) const;
    void DrawObject(QPainter& canvas, TPriBase& object, const QRect& rect, QPoint origin) const;

private:
    TPriDocument& fDoc;
    TPrinterMetrics fMetrics;
};
