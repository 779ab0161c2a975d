#pragma once

#include <QImage>
#include <QPoint>
#include <QRectF>
#include <QWidget>

class QRubberBand;

// A preview panel of the effect dialog: shows a picture (or a part of one) fitted into itself,
// keeping the aspect ratio and centred, and optionally lets the user drag a selection rectangle
// over the picture with a rubber band that never paints over the picture itself.
class TEffectPreview : public QWidget {
    Q_OBJECT

public:
    explicit TEffectPreview(QWidget* parent = nullptr);

    // Shows the part source of picture stretched to the fitted shape of aspect (the picture's
    // own size when aspect is empty). An empty picture shows nothing.
    void SetPicture(const QImage& picture, const QRectF& source = QRectF(), QSize aspect = QSize());
    void Clear() { SetPicture(QImage()); }
    const QImage& Picture() const { return fPicture; }

    // Where the picture lies inside the panel; empty when nothing is shown.
    QRect PaintBox() const;

    void SetSelectable(bool value) { fSelectable = value; }
    void ClearSelection();
    bool HasSelection() const;
    // Shows a rectangle given in paint-box pixels as the selection.
    void ShowSelection(const QRect& inPaintBox);

signals:
    // A rectangle dragged over the picture, in paint-box pixels, corners as the mouse gave them
    // (width and height may be negative), together with the paint box's size.
    void SelectionMade(const QRect& dragged, QSize paintBox);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QPoint ClampToBox(QPoint p) const;

    QImage fPicture;
    QRectF fSource;
    QSize fAspect;
    bool fSelectable = false;
    bool fDragging = false;
    QPoint fOrigin;
    QRubberBand* fBand = nullptr;
};
