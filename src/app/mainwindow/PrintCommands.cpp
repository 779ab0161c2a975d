#include "app/mainwindow/PrintCommands.h"

#include "app/AppDialogs.h"
#include "app/dialogs/PrintDlgSX.h"
#include "app/dialogs/PrintProgressDlg.h"
#include "document/PriPaint.h"
#include "merge/RecordUnit.h"
#include "platform/DialogLibrary.h"
#include "platform/Rounding.h"
#include "platform/SystemPrinter.h"
#include "print/OutputJob.h"
#include "print/RyPrinter.h"

#include <QDir>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>

TPrintCommands::TPrintCommands(QWidget* window, TAppDialogs& dialogs, TDialogLibrary& library, TAppPaths paths,
                               int screenInch)
    : fWindow(window), fDialogs(dialogs), fLibrary(library), fPaths(std::move(paths)), fScreenInch(screenInch) {}

TPrintCommands::~TPrintCommands() = default;

int TPrintCommands::Exec(QDialog& dialog) {
    return ExecDialog ? ExecDialog(dialog) : dialog.exec();
}

TRyPrinter* TPrintCommands::System() {
    if (PrinterInfo) return PrinterInfo();
    if (!fRyPrinter) fRyPrinter = std::make_shared<TRyPrinter>();
    return fRyPrinter.get();
}

std::unique_ptr<TPrinterMetricsProvider> TPrintCommands::SurfacePrinter() {
    if (!fRyPrinter) fRyPrinter = std::make_shared<TRyPrinter>();
    // Asked on every layout: the cached current name, not a round trip to the scheduler.
    return std::make_unique<TSystemPrinter>([weak = std::weak_ptr<TRyPrinter>(fRyPrinter)]() -> QPrinter* {
        const std::shared_ptr<TRyPrinter> printer = weak.lock();
        if (!printer || printer->System().CurrentName().isEmpty()) return nullptr;
        return &printer->Printer();
    });
}

QPrinter* TPrintCommands::Device(TPriPaint* doc) {
    if (PrinterDevice) return PrinterDevice();
    TRyPrinter* printer = System();
    if (!printer) return nullptr;
    // No printer installed is an answer here, not a failure: the preview goes on without one.
    try {
        // Printers are added, removed and made default while the program runs: looked up again
        // whenever one is needed. The page shows the margins of the printer it now prints on.
        if (printer->CheckChanged() && doc && printer->GetIndex() >= 0) {
            doc->ApplyPaperToPrinter();
            doc->RedrawPage(nullptr, true, true);
        }
        if (printer->GetIndex() < 0) return nullptr;
    } catch (const ERyPrinter&) {
        return nullptr;
    }
    return &printer->Printer();
}

void TPrintCommands::Show(const QString& text) {
    fDialogs.ShowMessage(text);
}

bool TPrintCommands::Print(TPriPaint& doc) {
    if (!doc.IsSingleSeat() && !ChoosePrintPaper(doc)) return false;
    return PrintDocument(doc, true);
}

bool TPrintCommands::Preview(TPriPaint& doc) {
    if (!doc.IsSingleSeat() && !ChoosePrintPaper(doc)) return false;
    ShowPrintPreview(doc);
    return true;
}

bool TPrintCommands::ChoosePrintPaper(TPriPaint& doc) {
    TPriPaper paper;
    int32_t a = fPaperValueA, b = fPaperValueB;
    if (!fLibrary.PrintPaperSettingDlg(fPaths.CardDataFile(), &paper, a, b, doc.PrintPaper.FPortrait)) return false;
    fPaperValueA = a;
    fPaperValueB = b;
    doc.PrintPaper = paper;
    doc.ApplyPaperToPrinter();
    return true;
}

namespace {

QString SheetText(const TPriPaint& doc) {
    return TPrintDlgSX::PaperText(TOutputJob::SheetLayout(doc.Document()));
}

} // namespace

bool TPrintCommands::AskChoice(TPriPaint& doc, TRyPrinter* printer, TPrintChoice& choice, const QString& pdfFile) {
    TPrintDlgSX dialog(printer, fWindow);
    dialog.ExecDialog = ExecDialog;
    // Whatever paper the printer dialog chose, the job prints on the document's sheet.
    if (printer) dialog.FitPaper = [&doc, printer] { TOutputJob::FitPrinter(doc.Document(), printer->Printer()); };
    doc.update();
    dialog.SetShift(0, 0);
    if (!printer && !pdfFile.isEmpty()) dialog.ShowPdfFile(pdfFile, SheetText(doc));
    const bool seats = doc.PrintMode == 2 || doc.PrintMode == 3;
    dialog.SetSeatLimits(seats ? doc.PrintPaper.FSeatColumns : 0, seats ? doc.PrintPaper.FSeatRows : 0);
    // The seat the pages were built from, so an unchanged OK prints what the preview showed.
    if (seats) dialog.SetStartSeat(doc.FStartSeatCol + 1, doc.FStartSeatRow + 1);
    if (Exec(dialog) != QDialog::Accepted) return false;
    choice = dialog.Choice();
    if (seats) {
        doc.FStartSeatCol = dialog.StartSeatPosX() - 1;
        doc.FStartSeatRow = dialog.StartSeatPosY() - 1;
    }
    if (!printer)
        if (QPrinter* device = PrinterDevice ? PrinterDevice() : nullptr) device->setCopyCount(dialog.Copies());
    return true;
}

bool TPrintCommands::Build(TPriPaint& doc, const TPrinterMetrics& metrics) {
    fPipeline.reset();
    fProgress = std::make_unique<TPrintProgressDlg>(fWindow);
    fPipeline = std::make_unique<TPrintPipeline>(doc.Document(), metrics, fProgress.get());
    fPipeline->SetStartSeat(doc.FStartSeatCol, doc.FStartSeatRow);
    const int pages = fPipeline->CountSheets();
    fProgress->hide();
    if (pages > 0) return true;
    if (!fPipeline->Cancelled() && !fPipeline->Error().isEmpty()) Show(fPipeline->Error());
    fPipeline.reset();
    return false;
}

bool TPrintCommands::PrintDocument(TPriPaint& doc, bool showDialog) {
    QPrinter* printer = Device(&doc);
    if (!printer) {
        Show(QStringLiteral("プリンタがありません。\nプリンタを設定してから印刷してください。"));
        return false;
    }
    TOutputJob::FitPrinter(doc.Document(), *printer);
    TPrintChoice choice;
    const QString pdfFile = printer->outputFormat() == QPrinter::PdfFormat ? printer->outputFileName() : QString();
    if (showDialog && !AskChoice(doc, PrinterDevice ? nullptr : System(), choice, pdfFile)) return false;
    // The printer setup in the dialog may have chosen another printer with other margins (the
    // dialog gave the job its sheet back): the page shows them, and the job is built by them.
    if (!PrinterDevice) {
        const TRect shown = doc.MarginPixels();
        doc.RecomputeMargins();
        if (!(doc.MarginPixels() == shown)) doc.RedrawPage(nullptr, true, true);
    }
    if (choice.Quality >= 0) SetPrintQuality(*printer, TPrintQuality(choice.Quality));
    doc.update();
    // Every sheet is drawn onto the printer as it is built, a preview's included.
    fPipeline.reset();
    fProgress = std::make_unique<TPrintProgressDlg>(fWindow);
    TOutputJob job(doc.Document(), fProgress.get());
    const bool printed = job.ToPrinter(*printer, choice);
    fProgress->hide();
    fProgress.reset();
    if (printed || job.Failure() == TOutputJob::TFailure::Cancelled) return printed;
    // A build that cannot start says why; a printer that failed on the way says so first.
    if (job.Failure() == TOutputJob::TFailure::Target)
        Show(QStringLiteral("印刷に失敗しました。\n%1").arg(job.Error()));
    else if (!job.Error().isEmpty())
        Show(job.Error());
    return false;
}

void TPrintCommands::ShowPrintPreview(TPriPaint& doc) {
    QPrinter* printer = Device(&doc);
    TPrinterMetrics metrics = printer ? (TOutputJob::FitPrinter(doc.Document(), *printer), GetPrinterMetrics(*printer))
                                      : TOutputJob::SheetMetrics(doc.Document(), kPdfDpi);
    if (!Build(doc, metrics)) return;
    // Pages are drawn when the dialog turns to them: the count is known, no page is kept.
    const TPrintPreview& built = fPipeline->Pages();
    fPreview = std::make_unique<TPrintPreview>(built.PagePixels(), metrics.LogPixelsX, metrics.LogPixelsY);
    TPrintPipeline* pipeline = fPipeline.get();
    fPreview->SetSource(fPipeline->TotalSheets(),
                        [pipeline](int index, QPainter& canvas) { return pipeline->RenderSheet(index, canvas); });
    fPreview->SetWarnings(fPipeline->Warnings());
    // The sheet and its unprintable edges at the screen's resolution.
    const QSize sheet = doc.PrintPaper.SheetSize();
    const int width = Trunc(sheet.width() / 254.0 * fScreenInch);
    const int height = Trunc(sheet.height() / 254.0 * fScreenInch);
    const auto part = [](int value, int whole, int size) {
        return whole > 0 ? Trunc(double(value) / whole * size) : 0;
    };
    const TPriPaper& paper = doc.PrintPaper;
    const int seatTop = paper.FFirstSeatTop ? part(paper.FFirstSeatTop, sheet.height(), height) : 0;
    const int seatLeft = paper.FFirstSeatLeft ? part(paper.FFirstSeatLeft, sheet.width(), width) : 0;
    QStringList files;
    const TDlgAnswer answer = fLibrary.PrintPreviewDlg(
        fPreview.get(), part(metrics.OffsetX, metrics.PhysicalWidth, width),
        part(metrics.OffsetY, metrics.PhysicalHeight, height), part(metrics.RightMargin, metrics.PhysicalWidth, width),
        part(metrics.BottomMargin, metrics.PhysicalHeight, height), width, height, files, seatTop, seatLeft,
        doc.IsSingleSeat(), int32_t(doc.MarginColor));
    fPreview.reset();
    fPipeline.reset();
    if (answer) PrintDocument(doc, true);
}

bool TPrintCommands::ExportPdf(TPriPaint& doc) {
    // The document's own name is offered; the PDF goes beside the user's documents.
    const QString name = QFileInfo(doc.TempLatePath).completeBaseName();
    const QString proposed = name.isEmpty() ? QString() : name + QStringLiteral(".pdf");
    QString file = fDialogs.AskSaveFileNamed(fPaths.UserDataFolder(), proposed, QStringLiteral("PDF (*.pdf)"),
                                             QStringLiteral("pdf"));
    if (file.isEmpty()) return false;
    if (QFileInfo(file).suffix().isEmpty()) file += QStringLiteral(".pdf");
    TPrintChoice choice;
    if (!AskChoice(doc, nullptr, choice, file)) return false;
    if (!WritePdfFile(doc, file, choice)) return false;
    const QString written = QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath());
    if (ShowStatus) ShowStatus(QStringLiteral("PDFを書き出しました：%1").arg(written));
    return true;
}

bool TPrintCommands::WritePdfFile(TPriPaint& doc, const QString& file, const TPrintChoice& choice) {
    fProgress = std::make_unique<TPrintProgressDlg>(fWindow);
    TOutputJob job(doc.Document(), fProgress.get());
    const bool written = job.ToPdf(file, kPdfDpi, choice);
    fProgress->hide();
    fProgress.reset();
    if (written) return true;
    const QString name = QDir::toNativeSeparators(file);
    switch (job.Failure()) {
    case TOutputJob::TFailure::Cancelled: break;
    case TOutputJob::TFailure::Create:
        Show(QStringLiteral("PDFファイルを作成できません：\n%1\n（%2）").arg(name, job.FileCause()));
        break;
    case TOutputJob::TFailure::Write:
        Show(QStringLiteral("PDFファイルを書き込めませんでした：\n%1\n（%2）").arg(name, job.FileCause()));
        break;
    default:
        if (!job.Error().isEmpty()) Show(job.Error());
    }
    return false;
}

bool TPrintCommands::PrinterSetup(TPriPaint& doc) {
    TRyPrinter* printer = System();
    QPrinter* device = Device(&doc);
    if (!printer || !device) {
        Show(QStringLiteral("プリンタがありません。"));
        return false;
    }
    QPrintDialog dialog(device, fWindow);
    dialog.setWindowTitle(QStringLiteral("プリンタ設定"));
    if (Exec(dialog) != QDialog::Accepted) return false;
    if (!printer->SetCurrent(device->printerName())) printer->Reset();
    printer->Refresh();
    TOutputJob::FitPrinter(doc.Document(), *device);
    doc.ApplyPaperToPrinter();
    doc.RedrawPage(nullptr, true, true);
    return true;
}

bool TPrintCommands::RecordSettings(TPriPaint& doc, TRecordUnit* records) {
    QString mainFile = doc.RecordMainFile, detailFile = doc.RecordMeisaiFile;
    int32_t mode = doc.PrintMode;
    if (!fLibrary.RecordSettingDlg(mainFile, detailFile, mode)) return false;
    doc.RecordMainFile = mainFile;
    doc.RecordMeisaiFile = detailFile;
    doc.PrintMode = mode;
    // The chosen files are read now, a file that failed before again, so printing finds them.
    if (records) {
        for (const QString& name : {mainFile, detailFile}) {
            if (name.isEmpty() || records->FindFile(name, true)) continue;
            const QString path = fPaths.RecordFolder() + name;
            if (QFileInfo::exists(path))
                Show(QStringLiteral("レコードファイルを読み込めません：\n%1\n%2")
                         .arg(QDir::toNativeSeparators(path), records->ErrorOf(name)));
        }
    }
    return true;
}

bool TPrintCommands::PaperSettings(TPriPaint& doc) {
    TPriPaper paper = doc.PrintPaper;
    if (!fLibrary.PaperNewSettingDlg(&paper, 1)) return false;
    doc.PrintPaper = paper;
    return true;
}
