#include "objects/PriBackImage.h"

#include "platform/Rounding.h"

#include <QPainter>

void TPriBackImage::AssignBack(const TPriBackImage& other) {
    FMainBack = other.FMainBack;
    FSubBack = other.FSubBack;
    FVisible = other.FVisible;
    FUseSub = other.FUseSub;
}

void TPriBackImage::MakeViewPart(const TRect& r, int w, int h) {
    if (IsEmpty() || w <= 0 || h <= 0) {
        FViewPart = QImage();
        return;
    }
    const QImage& back = ActiveBack();
    const int bw = back.width(), bh = back.height();
    const int c = Trunc(double(bw) / w * r.Left);
    const int d = Trunc(double(bh) / h * r.Top);
    const int e = Trunc(double(bw) / w * (r.Right - r.Left));
    const int f = Trunc(double(bh) / h * (r.Bottom - r.Top));
    if (e <= 0 || f + 1 <= 0) {
        FViewPart = QImage();
        return;
    }
    FViewPart = QImage(e, f + 1, QImage::Format_RGB32);
    FViewPart.fill(Qt::white);
    QPainter p(&FViewPart);
    p.drawImage(QPoint(-c, -d), back);
}

void TPriBackImage::DrawWhole(QPainter& canvas, const TRect& target) const {
    if (IsEmpty()) return;
    canvas.drawImage(target.ToQRect(), ActiveBack());
}

void TPriBackImage::DrawViewPart(QPainter& canvas, const TRect& target) const {
    if (FViewPart.isNull()) return;
    canvas.drawImage(target.ToQRect(), FViewPart);
}
