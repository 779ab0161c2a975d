#pragma once

#include <QPicture>
#include <QSize>

class QPainter;
class QRect;
class QPoint;

// One recorded page of the page store, in the device pixels of the printer it was recorded for.
// The page reports that printer's resolution while recording, so fonts given in points come out
// at their printed size; drawing undoes Qt's own scaling of pictures by device resolution / 96.
class TMetafileEx : public QPicture {
public:
    TMetafileEx(QSize pagePixels, int dpiX, int dpiY);

    QSize PagePixels() const { return fPagePixels; }
    int DpiX() const { return fDpiX; }
    int DpiY() const { return fDpiY; }

    // The page at its own size with its top-left corner at the point, in the target's device
    // pixels. The target's clip is switched off while the page draws and restored afterwards.
    void Draw(QPainter& canvas, QPoint at) const;
    // The page stretched into the rectangle, also without the target's clip.
    void Draw(QPainter& canvas, const QRect& rect) const;

protected:
    int metric(PaintDeviceMetric m) const override;

private:
    void Play(QPainter& canvas, QPoint at, double sx, double sy) const;

    QSize fPagePixels;
    int fDpiX;
    int fDpiY;
};
