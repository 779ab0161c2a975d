#include "PreviewPane.h"

#include <QPainter>

TPreviewPane::TPreviewPane(TRender render, QWidget* parent) : QFrame(parent), fRender(std::move(render)) {
    setFrameShape(QFrame::StyledPanel);
    setMinimumSize(240, 180);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setAccessibleName(QStringLiteral("プレビュー"));
}

void TPreviewPane::Refresh() {
    fStale = true;
    update();
}

const QImage& TPreviewPane::Picture() {
    const QSize size = contentsRect().size();
    const qreal ratio = devicePixelRatioF();
    if (fStale || fPicture.deviceIndependentSize().toSize() != size || fPicture.devicePixelRatio() != ratio) {
        fPicture = size.isEmpty() ? QImage() : fRender(size, ratio);
        fStale = false;
    }
    return fPicture;
}

void TPreviewPane::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter p(this);
    p.drawImage(contentsRect().topLeft(), Picture());
}

void TPreviewPane::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    fStale = true;
}
