#include "print/PageExport.h"

#include "document/PriDocument.h"
#include "platform/PrinterMetrics.h"
#include "platform/Rounding.h"
#include "print/PageBuilder.h"

#include <QImage>
#include <QPainter>

TPrinterMetrics TPageExport::DeviceMetrics(QSize pixels, int dpi) {
    TPrinterMetrics m;
    m.LogPixelsX = m.LogPixelsY = dpi;
    m.PhysicalWidth = m.HorzRes = pixels.width();
    m.PhysicalHeight = m.VertRes = pixels.height();
    m.Complete();
    return m;
}

QImage TPageExport::RenderSeat(TPriDocument& doc, int dpi, bool smooth) {
    const TPriPaper& p = doc.PrintPaper;
    const QSize pixels(Trunc(p.PageWidth() / 254.0 * dpi), Trunc(p.PageHeight() / 254.0 * dpi));
    if (pixels.isEmpty() || pixels.width() > TPriDocument::kMaxViewSide || pixels.height() > TPriDocument::kMaxViewSide)
        return QImage();
    QImage image(pixels, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter canvas(&image);
    if (smooth)
        canvas.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    TPageBuilder(doc, DeviceMetrics(pixels, dpi)).DrawSeat(canvas, QPoint(0, 0));
    return image;
}
