// Where the side bar and the page view lie in the main window, and what the view settings change.
#include "app/mainwindow/PageView.h"
#include "app/mainwindow/PrintMainForm.h"

#include <QAction>
#include <QLayout>
#include <QResizeEvent>
#include <QScrollArea>

void TPrintMainForm::SetRulerCheck(bool shown) {
    fSettings.RulerCheck = shown;
    fPageView->SetRulersShown(shown);
    fActions.MenuItem_rooler->setChecked(shown);
}

void TPrintMainForm::SetSideBarCheck(bool shown) {
    FSideBarCheck = shown;
    ScrollBox_ToolBar->setVisible(shown);
    ScrollBox_ToolBar->setEnabled(shown);
    if (shown) ScrollBox_ToolBar->raise();
    ArrangePanels();
    fPageView->Relayout();
    UpdateEditButtons();
}

void TPrintMainForm::ArrangePanels() {
    // The window's layout gives the page view the room the side bar leaves; the side bar keeps
    // its width and the start panel takes the side bar's height.
    ScrollBox_ToolBar->setVisible(FSideBarCheck);
    if (centralWidget() && centralWidget()->layout()) centralWidget()->layout()->activate();
}

void TPrintMainForm::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    // The page follows through the view's own resize.
    if (!fPageView->LayoutLocked()) ArrangePanels();
}

void TPrintMainForm::ApplySettings(const TDisplaySettings& settings) {
    const TDisplaySettings s = settings; // may be our own
    fSettings.RulerBackColor = s.RulerBackColor;
    fSettings.RulerTextColor = s.RulerTextColor;
    fSettings.RulerStrCheck = s.RulerStrCheck;
    fSettings.MainColor = s.MainColor;
    fPageView->ApplySettings(s);
    if (!FDocument) return;
    s.ApplyToSurface(*FDocument);
    fSettings.TakeFromSurface(*FDocument);
    FDocument->RedrawPage(nullptr, true, true);
}
