#pragma once

#include <QRect>
#include <QSize>

// The trimming state of the effect dialog: a window inside the picture, made smaller by zooming
// up (equal insets from the left and top, the window centred) and moved in steps. The window
// never leaves the picture.
class TTrimWindow {
public:
    static constexpr int kZoomStep = 5;
    static constexpr int kMoveStep = 3;

    // The whole picture.
    void Reset(QSize picture);

    // Grows both insets by the zoom step while they stay below a quarter of the picture less the
    // step; false (and nothing changed) when refused.
    bool ZoomUp();
    // Shrinks both insets by the zoom step, not below 0.
    void ZoomDown();
    void MoveUp();
    void MoveDown();
    void MoveLeft();
    void MoveRight();

    int InsetLeft() const { return fLeft; }
    int InsetTop() const { return fTop; }
    QSize Picture() const { return fPicture; }
    // In picture pixels.
    QRect Window() const { return QRect(fLeft, fTop, fWidth, fHeight); }
    bool IsWhole() const {
        return fLeft == 0 && fTop == 0 && fWidth == fPicture.width() && fHeight == fPicture.height();
    }

    // A rectangle dragged on a preview of the given size (which shows the window) in picture
    // pixels: normalised, clipped to the preview, mapped through the window. Empty when nothing
    // of it is left.
    QRect MapSelection(const QRect& dragged, QSize preview) const;

private:
    void SizeFromInsets();

    QSize fPicture;
    int fLeft = 0;
    int fTop = 0;
    int fWidth = 0;
    int fHeight = 0;
};
