#pragma once

#include <QFrame>
#include <QImage>
#include <functional>

// Shows a picture drawn on demand for its current size and the screen's pixel ratio (sharp on a
// high-density screen); Refresh asks for a new one.
class TPreviewPane : public QFrame {
    Q_OBJECT
public:
    using TRender = std::function<QImage(QSize area, qreal pixelRatio)>;
    TPreviewPane(TRender render, QWidget* parent = nullptr);

    void Refresh();
    // The picture for the pane's present size (drawn now if it is stale).
    const QImage& Picture();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    TRender fRender;
    QImage fPicture;
    bool fStale = true;
};
