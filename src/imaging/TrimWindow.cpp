#include "imaging/TrimWindow.h"

#include <algorithm>

void TTrimWindow::Reset(QSize picture) {
    fPicture = QSize(std::max(picture.width(), 0), std::max(picture.height(), 0));
    fLeft = fTop = 0;
    SizeFromInsets();
}

void TTrimWindow::SizeFromInsets() {
    fWidth = fPicture.width() - 2 * fLeft;
    fHeight = fPicture.height() - 2 * fTop;
}

bool TTrimWindow::ZoomUp() {
    const int w = fPicture.width();
    const int h = fPicture.height();
    if (!(fLeft < w / 4 - kZoomStep && fTop < h / 4 - kZoomStep)) return false;
    fLeft += kZoomStep;
    fTop += kZoomStep;
    SizeFromInsets();
    return true;
}

void TTrimWindow::ZoomDown() {
    fLeft = std::max(fLeft - kZoomStep, 0);
    fTop = std::max(fTop - kZoomStep, 0);
    SizeFromInsets();
}

void TTrimWindow::MoveUp() {
    fTop = std::max(fTop - kMoveStep, 0);
}
void TTrimWindow::MoveLeft() {
    fLeft = std::max(fLeft - kMoveStep, 0);
}

// Grows by at most the room left, so the window stops at the picture's edge.
void TTrimWindow::MoveDown() {
    fTop += std::clamp(fPicture.height() - (fTop + fHeight), 0, kMoveStep);
}
void TTrimWindow::MoveRight() {
    fLeft += std::clamp(fPicture.width() - (fLeft + fWidth), 0, kMoveStep);
}

QRect TTrimWindow::MapSelection(const QRect& dragged, QSize preview) const {
    if (preview.isEmpty() || fWidth <= 0 || fHeight <= 0) return QRect();
    // Corners as given by the mouse, in either order; the far corner is exclusive.
    const int x1 = std::clamp(std::min(dragged.left(), dragged.left() + dragged.width()), 0, preview.width());
    const int x2 = std::clamp(std::max(dragged.left(), dragged.left() + dragged.width()), 0, preview.width());
    const int y1 = std::clamp(std::min(dragged.top(), dragged.top() + dragged.height()), 0, preview.height());
    const int y2 = std::clamp(std::max(dragged.top(), dragged.top() + dragged.height()), 0, preview.height());
    if (x2 <= x1 || y2 <= y1) return QRect();
    // Through the zoomed window the user sees, not the whole picture: the cut is what was dragged over.
    const auto scale = [](int length, int value, int extent) { return int(qint64(length) * value / extent); };
    const int x = fLeft + scale(fWidth, x1, preview.width());
    const int y = fTop + scale(fHeight, y1, preview.height());
    const int w = scale(fWidth, x2 - x1, preview.width());
    const int h = scale(fHeight, y2 - y1, preview.height());
    const QRect mapped = QRect(x, y, w, h).intersected(Window());
    return mapped.isEmpty() ? QRect() : mapped;
}
