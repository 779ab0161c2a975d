#include "app/dialogs/EffectPreview.h"

#include "imaging/ImageEffects.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QRubberBand>
#include <algorithm>

namespace {

QPixmap Checkerboard() {
    constexpr int kSquare = 6;
    QPixmap tile(2 * kSquare, 2 * kSquare);
    tile.fill(Qt::white);
    QPainter p(&tile);
    p.fillRect(0, 0, kSquare, kSquare, QColor(204, 204, 204));
    p.fillRect(kSquare, kSquare, kSquare, kSquare, QColor(204, 204, 204));
    return tile;
}

} // namespace

TEffectPreview::TEffectPreview(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    fBand = new QRubberBand(QRubberBand::Rectangle, this);
}

void TEffectPreview::SetPicture(const QImage& picture, const QRectF& source, QSize aspect) {
    fPicture = picture;
    fSource = source.isEmpty() ? QRectF(picture.rect()) : source;
    fAspect = aspect.isEmpty() ? picture.size() : aspect;
    update();
}

QRect TEffectPreview::PaintBox() const {
    if (fPicture.isNull() || fAspect.isEmpty()) return QRect();
    // One pixel of the panel stays free on every side.
    const QRect area = rect().adjusted(1, 1, -1, -1);
    const QRect fit = ImageEffects::FitRect(fAspect, area.size());
    return fit.isEmpty() ? QRect() : fit.translated(area.topLeft());
}

void TEffectPreview::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window).darker(115));
    const QRect box = PaintBox();
    if (box.isEmpty()) return;
    // The clear parts of a picture show over a checkerboard, as nothing that could be taken for colour.
    if (fPicture.hasAlphaChannel()) p.fillRect(box, QBrush(Checkerboard()));
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(QRectF(box), fPicture, fSource);
}

QPoint TEffectPreview::ClampToBox(QPoint p) const {
    const QRect box = PaintBox();
    return QPoint(std::clamp(p.x(), box.left(), box.left() + box.width()),
                  std::clamp(p.y(), box.top(), box.top() + box.height()));
}

void TEffectPreview::mousePressEvent(QMouseEvent* event) {
    if (!fSelectable || event->button() != Qt::LeftButton || PaintBox().isEmpty())
        return QWidget::mousePressEvent(event);
    fDragging = true;
    fOrigin = ClampToBox(event->position().toPoint());
    fBand->setGeometry(QRect(fOrigin, QSize()));
    fBand->show();
}

void TEffectPreview::mouseMoveEvent(QMouseEvent* event) {
    if (!fDragging) return QWidget::mouseMoveEvent(event);
    // The mouse may leave the panel while it is held; the band stays on the picture.
    fBand->setGeometry(QRect(fOrigin, ClampToBox(event->position().toPoint())).normalized());
}

void TEffectPreview::mouseReleaseEvent(QMouseEvent* event) {
    if (!fDragging || event->button() != Qt::LeftButton) return QWidget::mouseReleaseEvent(event);
    fDragging = false;
    const QPoint end = ClampToBox(event->position().toPoint());
    const QRect box = PaintBox();
    if (end == fOrigin) fBand->hide();
    const QPoint a = fOrigin - box.topLeft();
    const QPoint b = end - box.topLeft();
    emit SelectionMade(QRect(a.x(), a.y(), b.x() - a.x(), b.y() - a.y()), box.size());
}

void TEffectPreview::resizeEvent(QResizeEvent* event) {
    // A band drawn for the old size no longer matches the picture.
    ClearSelection();
    QWidget::resizeEvent(event);
}

void TEffectPreview::ClearSelection() {
    fDragging = false;
    fBand->hide();
}

bool TEffectPreview::HasSelection() const {
    return fBand->isVisible();
}

void TEffectPreview::ShowSelection(const QRect& inPaintBox) {
    const QRect box = PaintBox();
    const QRect band = inPaintBox.normalized().translated(box.topLeft()).intersected(box);
    if (box.isEmpty() || band.isEmpty()) return ClearSelection();
    fBand->setGeometry(band);
    fBand->show();
}
