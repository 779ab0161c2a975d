// Where the page, the rulers and the side bar lie in the main window, and how they follow
// scrolling, zooming and resizing.
#include "app/mainwindow/PrintMainForm.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLayout>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStyle>
#include <QWindow>

namespace {

constexpr int kRulerThickness = 25;

} // namespace

int TPrintMainForm::RulerThickness() const {
    return RulerCheck() ? kRulerThickness : 0;
}

void TPrintMainForm::SetRulerCheck(bool shown) {
    fSettings.RulerCheck = shown;
    PriRuler_Side->setVisible(shown);
    PriRuler_Long->setVisible(shown);
    const int t = RulerThickness();
    PriRuler_Side->resize(PriRuler_Side->width(), t);
    PriRuler_Long->resize(t, PriRuler_Long->height());
    if (!shown) {
        PriRuler_Side->SetPointerMark(QPoint(-1, -1));
        PriRuler_Long->SetPointerMark(QPoint(-1, -1));
    }
    if (QAction* item = Action(QStringLiteral("MenuItem_rooler"))) item->setChecked(shown);
}

void TPrintMainForm::SetSideBarCheck(bool shown) {
    FSideBarCheck = shown;
    ScrollBox_ToolBar->setVisible(shown);
    ScrollBox_ToolBar->setEnabled(shown);
    if (shown) ScrollBox_ToolBar->raise();
    ArrangePanels();
    RelayoutPage();
    UpdateEditButtons();
}

void TPrintMainForm::ArrangePanels() {
    // The window's layout gives the scroll box the room the side bar leaves; the side bar keeps
    // its width and the start panel takes the side bar's height.
    ScrollBox_ToolBar->setVisible(FSideBarCheck);
    if (centralWidget() && centralWidget()->layout()) centralWidget()->layout()->activate();
}

QPoint TPrintMainForm::GetPageOrigin() const {
    const int t = RulerThickness();
    return QPoint(t + 10, t + 10);
}

QSize TPrintMainForm::GetPageArea() const {
    // The room without scroll bars, so a fitted page does not change with their appearance.
    const QSize box = ScrollBox_Main->maximumViewportSize();
    const int t = RulerThickness();
    return QSize(box.width() - t - 20, box.height() - t - 25);
}

void TPrintMainForm::RelayoutPage() {
    if (!FDocument || FLayoutLock) return;
    fLastLayout = CurrentLayoutKey();
    FDocument->SetPageLayout(GetPageOrigin(), GetPageArea());
    FDocument->RedrawPage(nullptr, false, true);
    PlaceEdgeLabels();
    UpdateRulers();
    UpdateContentSize();
    SetScrollPositions(0, 0);
    PinRulers();
    const QRect v = GetVisibleRect();
    FDocument->SetVisibleRect(v.x(), v.y(), v.width(), v.height());
    FDocument->update();
}

TPrintMainForm::TLayoutKey TPrintMainForm::CurrentLayoutKey() const {
    if (!FDocument) return {};
    return {FDocument, GetPageOrigin(), GetPageArea(), int(FDocument->BltSizeCheck), FDocument->DevicePixelRatio()};
}

void TPrintMainForm::ViewResized() {
    if (!FDocument || FLayoutLock) return;
    // The page keeps its place when only the view changed (scroll bars came or went); the
    // rulers and the visible part follow.
    if (CurrentLayoutKey() != fLastLayout) {
        RelayoutPage();
        return;
    }
    UpdateContentSize();
    PinRulers();
    const QRect v = GetVisibleRect();
    FDocument->SetVisibleRect(v.x(), v.y(), v.width(), v.height());
    FDocument->update();
}

void TPrintMainForm::PlaceEdgeLabels() {
    if (!FDocument) return;
    const QRect s = FDocument->geometry();
    Label_Right->setGeometry(s.right() + 1, s.top(), 10, s.height());
    Label_Bottom->setGeometry(s.left(), s.bottom() + 1, s.width(), 10);
}

void TPrintMainForm::UpdateContentSize() {
    if (!FDocument) return;
    const QRect s = FDocument->geometry();
    // The page and the 10-pixel margins right of and below it.
    const QSize needed(s.right() + 1 + 10, s.bottom() + 1 + 10);
    ScrollBox_Main->SetContentSize(needed.expandedTo(ScrollBox_Main->viewport()->size()));
    UpdateRulers();
}

void TPrintMainForm::UpdateRulers() {
    if (!FDocument) return;
    switch (FDocument->BltSizeCheck) {
    case bsNormal: PriRuler_Side->SetBltUnit(bu25mm); break;
    case bsStretch: PriRuler_Side->SetBltUnit(bu100mm); break;
    case bs200: PriRuler_Side->SetBltUnit(bu20mm); break;
    case bs300: PriRuler_Side->SetBltUnit(bu10mm); break;
    case bs400: break;
    }
    PriRuler_Long->SetBltUnit(PriRuler_Side->BltUnit());
    const int t = RulerThickness();
    const QRect s = FDocument->geometry();
    const QSize content = ScrollBox_Main->Content()->size();
    const int hs = ScrollBox_Main->horizontalScrollBar()->value();
    const int vs = ScrollBox_Main->verticalScrollBar()->value();

    // The horizontal ruler runs along the whole content and stays at the top of the view.
    PriRuler_Side->setGeometry(0, vs, std::max(content.width(), s.right() + 1), t);
    PriRuler_Side->SetBltmmSize(FDocument->PrintPaper.PageWidth());
    PriRuler_Side->SetBltSameSize(FDocument->PaperPixels().width());
    PriRuler_Side->SetBackSize(s.width());
    PriRuler_Side->SetBltStart(s.left() - PriRuler_Side->x());

    // The vertical ruler lies below it and stays at the left of the view.
    PriRuler_Long->setGeometry(hs, t, t, std::max(content.height(), s.bottom() + 1) - t);
    PriRuler_Long->SetBltmmSize(FDocument->PrintPaper.PageHeight());
    PriRuler_Long->SetBltSameSize(FDocument->PaperPixels().height());
    PriRuler_Long->SetBackSize(s.height());
    PriRuler_Long->SetBltStart(s.top() - PriRuler_Long->y());
    PriRuler_Long->raise();
    PriRuler_Side->raise();
    PriRuler_Side->update();
    PriRuler_Long->update();
}

void TPrintMainForm::PinRulers() {
    ScrollBox_Main->PinRulers(PriRuler_Side, PriRuler_Long);
}

QRect TPrintMainForm::GetVisibleRect() const {
    if (!FDocument) return QRect();
    // The part of the page the view shows and no ruler covers, in page pixels.
    const int t = RulerThickness();
    const int hs = ScrollBox_Main->horizontalScrollBar()->value();
    const int vs = ScrollBox_Main->verticalScrollBar()->value();
    const QSize view = ScrollBox_Main->viewport()->size();
    const QRect shown(hs + t, vs + t, view.width() - t, view.height() - t);
    const QRect page = FDocument->geometry();
    const QRect visible = shown.intersected(page);
    if (visible.isEmpty()) return QRect(0, 0, 0, 0);
    return visible.translated(-page.topLeft());
}

void TPrintMainForm::SetScrollPositions(int x, int y) {
    ScrollBox_Main->horizontalScrollBar()->setValue(x);
    ScrollBox_Main->verticalScrollBar()->setValue(y);
}

void TPrintMainForm::OnHorzScroll() {
    PinRulers();
    if (!FDocument) return;
    const QRect v = GetVisibleRect();
    FDocument->SetVisibleRect(v.x(), v.y(), v.width(), v.height());
}

void TPrintMainForm::OnVertScroll() {
    PinRulers();
    if (!FDocument) return;
    const QRect v = GetVisibleRect();
    FDocument->SetVisibleRect(v.x(), v.y(), v.width(), v.height());
}

void TPrintMainForm::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    // The page follows through the view's own resize.
    if (!FLayoutLock) ArrangePanels();
}

void TPrintMainForm::UpdateDeviceRatio() {
    if (!FDocument) return;
    const qreal ratio = devicePixelRatioF();
    if (ratio == FDocument->DevicePixelRatio()) return;
    FDocument->SetDevicePixelRatio(ratio);
    RelayoutPage();
}

void TPrintMainForm::ApplySettings(const TDisplaySettings& settings) {
    const TDisplaySettings s = settings; // may be our own
    fSettings.RulerBackColor = s.RulerBackColor;
    fSettings.RulerTextColor = s.RulerTextColor;
    fSettings.RulerStrCheck = s.RulerStrCheck;
    fSettings.MainColor = s.MainColor;
    for (TPriRuler* ruler : {PriRuler_Side, PriRuler_Long}) {
        ruler->SetColor(s.RulerBackColor);
        ruler->SetTextColor(s.RulerTextColor);
        ruler->SetBltStrCheck(s.RulerStrCheck);
        ruler->update();
    }
    ScrollBox_Main->SetColor(s.MainColor);
    const QColor main = ColorToQColor(s.MainColor);
    for (QWidget* w : {static_cast<QWidget*>(Label_Right), static_cast<QWidget*>(Label_Bottom)}) {
        QPalette p = w->palette();
        p.setColor(QPalette::Window, main);
        w->setPalette(p);
        w->setAutoFillBackground(true);
    }
    if (!FDocument) return;
    s.ApplyToSurface(*FDocument);
    fSettings.TakeFromSurface(*FDocument);
    FDocument->RedrawPage(nullptr, true, true);
}
