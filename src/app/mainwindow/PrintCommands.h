#pragma once

#include "platform/AppPaths.h"
#include "print/PrintPipeline.h"

#include <QPointer>
#include <functional>
#include <memory>

class QDialog;
class QPrinter;
class QWidget;
class TAppDialogs;
class TDialogLibrary;
class TPrinterMetricsProvider;
class TPriPaint;
class TPrintDlgSX;
class TPrintProgressDlg;
class TRecordUnit;
class TRyPrinter;

// The main window's printing commands: Print, Preview, PDFに書き出す, the printer, record and paper
// settings. Builds go through the pipeline under the progress dialog, modal to the window, so the
// document takes no edits while its pages are drawn. Every failure is shown, never thrown.
class TPrintCommands {
public:
    TPrintCommands(QWidget* window, TAppDialogs& dialogs, TDialogLibrary& library, TAppPaths paths, int screenInch);
    ~TPrintCommands();

    // Print and Preview of the main window: a card sheet asks its sheet first.
    bool Print(TPriPaint& doc);
    bool Preview(TPriPaint& doc);
    // The print-paper dialog for a paper of several seats; false when cancelled.
    bool ChoosePrintPaper(TPriPaint& doc);
    // Asks the print dialog (when showDialog) and streams the chosen pages onto the printer; the
    // pages a preview showed are built again, never replayed.
    bool PrintDocument(TPriPaint& doc, bool showDialog);
    void ShowPrintPreview(TPriPaint& doc);
    // What would print, as one PDF chosen with a save dialog; the file appears only when complete.
    bool ExportPdf(TPriPaint& doc);
    bool WritePdfFile(TPriPaint& doc, const QString& file, const TPrintChoice& choice);
    // The system's printer dialog; true on OK.
    bool PrinterSetup(TPriPaint& doc);
    // The record settings; a chosen record file the set does not hold yet is read into it.
    bool RecordSettings(TPriPaint& doc, TRecordUnit* records);
    // The page's paper; the caller lays the page out again on true.
    bool PaperSettings(TPriPaint& doc);

    // Runs a modal dialog; tests answer in place of the user.
    std::function<int(QDialog&)> ExecDialog;
    // The printer jobs go to; empty means the system's current printer.
    std::function<QPrinter*()> PrinterDevice;
    // The printer information the print dialog shows; none in tests.
    std::function<TRyPrinter*()> PrinterInfo;
    // A short note for the window's status bar: where a written file went.
    std::function<void(const QString&)> ShowStatus;
    // The page's printer: the same printer the jobs print on, so the page's edges and paper and the
    // printed sheet never disagree. It stays safe to ask after these commands are gone.
    std::unique_ptr<TPrinterMetricsProvider> SurfacePrinter();

    int PaperValueA() const { return fPaperValueA; }
    int PaperValueB() const { return fPaperValueB; }
    // The job the preview draws its pages from while it is open.
    TPrintPipeline* Pipeline() const { return fPipeline.get(); }

    static constexpr int kPdfDpi = 300;

private:
    int Exec(QDialog& dialog);
    // The printer jobs go to, looked up again; a printer that changed with the look-up gives
    // the document's page its paper and margins.
    QPrinter* Device(TPriPaint* doc = nullptr);
    TRyPrinter* System();
    // The dialog's choices; false when cancelled. Sets the document's start seat. Without a
    // printer a PDF file, when named, stands in its place.
    bool AskChoice(TPriPaint& doc, TRyPrinter* printer, TPrintChoice& choice, const QString& pdfFile = QString());
    // Counts the preview's pages under the progress dialog; false when nothing can be printed.
    bool Build(TPriPaint& doc, const TPrinterMetrics& metrics);
    void Show(const QString& text);

    QPointer<QWidget> fWindow;
    TAppDialogs& fDialogs;
    TDialogLibrary& fLibrary;
    TAppPaths fPaths;
    int fScreenInch;
    int fPaperValueA = 0;
    int fPaperValueB = 0;
    std::shared_ptr<TRyPrinter> fRyPrinter;
    std::unique_ptr<TPrintProgressDlg> fProgress;
    std::unique_ptr<TPrintPipeline> fPipeline;
    // The preview's pages, drawn from the pipeline as the dialog turns to them.
    std::unique_ptr<TPrintPreview> fPreview;
};
