#include "print/OutputJob.h"

#include "document/PriDocument.h"
#include "platform/OutputFile.h"
#include "platform/Rounding.h"
#include "print/PageDeviceTarget.h"
#include "print/PrintTarget.h"
#include "print/RyPrinter.h"

#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

namespace {

// Each sheet painted onto an image of its own and written as a PNG once it is complete.
class TPngTarget : public TPrintTarget {
public:
    TPngTarget(QSize pixels, int dpi, const QString& out, int count)
        : fPixels(pixels), fDpi(dpi), fOut(out), fCount(count) {}
    ~TPngTarget() override { Abort(); }

    bool BeginDoc(const QString&) override { return Start(); }
    bool NewPage() override { return Finish() && Start(); }
    bool EndDoc() override { return !fCanvas.isActive() || Finish(); }
    void Abort() override {
        if (fCanvas.isActive()) fCanvas.end();
    }
    QPainter& Canvas() override { return fCanvas; }
    QString Error() const override { return fCause; }

    QString FailedFile;
    QString JapaneseCause;
    QStringList Written;

private:
    bool Fail(const QString& cause, const QString& japanese) {
        FailedFile = fFile;
        fCause = cause;
        JapaneseCause = japanese;
        return false;
    }
    bool Start() {
        fFile = TOutputJob::PngName(fOut, int(Written.size()) + 1, fCount);
        fImage = QImage(fPixels, QImage::Format_RGB32);
        if (fImage.isNull()) {
            const QString cause =
                QStringLiteral("not enough memory for %1 x %2 pixels").arg(fPixels.width()).arg(fPixels.height());
            return Fail(cause, QStringLiteral("記憶領域が足りません"));
        }
        fImage.setDotsPerMeterX(Nearest(fDpi / 0.0254));
        fImage.setDotsPerMeterY(Nearest(fDpi / 0.0254));
        fImage.fill(Qt::white);
        fCanvas.begin(&fImage);
        fCanvas.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
        return true;
    }
    bool Finish() {
        fCanvas.end();
        TOutputFile out(fFile);
        if (!out.IsOpen()) return Fail(out.ErrorString(), out.ErrorText());
        QImageWriter writer(out.Device(), "PNG");
        if (!writer.write(fImage)) {
            const QString cause = out.Failed() ? out.ErrorString() : writer.errorString();
            return Fail(cause, out.ErrorText());
        }
        // Every write reached the file and the file took the target's place, or nothing changed.
        if (!out.Finish()) return Fail(out.ErrorString(), out.ErrorText());
        Written << fFile;
        fImage = QImage();
        return true;
    }

    QSize fPixels;
    int fDpi;
    QString fOut;
    int fCount;
    QString fFile;
    QImage fImage;
    QPainter fCanvas;
    QString fCause;
};

} // namespace

TOutputJob::TOutputJob(TPriDocument& doc, TPrintProgress* progress) : fDoc(doc), fProgress(progress) {}

QPageLayout TOutputJob::SheetLayout(const TPriDocument& doc, QPageSize::SizeMatchPolicy match) {
    const QSize sheet = doc.PrintPaper.SheetSize();
    if (sheet.width() <= 0 || sheet.height() <= 0) return QPageLayout();
    const bool landscape = sheet.width() > sheet.height();
    const QSizeF portrait = landscape ? QSizeF(sheet.height(), sheet.width()) / 10.0 : QSizeF(sheet) / 10.0;
    return QPageLayout(QPageSize(portrait, QPageSize::Millimeter, QString(), match),
                       landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF());
}

void TOutputJob::FitPrinter(const TPriDocument& doc, QPrinter& printer) {
    const QPageLayout sheet = SheetLayout(doc);
    if (!sheet.isValid()) return;
    printer.setPageSize(sheet.pageSize());
    printer.setPageOrientation(sheet.orientation());
    // A PDF file has no unprintable edges.
    if (printer.outputFormat() == QPrinter::PdfFormat) printer.setPageMargins(QMarginsF(), QPageLayout::Millimeter);
}

TPrinterMetrics TOutputJob::SheetMetrics(const TPriDocument& doc, int dpi) {
    const QSize sheet = doc.PrintPaper.SheetSize();
    TPrinterMetrics m;
    m.LogPixelsX = m.LogPixelsY = dpi;
    m.PhysicalWidth = m.HorzRes = Trunc(sheet.width() / 254.0 * dpi);
    m.PhysicalHeight = m.VertRes = Trunc(sheet.height() / 254.0 * dpi);
    m.Complete();
    return m;
}

QString TOutputJob::PngName(const QString& out, int n, int count) {
    if (count <= 1) return out;
    const QFileInfo info(out);
    const QString base = out.left(out.size() - info.suffix().size() - 1);
    return QStringLiteral("%1-%2.%3").arg(base).arg(n, 3, 10, QLatin1Char('0')).arg(info.suffix());
}

void TOutputJob::Reset() {
    fFailure = TFailure::None;
    fError.clear();
    fFailedFile.clear();
    fFileCause.clear();
    fSheets = 0;
    fTotalSheets = -1;
    fWritten.clear();
    fWarnings.clear();
}

bool TOutputJob::Ended(TPrintPipeline& pipeline, bool ok, const TPrintChoice& choice) {
    fSheets = ok ? pipeline.SheetCount() : 0;
    fTotalSheets = pipeline.TotalSheets();
    fWarnings = pipeline.Warnings();
    if (ok) return true;
    fError = pipeline.Error();
    if (pipeline.Cancelled())
        fFailure = TFailure::Cancelled;
    else if (pipeline.TargetFailure())
        fFailure = TFailure::Target;
    else if (!choice.AllPages && fTotalSheets > 0 &&
             fError == TPrintPipeline::RangeBeyondMessage(choice.FirstPage, choice.LastPage, fTotalSheets))
        fFailure = TFailure::Beyond;
    else
        fFailure = TFailure::Build;
    return false;
}

bool TOutputJob::FileFailed(TFailure failure, const QString& file, const QString& cause, const QString& japanese) {
    fFailure = failure;
    fFailedFile = file;
    fError = cause;
    fFileCause = japanese;
    fSheets = 0;
    fWritten.clear();
    return false;
}

bool TOutputJob::ToPrinter(QPrinter& printer, const TPrintChoice& choice) {
    Reset();
    FitPrinter(fDoc, printer);
    TPrintChoice job = choice;
    // A file printer would write each sheet's job over the one before: the file takes them all.
    if (printer.outputFormat() == QPrinter::PdfFormat) job.JobPerSheet = false;
    TPrintPipeline pipeline(fDoc, GetPrinterMetrics(printer), fProgress);
    TPageDeviceTarget target(printer);
    return Ended(pipeline, pipeline.BuildAndPrint(target, job), choice);
}

bool TOutputJob::ToPdf(QIODevice& out, int dpi, const TPrintChoice& choice) {
    Reset();
    const QPageLayout layout = SheetLayout(fDoc, QPageSize::ExactMatch);
    if (!layout.isValid()) {
        fFailure = TFailure::Build;
        fError = QStringLiteral("用紙の寸法が正しくありません");
        return false;
    }
    TPrintPipeline pipeline(fDoc, SheetMetrics(fDoc, dpi), fProgress);
    QPdfWriter pdf(&out);
    pdf.setCreator(QStringLiteral("komorebi"));
    pdf.setTitle(choice.JobTitle);
    pdf.setResolution(dpi);
    pdf.setPageLayout(layout);
    TPageDeviceTarget target(pdf);
    // A file is one job: the sheets of every mode become its pages.
    TPrintChoice one = choice;
    one.JobPerSheet = false;
    return Ended(pipeline, pipeline.BuildAndPrint(target, one), choice);
}

bool TOutputJob::ToPdf(const QString& file, int dpi, const TPrintChoice& choice) {
    Reset();
    TOutputFile out(file);
    if (!out.IsOpen()) return FileFailed(TFailure::Create, file, out.ErrorString(), out.ErrorText());
    // A failing file says why; otherwise the build's reason stands.
    if (!ToPdf(*out.Device(), dpi, choice))
        return out.Failed() ? FileFailed(TFailure::Write, file, out.ErrorString(), out.ErrorText()) : false;
    if (!out.Finish()) return FileFailed(TFailure::Write, file, out.ErrorString(), out.ErrorText());
    fWritten = QStringList{file};
    return true;
}

bool TOutputJob::ToPng(const QString& file, int dpi, const TPrintChoice& choice) {
    Reset();
    const TPrinterMetrics m = SheetMetrics(fDoc, dpi);
    TPrintPipeline pipeline(fDoc, m, fProgress);
    // The names need the count of sheets written: counted first, without drawing.
    const int total = pipeline.CountSheets();
    if (total < 0) return Ended(pipeline, false, choice);
    int first = 0, last = -1;
    TPrintPipeline::PageRange(choice, total, first, last);
    TPngTarget target(QSize(m.PhysicalWidth, m.PhysicalHeight), dpi, file, std::max(0, last - first + 1));
    TPrintChoice one = choice;
    one.JobPerSheet = false;
    const bool ok = pipeline.BuildAndPrint(target, one);
    if (!target.FailedFile.isEmpty())
        return FileFailed(TFailure::Write, target.FailedFile, target.Error(), target.JapaneseCause);
    if (!Ended(pipeline, ok, choice)) return false;
    fWritten = target.Written;
    return true;
}
