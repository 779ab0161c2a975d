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
    if (fStale || fPicture.size() != size) {
        fPicture = size.isEmpty() ? QImage() : fRender(size);
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
