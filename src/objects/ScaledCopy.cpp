#include "objects/ScaledCopy.h"

#include <QLineF>
#include <QPainter>
#include <algorithm>
#include <cmath>

QSize TScaledCopy::DevicePixels(const QPainter& painter, const QRectF& rect) {
    const QTransform t = painter.deviceTransform();
    // Lengths of the mapped sides, so that a turned page measures as it lies on the device.
    const double w = QLineF(t.map(rect.topLeft()), t.map(rect.topRight())).length();
    const double h = QLineF(t.map(rect.topLeft()), t.map(rect.bottomLeft())).length();
    const auto pixels = [](double v) { return std::isfinite(v) ? int(std::clamp(std::ceil(v - 0.01), 1.0, 1e6)) : 1; };
    return QSize(pixels(w), pixels(h));
}

const QImage& TScaledCopy::For(const QImage& picture, QSize pixels) {
    // Never enlarged: a side already small enough keeps its pixels.
    const QSize wanted(std::min(pixels.width(), picture.width()), std::min(pixels.height(), picture.height()));
    if (picture.isNull() || wanted.isEmpty() || wanted == picture.size()) return picture;
    // The same copy object each time, so that a PDF stores it once however often it is drawn.
    if (fKey != picture.cacheKey() || fCopy.size() != wanted) {
        fCopy = picture.scaled(wanted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        fKey = picture.cacheKey();
    }
    return fCopy;
}
