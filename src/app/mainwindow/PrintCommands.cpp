#include "app/mainwindow/PrintCommands.h"

#include "app/AppDialogs.h"
#include "app/dialogs/PrintDlgSX.h"
#include "app/dialogs/PrintProgressDlg.h"
#include "document/PriPaint.h"
#include "merge/RecordUnit.h"
#include "platform/DialogLibrary.h"
#include "platform/Rounding.h"
#include "platform/SystemPrinter.h"
#include "print/PageDeviceTarget.h"
#include "print/PrintJob.h"
#include "print/RyPrinter.h"

#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QSaveFile>

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
    return PrintDocument(doc, false, true);
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

// The sheet as a printer takes it: the size upright, and the way it lies.
QPageLayout SheetLayout(const TPriPaint& doc) {
    const QSize sheet = TPrintJob::SheetSize(doc.Document());
    if (sheet.width() <= 0 || sheet.height() <= 0) return QPageLayout();
    const bool landscape = sheet.width() > sheet.height();
    const QSizeF portrait = landscape ? QSizeF(sheet.height(), sheet.width()) / 10.0 : QSizeF(sheet) / 10.0;
    return QPageLayout(QPageSize(portrait, QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch),
                       landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF());
}

QString SheetText(const TPriPaint& doc) {
    return TPrintDlgSX::PaperText(SheetLayout(doc));
}

bool SameDevice(const TPrinterMetrics& a, const TPrinterMetrics& b) {
    return a.LogPixelsX == b.LogPixelsX && a.LogPixelsY == b.LogPixelsY && a.PhysicalWidth == b.PhysicalWidth &&
           a.PhysicalHeight == b.PhysicalHeight && a.OffsetX == b.OffsetX && a.OffsetY == b.OffsetY &&
           a.HorzRes == b.HorzRes && a.VertRes == b.VertRes;
}

} // namespace

void TPrintCommands::FitPrinterToSheet(TPriPaint& doc, QPrinter& printer) {
    const QPageLayout sheet = SheetLayout(doc);
    if (!sheet.isValid()) return;
    printer.setPageSize(sheet.pageSize());
    printer.setPageOrientation(sheet.orientation());
    // A PDF file has no unprintable edges.
    if (printer.outputFormat() == QPrinter::PdfFormat) printer.setPageMargins(QMarginsF(), QPageLayout::Millimeter);
}

bool TPrintCommands::AskChoice(TPriPaint& doc, TRyPrinter* printer, TPrintChoice& choice, const QString& pdfFile) {
    TPrintDlgSX dialog(printer, fWindow);
    dialog.ExecDialog = ExecDialog;
    // Whatever paper the printer dialog chose, the job prints on the document's sheet.
    if (printer) dialog.FitPaper = [&doc, printer] { FitPrinterToSheet(doc, printer->Printer()); };
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
    fBuiltSeatCol = doc.FStartSeatCol;
    fBuiltSeatRow = doc.FStartSeatRow;
    const bool built = fPipeline->BuildPrintPages();
    fProgress->hide();
    if (built) return true;
    if (!fPipeline->Cancelled() && !fPipeline->Error().isEmpty()) Show(fPipeline->Error());
    fPipeline.reset();
    return false;
}

bool TPrintCommands::PrintDocument(TPriPaint& doc, bool pagesReady, bool showDialog) {
    QPrinter* printer = Device(&doc);
    if (!printer) {
        Show(QStringLiteral("プリンタがありません。\nプリンタを設定してから印刷してください。"));
        return false;
    }
    FitPrinterToSheet(doc, *printer);
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
    // A file printer would write each sheet's job over the one before: the file takes them all.
    if (printer->outputFormat() == QPrinter::PdfFormat) choice.JobPerSheet = false;
    // A seat changed in the dialog puts the records elsewhere, and pages built for another
    // resolution or paper would print at the wrong size: the pages are built again.
    const TPrinterMetrics metrics = GetPrinterMetrics(*printer);
    if (!fPipeline || fBuiltSeatCol != doc.FStartSeatCol || fBuiltSeatRow != doc.FStartSeatRow ||
        !SameDevice(fPipeline->Metrics(), metrics))
        pagesReady = false;
    doc.update();
    if (!pagesReady && !Build(doc, metrics)) return false;
    TPageDeviceTarget target(*printer);
    const bool printed = fPipeline->PrintPages(target, choice);
    if (!printed) Show(QStringLiteral("印刷に失敗しました。\n%1").arg(fPipeline->Error()));
    fPipeline.reset();
    return printed;
}

void TPrintCommands::ShowPrintPreview(TPriPaint& doc) {
    QPrinter* printer = Device(&doc);
    TPrinterMetrics metrics = printer ? (FitPrinterToSheet(doc, *printer), GetPrinterMetrics(*printer))
                                      : TPrintJob::SheetMetrics(doc.Document(), kPdfDpi);
    if (!Build(doc, metrics)) return;
    // The sheet and its unprintable edges at the screen's resolution.
    const QSize sheet = TPrintJob::SheetSize(doc.Document());
    const int width = Trunc(sheet.width() / 254.0 * fScreenInch);
    const int height = Trunc(sheet.height() / 254.0 * fScreenInch);
    const auto part = [](int value, int whole, int size) {
        return whole > 0 ? Trunc(double(value) / whole * size) : 0;
    };
    const TPriPaper& paper = doc.PrintPaper;
    const int seatTop = paper.FFirstSeatTop ? part(paper.FFirstSeatTop, sheet.height(), height) : 0;
    const int seatLeft = paper.FFirstSeatLeft ? part(paper.FFirstSeatLeft, sheet.width(), width) : 0;
    QStringList files = fPipeline->PageFileNames();
    const TDlgAnswer answer = fLibrary.PrintPreviewDlg(
        &fPipeline->Pages(), part(metrics.OffsetX, metrics.PhysicalWidth, width),
        part(metrics.OffsetY, metrics.PhysicalHeight, height), part(metrics.RightMargin, metrics.PhysicalWidth, width),
        part(metrics.BottomMargin, metrics.PhysicalHeight, height), width, height, files, seatTop, seatLeft,
        doc.IsSingleSeat(), int32_t(doc.MarginColor));
    if (answer) PrintDocument(doc, true, true);
    // The page files of the job go with it.
    fPipeline.reset();
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
    // QSaveFile writes beside the target and renames only on commit: a failed job leaves nothing.
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly)) {
        Show(QStringLiteral("PDFファイルを作成できません：\n%1\n（%2）")
                 .arg(QDir::toNativeSeparators(file), out.errorString()));
        return false;
    }
    fProgress = std::make_unique<TPrintProgressDlg>(fWindow);
    QString error;
    const bool written = TPrintJob::WritePdf(doc.Document(), out, kPdfDpi, choice, fProgress.get(), &error);
    fProgress->hide();
    fProgress.reset();
    if (!written) {
        out.cancelWriting();
        if (!error.isEmpty()) Show(error);
        return false;
    }
    if (!out.commit()) {
        Show(QStringLiteral("PDFファイルを書き込めませんでした：\n%1\n（%2）")
                 .arg(QDir::toNativeSeparators(file), out.errorString()));
        return false;
    }
    return true;
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
    FitPrinterToSheet(doc, *device);
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
