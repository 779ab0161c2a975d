#include "print/MetafileEx.h"

#include <QPainter>
#include <QRect>

namespace {
// Qt plays a picture scaled by the target's resolution over this one.
constexpr double kPictureDpi = 96.0;
} // namespace

TMetafileEx::TMetafileEx(QSize pagePixels, int dpiX, int dpiY)
    : fPagePixels(pagePixels), fDpiX(dpiX > 0 ? dpiX : 96), fDpiY(dpiY > 0 ? dpiY : 96) {}

int TMetafileEx::metric(PaintDeviceMetric m) const {
    switch (m) {
    case PdmWidth: return fPagePixels.width();
    case PdmHeight: return fPagePixels.height();
    case PdmWidthMM: return int(fPagePixels.width() * 25.4 / fDpiX);
    case PdmHeightMM: return int(fPagePixels.height() * 25.4 / fDpiY);
    case PdmDpiX:
    case PdmPhysicalDpiX: return fDpiX;
    case PdmDpiY:
    case PdmPhysicalDpiY: return fDpiY;
    default: return QPicture::metric(m);
    }
}

void TMetafileEx::Play(QPainter& canvas, QPoint at, double sx, double sy) const {
    QPaintDevice* device = canvas.device();
    const double dx = device && device->logicalDpiX() > 0 ? device->logicalDpiX() : kPictureDpi;
    const double dy = device && device->logicalDpiY() > 0 ? device->logicalDpiY() : kPictureDpi;
    canvas.save();
    // A page knows nothing of the clip the target carries; drawn under it, parts would vanish.
    canvas.setClipping(false);
    canvas.translate(at);
    canvas.scale(sx * kPictureDpi / dx, sy * kPictureDpi / dy);
    canvas.drawPicture(0, 0, *this);
    canvas.restore();
}

void TMetafileEx::Draw(QPainter& canvas, QPoint at) const {
    Play(canvas, at, 1.0, 1.0);
}

void TMetafileEx::Draw(QPainter& canvas, const QRect& rect) const {
    if (fPagePixels.isEmpty() || rect.isEmpty()) return;
    Play(canvas, rect.topLeft(), double(rect.width()) / fPagePixels.width(),
         double(rect.height()) / fPagePixels.height());
}
