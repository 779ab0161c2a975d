#include "app/mainwindow/PageView.h"

#include "app/DisplaySettings.h"
#include "app/mainwindow/PriRuler.h"
#include "app/mainwindow/PriScrollbox.h"
#include "platform/Rounding.h"

#include <QEvent>
#include <QLabel>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr int kRulerThickness = 25;

} // namespace

TPageView::TPageView(int screenInch, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PageView"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    ScrollBox_Main = new TPriScrollbox(this);
    ScrollBox_Main->setObjectName(QStringLiteral("ScrollBox_Main"));
    ScrollBox_Main->setFocusPolicy(Qt::StrongFocus);
    QWidget* content = ScrollBox_Main->Content();
    Label_Right = new QLabel(content);
    Label_Bottom = new QLabel(content);
    for (QLabel* label : {Label_Right, Label_Bottom})
        label->setAutoFillBackground(true);
    PriRuler_Long = new TPriRuler(content, screenInch);
    PriRuler_Long->setObjectName(QStringLiteral("PriRuler_Long"));
    PriRuler_Long->SetBltVec(bvVert);
    PriRuler_Side = new TPriRuler(content, screenInch);
    PriRuler_Side->setObjectName(QStringLiteral("PriRuler_Side"));
    PriRuler_Side->SetBltVec(bvHorz);
    layout->addWidget(ScrollBox_Main);
    connect(ScrollBox_Main, &TPriScrollbox::HorzScroll, this, &TPageView::Scrolled);
    connect(ScrollBox_Main, &TPriScrollbox::VertScroll, this, &TPageView::Scrolled);
    // The view changes size with the window, the side bar and the scroll bars.
    ScrollBox_Main->viewport()->installEventFilter(this);
}

QWidget* TPageView::Content() const {
    return ScrollBox_Main->Content();
}

void TPageView::SetDocument(TPriPaint* document) {
    fDocument = document;
}

int TPageView::RulerThickness() const {
    return fRulersShown ? kRulerThickness : 0;
}

void TPageView::SetRulersShown(bool shown) {
    fRulersShown = shown;
    PriRuler_Side->setVisible(shown);
    PriRuler_Long->setVisible(shown);
    const int t = RulerThickness();
    PriRuler_Side->resize(PriRuler_Side->width(), t);
    PriRuler_Long->resize(t, PriRuler_Long->height());
    if (!shown) {
        PriRuler_Side->SetPointerMark(QPoint(-1, -1));
        PriRuler_Long->SetPointerMark(QPoint(-1, -1));
    }
    Relayout();
}

void TPageView::ApplySettings(const TDisplaySettings& s) {
    for (TPriRuler* ruler : {PriRuler_Side, PriRuler_Long}) {
        ruler->SetColor(s.RulerBackColor);
        ruler->SetTextColor(s.RulerTextColor);
        ruler->SetBltStrCheck(s.RulerStrCheck);
        ruler->update();
    }
    ScrollBox_Main->SetColor(s.MainColor);
    const QColor main = ColorToQColor(s.MainColor);
    for (QLabel* label : {Label_Right, Label_Bottom}) {
        QPalette p = label->palette();
        p.setColor(QPalette::Window, main);
        label->setPalette(p);
        label->setAutoFillBackground(true);
    }
}

QPoint TPageView::PageOrigin() const {
    const int t = RulerThickness();
    return QPoint(t + 10, t + 10);
}

QSize TPageView::PageArea() const {
    // The room without scroll bars, so a fitted page does not change with their appearance.
    const QSize box = ScrollBox_Main->maximumViewportSize();
    const int t = RulerThickness();
    return QSize(box.width() - t - 20, box.height() - t - 25);
}

void TPageView::PlacePage() {
    if (!fDocument) return;
    fDocument->SetPageLayout(PageOrigin(), PageArea());
    PlaceEdgeLabels();
    UpdateContentSize();
}

void TPageView::Relayout() {
    if (!fDocument || fLocked) return;
    fLastLayout = CurrentLayoutKey();
    // From the top left, so the rulers and the scroll range are measured from there.
    SetScrollPositions(0, 0);
    PlacePage();
    PinRulers();
    HandVisibleRect();
    fDocument->RedrawPage(nullptr, true, true);
    fDocument->update();
}

TPageView::TLayoutKey TPageView::CurrentLayoutKey() const {
    if (!fDocument) return {};
    return {fDocument, PageOrigin(), PageArea(), int(fDocument->BltSizeCheck), fDocument->DevicePixelRatio()};
}

void TPageView::ViewResized() {
    if (!fDocument || fLocked) return;
    // The page keeps its place when only the view changed (scroll bars came or went); the
    // rulers and the visible part follow.
    if (CurrentLayoutKey() != fLastLayout) {
        Relayout();
        return;
    }
    UpdateContentSize();
    PinRulers();
    HandVisibleRect();
    fDocument->update();
}

bool TPageView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize && watched == ScrollBox_Main->viewport() && !fRelayingOut) {
        fRelayingOut = true;
        ViewResized();
        fRelayingOut = false;
    }
    return QWidget::eventFilter(watched, event);
}

void TPageView::PlaceEdgeLabels() {
    if (!fDocument) return;
    const QRect s = fDocument->geometry();
    Label_Right->setGeometry(s.right() + 1, s.top(), 10, s.height());
    Label_Bottom->setGeometry(s.left(), s.bottom() + 1, s.width(), 10);
}

void TPageView::UpdateContentSize() {
    if (!fDocument) return;
    const QRect s = fDocument->geometry();
    // The page and the 10-pixel margins right of and below it.
    const QSize needed(s.right() + 1 + 10, s.bottom() + 1 + 10);
    ScrollBox_Main->SetContentSize(needed.expandedTo(ScrollBox_Main->viewport()->size()));
    UpdateRulers();
}

void TPageView::UpdateRulers() {
    if (!fDocument) return;
    switch (fDocument->BltSizeCheck) {
    case bsNormal: PriRuler_Side->SetBltUnit(bu25mm); break;
    case bsStretch: PriRuler_Side->SetBltUnit(bu100mm); break;
    case bs200: PriRuler_Side->SetBltUnit(bu20mm); break;
    case bs300: PriRuler_Side->SetBltUnit(bu10mm); break;
    case bs400: break;
    }
    PriRuler_Long->SetBltUnit(PriRuler_Side->BltUnit());
    const int t = RulerThickness();
    const QRect s = fDocument->geometry();
    const QSize content = ScrollBox_Main->Content()->size();
    const int hs = ScrollBox_Main->horizontalScrollBar()->value();
    const int vs = ScrollBox_Main->verticalScrollBar()->value();

    // The horizontal ruler runs along the whole content and stays at the top of the view.
    PriRuler_Side->setGeometry(0, vs, std::max(content.width(), s.right() + 1), t);
    PriRuler_Side->SetBltmmSize(fDocument->PrintPaper.PageWidth());
    PriRuler_Side->SetBltSameSize(fDocument->PaperPixels().width());
    PriRuler_Side->SetBackSize(s.width());
    PriRuler_Side->SetBltStart(s.left() - PriRuler_Side->x());

    // The vertical ruler lies below it and stays at the left of the view.
    PriRuler_Long->setGeometry(hs, t, t, std::max(content.height(), s.bottom() + 1) - t);
    PriRuler_Long->SetBltmmSize(fDocument->PrintPaper.PageHeight());
    PriRuler_Long->SetBltSameSize(fDocument->PaperPixels().height());
    PriRuler_Long->SetBackSize(s.height());
    PriRuler_Long->SetBltStart(s.top() - PriRuler_Long->y());
    PriRuler_Long->raise();
    PriRuler_Side->raise();
    PriRuler_Side->update();
    PriRuler_Long->update();
}

void TPageView::PinRulers() {
    ScrollBox_Main->PinRulers(PriRuler_Side, PriRuler_Long);
}

QRect TPageView::VisibleRect() const {
    if (!fDocument) return QRect();
    const int t = RulerThickness();
    const int hs = ScrollBox_Main->horizontalScrollBar()->value();
    const int vs = ScrollBox_Main->verticalScrollBar()->value();
    const QSize view = ScrollBox_Main->viewport()->size();
    const QRect shown(hs + t, vs + t, view.width() - t, view.height() - t);
    const QRect page = fDocument->geometry();
    const QRect visible = shown.intersected(page);
    if (visible.isEmpty()) return QRect(0, 0, 0, 0);
    return visible.translated(-page.topLeft());
}

void TPageView::HandVisibleRect() {
    const QRect v = VisibleRect();
    fDocument->SetVisibleRect(v.x(), v.y(), v.width(), v.height());
}

void TPageView::SetScrollPositions(int x, int y) {
    ScrollBox_Main->horizontalScrollBar()->setValue(x);
    ScrollBox_Main->verticalScrollBar()->setValue(y);
}

void TPageView::Scrolled() {
    PinRulers();
    if (fDocument) HandVisibleRect();
}

bool TPageView::SetZoom(TBltSize zoom) {
    if (!fDocument || zoom == fDocument->BltSizeCheck) return false;
    fDocument->BltSizeCheck = zoom;
    Relayout();
    emit ZoomChanged();
    return true;
}

void TPageView::StepZoom(int notches, std::optional<QPoint> anchor) {
    if (!fDocument || notches == 0) return;
    // From the smallest to the largest: fitted, 100 %, 200 %, 300 %.
    static const TBltSize order[] = {bsStretch, bsNormal, bs200, bs300};
    int at = 1;
    for (int i = 0; i < 4; ++i)
        if (order[i] == fDocument->BltSizeCheck) at = i;
    const int to = std::clamp(at + notches, 0, 3);
    if (order[to] == fDocument->BltSizeCheck) return;
    // Where the anchor lies on the page, as a share of its width and height.
    const QPoint scroll(ScrollBox_Main->horizontalScrollBar()->value(), ScrollBox_Main->verticalScrollBar()->value());
    QRect page = fDocument->geometry();
    QPointF share;
    if (anchor && !page.isEmpty()) {
        const QPoint p = *anchor + scroll - page.topLeft();
        share = QPointF(double(p.x()) / page.width(), double(p.y()) / page.height());
    }
    SetZoom(order[to]);
    page = fDocument->geometry();
    if (!anchor || page.isEmpty()) return;
    SetScrollPositions(page.left() + Nearest(share.x() * page.width()) - anchor->x(),
                       page.top() + Nearest(share.y() * page.height()) - anchor->y());
}

void TPageView::UpdateDeviceRatio() {
    if (!fDocument) return;
    const qreal ratio = devicePixelRatioF();
    if (ratio == fDocument->DevicePixelRatio()) return;
    fDocument->SetDevicePixelRatio(ratio);
    Relayout();
}

void TPageView::ScrollToShow(QPoint pagePoint) {
    if (!fDocument) return;
    const QRect visible = VisibleRect();
    if (visible.isEmpty()) return;
    // Scroll just far enough that the point is inside the part no ruler covers.
    int dx = 0, dy = 0;
    if (pagePoint.x() < visible.left())
        dx = pagePoint.x() - visible.left();
    else if (pagePoint.x() > visible.right())
        dx = pagePoint.x() - visible.right();
    if (pagePoint.y() < visible.top())
        dy = pagePoint.y() - visible.top();
    else if (pagePoint.y() > visible.bottom())
        dy = pagePoint.y() - visible.bottom();
    if (dx == 0 && dy == 0) return;
    SetScrollPositions(ScrollBox_Main->horizontalScrollBar()->value() + dx,
                       ScrollBox_Main->verticalScrollBar()->value() + dy);
}

void TPageView::ShowPointer(QPoint pagePoint) {
    if (!fRulersShown) return;
    PriRuler_Side->SetPointerMark(pagePoint);
    PriRuler_Long->SetPointerMark(pagePoint);
}
