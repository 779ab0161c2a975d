#pragma once

#include <QImage>
#include <QRectF>
#include <QSize>

class QPainter;

// A picture as an output device gets it: one larger than the pixels the device gives its place is
// smoothly scaled down to them, once for all the draws of the same picture at the same size. The
// full picture stays with its owner for saving, effects and trimming.
class TScaledCopy {
public:
    // The device pixels rect covers through the painter's transform, rotation and resolution included.
    static QSize DevicePixels(const QPainter& painter, const QRectF& rect);
    // The picture itself when it has no more pixels than wanted on either side, else the copy.
    const QImage& For(const QImage& picture, QSize pixels);

private:
    qint64 fKey = 0;
    QImage fCopy;
};
