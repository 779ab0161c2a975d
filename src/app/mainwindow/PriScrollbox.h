#pragma once

#include "platform/Color.h"

#include <QPoint>
#include <QScrollArea>
#include <QSize>

// The page's scroll box: its content widget holds the surface, the two rulers and the spacer
// labels, placed by the main window. It reports every scroll, turns the wheel into 10-pixel steps
// and hands Ctrl+wheel on as zoom steps.
class TPriScrollbox : public QScrollArea {
    Q_OBJECT

public:
    // Pixels the vertical position moves per wheel notch, whatever the zoom.
    static constexpr int kWheelStep = 10;

    explicit TPriScrollbox(QWidget* parent = nullptr);

    // The widget that scrolls: parent of the surface, the rulers and the spacer labels.
    QWidget* Content() const { return fContent; }
    QSize ContentSize() const;
    void SetContentSize(QSize size);
    // Sizes the content to the right and bottom edges of its visible children.
    void FitContentToChildren();

    // Background of the box (and of the area around the page).
    TColor Color() const { return FColor; }
    void SetColor(TColor value);

    int HorzPosition() const;
    void SetHorzPosition(int value);
    int VertPosition() const;
    void SetVertPosition(int value);
    // The system's scroll bar thickness, for sizing the rulers.
    int ScrollBarExtent() const;

    // A child's position in view coordinates: (0, 0) is the visible top-left corner, whatever the
    // scroll positions, as a scrolled child's Left and Top are counted.
    QPoint ViewPos(const QWidget* child) const;
    void SetViewPos(QWidget* child, QPoint pos);
    void SetViewLeft(QWidget* child, int left);
    void SetViewTop(QWidget* child, int top);
    // After a scroll: the vertical ruler back to Left 0 and the horizontal ruler back to Top 0, so
    // both stay at the visible edges while the page moves under them; both are raised above the
    // page, the horizontal one on top. Either may be null.
    void PinRulers(QWidget* horzRuler, QWidget* vertRuler);

signals:
    // After the horizontal / vertical position changed (scroll bar, keys, wheel or code).
    void HorzScroll();
    void VertScroll();
    // Ctrl+wheel, in whole notches: positive away from the user (up), negative towards; at is the
    // pointer in viewport coordinates.
    void ZoomStep(int notches, QPoint at);
    // A left click on the box where no child lies.
    void EmptyAreaClicked();

protected:
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool IsEmptyAt(QObject* watched, QPoint pos) const;

    QWidget* fContent;
    TColor FColor = 13160660;
    int fWheelRest = 0;
    int fZoomRest = 0;
    bool fEmptyPressed = false;
};
