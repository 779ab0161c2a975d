#include "app/dialogs/Image_Ex.h"

#include <QMouseEvent>
#include <QPainter>

TImage_Ex::TImage_Ex(QWidget* parent) : QWidget(parent) {
    resize(105, 105);
    // The panel below shows through where the picture does not reach.
    setAttribute(Qt::WA_TranslucentBackground);
}

void TImage_Ex::SetPicture(const QImage& picture) {
    fPicture = picture;
    PictureChanged();
}

void TImage_Ex::SetCenter(bool on) {
    fCenter = on;
    update();
}

void TImage_Ex::SetStretch(bool on) {
    fStretch = on;
    update();
}

void TImage_Ex::SetProportional(bool on) {
    fProportional = on;
    update();
}

void TImage_Ex::SetTransparent(bool on) {
    fTransparent = on;
    PictureChanged();
}

void TImage_Ex::SetAutoSize(bool on) {
    fAutoSize = on;
    PictureChanged();
}

void TImage_Ex::SetBltLoop(bool on) {
    fBltLoop = on;
    update();
}

QSize TImage_Ex::LogicalSize() const {
    return fPicture.isNull() ? QSize() : fPicture.deviceIndependentSize().toSize();
}

void TImage_Ex::PictureChanged() {
    fShown = fPicture;
    if (fTransparent && !fPicture.isNull() && !fPicture.hasAlphaChannel()) {
        const QRgb key = fPicture.pixel(0, fPicture.height() - 1);
        fShown = fPicture.convertToFormat(QImage::Format_ARGB32);
        fShown.setAlphaChannel(
            fPicture.createMaskFromColor(key, Qt::MaskOutColor).convertToFormat(QImage::Format_Grayscale8));
    }
    if (fAutoSize && !fPicture.isNull()) resize(LogicalSize());
    updateGeometry();
    update();
}

QRect TImage_Ex::DestRect(QSize picture, QSize client, bool stretch, bool proportional, bool center) {
    int w = picture.width(), h = picture.height();
    const int cw = client.width(), ch = client.height();
    if (stretch || (proportional && (w > cw || h > ch))) {
        if (proportional && w > 0 && h > 0) {
            // Fit the longer side, then shrink again if the other side still overflows.
            const double aspect = double(w) / h;
            if (w > h) {
                w = cw;
                h = int(cw / aspect);
                if (h > ch) {
                    h = ch;
                    w = int(ch * aspect);
                }
            } else {
                h = ch;
                w = int(ch * aspect);
                if (w > cw) {
                    w = cw;
                    h = int(cw / aspect);
                }
            }
        } else {
            w = cw;
            h = ch;
        }
    }
    QRect rect(0, 0, w, h);
    if (center) rect.translate((cw - w) / 2, (ch - h) / 2);
    return rect;
}

QSize TImage_Ex::sizeHint() const {
    return fAutoSize && !fPicture.isNull() ? LogicalSize() : QSize(105, 105);
}

void TImage_Ex::paintEvent(QPaintEvent*) {
    if (fShown.isNull()) return;
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const QSize size = LogicalSize();
    if (fBltLoop) {
        if (size.isEmpty()) return;
        for (int y = 0; y < height(); y += size.height())
            for (int x = 0; x < width(); x += size.width())
                p.drawImage(QRect(QPoint(x, y), size), fShown);
        return;
    }
    p.drawImage(DestRect(size, this->size(), fStretch, fProportional, fCenter), fShown);
}

void TImage_Ex::enterEvent(QEnterEvent*) {
    emit MouseEnter();
}

void TImage_Ex::leaveEvent(QEvent*) {
    emit MouseLeave();
}

void TImage_Ex::mousePressEvent(QMouseEvent* event) {
    emit MouseDown(event->button(), event->position().toPoint());
}

void TImage_Ex::mouseMoveEvent(QMouseEvent* event) {
    emit MouseMove(event->position().toPoint());
}

void TImage_Ex::mouseReleaseEvent(QMouseEvent* event) {
    emit MouseUp(event->button(), event->position().toPoint());
}
