// The main window's printing commands, handed to TPrintCommands with the current document.
#include "app/mainwindow/PageView.h"
#include "app/mainwindow/PrintCommands.h"
#include "app/mainwindow/PrintMainForm.h"

#include <QAction>
#include <QStatusBar>

namespace {

// Long enough to read a path, short enough to give the pointer position its place back.
constexpr int kPrintStatusMs = 15000;

} // namespace

void TPrintMainForm::ConnectPrintActions() {
    const TMainActions& a = fActions;
    const auto on = [this](QAction* action, const char* what, std::function<void()> command) {
        connect(action, &QAction::triggered, this, [this, what, command] { Guarded(what, command); });
    };
    on(a.Action_Print, "印刷", [this] { PrintFile(); });
    on(a.Action_Preview, "印刷プレビュー", [this] { PreviewFile(); });
    on(a.Action_ExportPdf, "PDFへの書き出し", [this] { ExportPdf(); });
    on(a.MenuItem_PrintSetting, "プリンタ設定", [this] { PrinterSetup(); });
    on(a.MenuItem_PrintRecordSet, "印刷レコード設定", [this] { RecordSetting(); });
    on(a.MenuItem_PaperSetting, "用紙設定", [this] { PaperSetting(); });
    fPrint->ShowStatus = [this](const QString& text) { statusBar()->showMessage(text, kPrintStatusMs); };
}

bool TPrintMainForm::PrintFile() {
    return FDocument && fPrint->Print(*FDocument);
}

bool TPrintMainForm::PreviewFile() {
    return FDocument && fPrint->Preview(*FDocument);
}

bool TPrintMainForm::ExportPdf() {
    return FDocument && fPrint->ExportPdf(*FDocument);
}

bool TPrintMainForm::PrinterSetup() {
    if (!FDocument || !fPrint->PrinterSetup(*FDocument)) return false;
    fPageView->PlaceEdgeLabels();
    return true;
}

bool TPrintMainForm::RecordSetting() {
    if (!FDocument || !fPrint->RecordSettings(*FDocument, fRecordUnit.get())) return false;
    FDocument->NoteChange();
    return true;
}

bool TPrintMainForm::PaperSetting() {
    if (!FDocument || !fPrint->PaperSettings(*FDocument)) return false;
    FDocument->NoteChange();
    FDocument->ApplyPaperToPrinter();
    fPageView->Relayout();
    return true;
}
