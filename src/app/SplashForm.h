#pragma once

#include <QImage>
#include <QWidget>

// The start-up picture: a borderless, screen-centred 450 × 226 window that closes itself after a
// while without holding up the event loop, so the main window can be prepared beneath it. It also
// closes as soon as another window of the program shows: the start choice must not lie under it.
class TSplashForm : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 450;
    static constexpr int kHeight = 226;
    static constexpr int kShowMs = 3000;

    explicit TSplashForm(QWidget* parent = nullptr);

    // Shows the form centred on the primary screen and closes it after the given time.
    void ShowFor(int milliseconds = kShowMs);
    // A form of its own that deletes itself once closed.
    static TSplashForm* ShowSplash(int milliseconds = kShowMs);

    // The picture at the given device pixel ratio (450 × 226 logical pixels).
    static QImage RenderPicture(qreal devicePixelRatio = 1.0);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QImage fPicture;
};
