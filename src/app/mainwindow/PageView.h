#pragma once

#include "document/PriPaint.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QWidget>
#include <optional>

class QLabel;
class TPriRuler;
class TPriScrollbox;
struct TDisplaySettings;

// The page on screen: the scroll box holding the document surface, the two rulers pinned to the
// view's edges and the margins right of and below the page. It places the page for the zoom and
// the room there is, and keeps the rulers, the scroll range and the surface's visible part in
// step with it through scrolling, zooming and resizing.
class TPageView : public QWidget {
    Q_OBJECT

public:
    explicit TPageView(int screenInch, QWidget* parent = nullptr);

    TPriScrollbox* ScrollBox() const { return ScrollBox_Main; }
    TPriRuler* HorzRuler() const { return PriRuler_Side; }
    TPriRuler* VertRuler() const { return PriRuler_Long; }
    // The parent of every document surface.
    QWidget* Content() const;

    // The surface shown; the window owns it.
    void SetDocument(TPriPaint* document);
    // While locked (the window being built or closed) nothing is placed: the sizes are not final.
    void SetLayoutLock(bool locked) { fLocked = locked; }
    bool LayoutLocked() const { return fLocked; }

    // Shows or hides the rulers, and places the page for the room that gives or takes.
    void SetRulersShown(bool shown);
    bool RulersShown() const { return fRulersShown; }
    // The ruler colours and the colour around the page.
    void ApplySettings(const TDisplaySettings& settings);

    // Where the page may start, and the room it may take, in content coordinates.
    QPoint PageOrigin() const;
    QSize PageArea() const;
    // The part of the page the view shows and no ruler covers, in page pixels.
    QRect VisibleRect() const;

    // Places the page for the zoom and the room, sizes the content and the rulers around it:
    // what a document needs before it is drawn.
    void PlacePage();
    // The page placed anew and drawn whole, the view back at the top left. Everything that moves
    // the page (zoom, rulers, side bar, paper, a document read, the device ratio) comes here.
    void Relayout();
    void PlaceEdgeLabels();

    // False when the document already shows at that zoom: nothing moves then.
    bool SetZoom(TBltSize zoom);
    // A zoom step of the wheel, fitted → 100 % → 200 % → 300 %; with an anchor (viewport
    // coordinates) the page point there stays there.
    void StepZoom(int notches, std::optional<QPoint> anchor = std::nullopt);
    // After a move to a screen of another density: the page is drawn anew at that density.
    void UpdateDeviceRatio();

    // Scrolls just far enough that a page point (page pixels) is in the uncovered part.
    void ScrollToShow(QPoint pagePoint);
    // The pointer marks on the rulers, while they show.
    void ShowPointer(QPoint pagePoint);
    void SetScrollPositions(int x, int y);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    // The zoom changed: the window ticks its zoom item.
    void ZoomChanged();

private:
    // What the page's place depends on; a view resize that leaves it alone only moves the rulers.
    struct TLayoutKey {
        const TPriPaint* Doc = nullptr;
        QPoint Origin;
        QSize Area;
        int Zoom = -1;
        qreal Ratio = 0;
        bool operator==(const TLayoutKey&) const = default;
    };
    TLayoutKey CurrentLayoutKey() const;
    int RulerThickness() const;
    void ViewResized();
    void UpdateContentSize();
    void UpdateRulers();
    void PinRulers();
    void HandVisibleRect();
    void Scrolled();

    TPriPaint* fDocument = nullptr;
    bool fLocked = true;
    bool fRulersShown = false;
    bool fRelayingOut = false;
    TLayoutKey fLastLayout;

    TPriScrollbox* ScrollBox_Main = nullptr;
    TPriRuler* PriRuler_Side = nullptr;
    TPriRuler* PriRuler_Long = nullptr;
    QLabel* Label_Right = nullptr;
    QLabel* Label_Bottom = nullptr;
};
