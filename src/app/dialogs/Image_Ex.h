#pragma once

#include <QImage>
#include <QRect>
#include <QWidget>

// A picture control: draws one picture placed like the classic image control (Stretch,
// Proportional, Center) or tiled over the whole area (BltLoop), and reports the mouse
// entering, leaving, moving, pressing and releasing. Without a picture it paints nothing, so
// whatever lies below shows through.
class TImage_Ex : public QWidget {
    Q_OBJECT

public:
    explicit TImage_Ex(QWidget* parent = nullptr);

    const QImage& Picture() const { return fPicture; }
    // A null image clears the picture.
    void SetPicture(const QImage& picture);

    bool Center() const { return fCenter; }
    void SetCenter(bool on);
    bool Stretch() const { return fStretch; }
    void SetStretch(bool on);
    bool Proportional() const { return fProportional; }
    void SetProportional(bool on);
    // Pixels of the picture's bottom-left colour are left out, as for bitmaps of the classic
    // control; pictures with an alpha channel are drawn with it either way.
    bool Transparent() const { return fTransparent; }
    void SetTransparent(bool on);
    // The control takes the picture's size whenever the picture changes.
    bool AutoSize() const { return fAutoSize; }
    void SetAutoSize(bool on);
    bool BltLoop() const { return fBltLoop; }
    void SetBltLoop(bool on);
    int Tag() const { return fTag; }
    void SetTag(int tag) { fTag = tag; }

    // Where a picture of this size lands in a client area of this size (BltLoop off).
    static QRect DestRect(QSize picture, QSize client, bool stretch, bool proportional, bool center);

    QSize sizeHint() const override;

signals:
    void MouseEnter();
    void MouseLeave();
    void MouseDown(Qt::MouseButton button, QPoint pos);
    void MouseMove(QPoint pos);
    void MouseUp(Qt::MouseButton button, QPoint pos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void PictureChanged();
    // The picture's size in this control's pixels (a high-resolution picture counts by its
    // device pixel ratio).
    QSize LogicalSize() const;

    QImage fPicture;
    QImage fShown; // the picture with its transparent colour made clear
    bool fCenter = false;
    bool fStretch = false;
    bool fProportional = false;
    bool fTransparent = false;
    bool fAutoSize = false;
    bool fBltLoop = false;
    int fTag = 0;
};
