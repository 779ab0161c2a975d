#include "print/PageExport.h"

#include "platform/DocumentLimits.h"
#include "document/PriPaint.h"
#include "print/PageBuilder.h"
#include "platform/Rounding.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QStringList>
#include <cerrno>
#include <cstring>
#include <memory>

namespace {

void DrawSheet(TPriPaint& doc, QPainter& canvas, const TPrinterMetrics& m) {
    const TPriPaper& p = doc.PrintPaper;
    if (!p.IsSingleSeat())
        canvas.translate(Trunc(p.FFirstSeatLeft / 254.0 * m.LogPixelsX), Trunc(p.FFirstSeatTop / 254.0 * m.LogPixelsY));
    TPageBuilder(doc, m).DrawPlainSheet(canvas);
}

// Every write to the output is checked as it happens: neither the PDF writer nor a file's close
// reports a write that failed, so the first failure is kept here with the system's reason.
class TCheckedDevice : public QIODevice {
public:
    explicit TCheckedDevice(QIODevice* inner) : fInner(inner) { QIODevice::open(QIODevice::WriteOnly); }
    const QString& Failure() const { return fFailure; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        if (!fFailure.isEmpty()) return -1;
        errno = 0;
        const qint64 written = fInner->write(data, size);
        if (written == size) return written;
        const int code = errno;
        fFailure = code != 0 ? QString::fromLocal8Bit(std::strerror(code)) : fInner->errorString();
        if (fFailure.isEmpty()) fFailure = QStringLiteral("the write was refused");
        return -1;
    }

private:
    QIODevice* fInner;
    QString fFailure;
};

// The output file. A plain file (or a new one) is written beside the target and renamed over it
// only once everything was written, so a failure never leaves half a page where the last good one
// was; a device or a pipe (/dev/stdout) is written directly.
class TOutput {
public:
    explicit TOutput(const QString& path) {
        const QFileInfo info(path);
        // Unbuffered: a write that fails says so at once instead of at a close nobody checks.
        if (info.exists() && !info.isFile()) {
            fDirect = std::make_unique<QFile>(path);
            fOpen = fDirect->open(QIODevice::WriteOnly | QIODevice::Unbuffered);
        } else {
            fSave = std::make_unique<QSaveFile>(path);
            fOpen = fSave->open(QIODevice::WriteOnly | QIODevice::Unbuffered);
        }
        fChecked = std::make_unique<TCheckedDevice>(File());
    }
    ~TOutput() {
        if (fSave && fSave->isOpen()) fSave->cancelWriting();
    }

    bool IsOpen() const { return fOpen; }
    QIODevice* Device() const { return fChecked.get(); }
    QString ErrorString() const { return fChecked->Failure().isEmpty() ? File()->errorString() : fChecked->Failure(); }
    // True only when every byte reached the file and, for a plain file, it took the target's place.
    bool Finish() {
        if (!fChecked->Failure().isEmpty()) return false;
        if (fSave) return fSave->commit();
        fDirect->close();
        return fDirect->error() == QFileDevice::NoError;
    }

private:
    QFileDevice* File() const { return fSave ? static_cast<QFileDevice*>(fSave.get()) : fDirect.get(); }

    std::unique_ptr<QSaveFile> fSave;
    std::unique_ptr<QFile> fDirect;
    std::unique_ptr<TCheckedDevice> fChecked;
    bool fOpen = false;
};

} // namespace

TPrinterMetrics TPageExport::DeviceMetrics(QSize pixels, int dpi) {
    TPrinterMetrics m;
    m.LogPixelsX = m.LogPixelsY = dpi;
    m.PhysicalWidth = m.HorzRes = pixels.width();
    m.PhysicalHeight = m.VertRes = pixels.height();
    m.Complete();
    return m;
}

QImage TPageExport::RenderSeat(TPriPaint& doc, int dpi, bool smooth) {
    const TPriPaper& p = doc.PrintPaper;
    const QSize pixels(Trunc(p.PageWidth() / 254.0 * dpi), Trunc(p.PageHeight() / 254.0 * dpi));
    if (pixels.isEmpty() || pixels.width() > TPriPaint::kMaxViewSide || pixels.height() > TPriPaint::kMaxViewSide)
        return QImage();
    QImage image(pixels, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter canvas(&image);
    if (smooth)
        canvas.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    TPageBuilder(doc, DeviceMetrics(pixels, dpi)).DrawSeat(canvas, QPoint(0, 0));
    return image;
}

bool TPageExport::ParseArguments(const QStringList& args, TExportOptions& o, QString* error) {
    auto fail = [error](const QString& text) {
        if (error) *error = text;
        return false;
    };
    bool yearGiven = false, monthGiven = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        auto value = [&](int& out) {
            bool ok = false;
            if (i + 1 < args.size()) out = args[++i].toInt(&ok);
            return ok;
        };
        if (a == QLatin1String("--out")) {
            if (i + 1 >= args.size()) return fail(QStringLiteral("--out needs a file name"));
            o.OutFile = args[++i];
        } else if (a == QLatin1String("--year")) {
            if (!value(o.Year) || o.Year < TDocumentLimits::kMinYear || o.Year > TDocumentLimits::kMaxYear)
                return fail(QStringLiteral("--year needs %1 to %2")
                                .arg(TDocumentLimits::kMinYear)
                                .arg(TDocumentLimits::kMaxYear));
            yearGiven = true;
        } else if (a == QLatin1String("--month")) {
            if (!value(o.Month) || o.Month < 1 || o.Month > 12) return fail(QStringLiteral("--month needs 1 to 12"));
            monthGiven = true;
        } else if (a == QLatin1String("--dpi")) {
            if (!value(o.Dpi) || o.Dpi < 10 || o.Dpi > 2400) return fail(QStringLiteral("--dpi needs 10 to 2400"));
        } else if (a.startsWith(QLatin1String("--"))) {
            return fail(QStringLiteral("unknown option %1").arg(a));
        } else if (o.TemplateFile.isEmpty()) {
            o.TemplateFile = a;
        } else {
            return fail(QStringLiteral("more than one template given"));
        }
    }
    if (o.TemplateFile.isEmpty()) return fail(QStringLiteral("no template given"));
    if (o.OutFile.isEmpty()) return fail(QStringLiteral("no --out file given"));
    if (yearGiven != monthGiven) return fail(QStringLiteral("--year and --month go together"));
    const QString ext = QFileInfo(o.OutFile).suffix().toLower();
    if (ext != QLatin1String("pdf") && ext != QLatin1String("png"))
        return fail(QStringLiteral("the output must be a .pdf or .png file"));
    return true;
}

bool TPageExport::Run(const QString& appPath, const TExportOptions& o, QString* error) {
    TPriPaint doc(nullptr, appPath, 96, std::make_unique<TNoPrinter>());
    QString loadError;
    if (!doc.LoadFromFile(o.TemplateFile, 0, &loadError)) {
        if (error) *error = QStringLiteral("cannot open %1: %2").arg(o.TemplateFile, loadError);
        return false;
    }
    doc.ApplyStartMonth(o.Year, o.Month);
    doc.SetPageLayout(QPoint(0, 0), QSize(1000, 1000));

    // The reader keeps papers within the limits; the export checks again before it sizes a page.
    const QSize sheet = doc.PrintPaper.SheetSize();
    if (sheet.width() <= 0 || sheet.height() <= 0) {
        if (error) *error = QStringLiteral("the template's paper has no size");
        return false;
    }
    if (sheet.width() > TDocumentLimits::kMaxPaperSide || sheet.height() > TDocumentLimits::kMaxPaperSide) {
        if (error)
            *error = QStringLiteral("the template's sheet of %1 x %2 mm is larger than %3 mm")
                         .arg(sheet.width() / 10.0, 0, 'f', 1)
                         .arg(sheet.height() / 10.0, 0, 'f', 1)
                         .arg(TDocumentLimits::kMaxPaperSide / 10);
        return false;
    }
    const QSize pixels(Trunc(sheet.width() / 254.0 * o.Dpi), Trunc(sheet.height() / 254.0 * o.Dpi));
    const TPrinterMetrics m = DeviceMetrics(pixels, o.Dpi);
    const bool png = QFileInfo(o.OutFile).suffix().toLower() == QLatin1String("png");
    const auto failed = [&](const QString& what) {
        if (error) *error = QStringLiteral("cannot write %1: %2").arg(o.OutFile, what);
        return false;
    };

    QImage image;
    if (png) {
        const qint64 count = qint64(pixels.width()) * pixels.height();
        if (count > TDocumentLimits::kMaxRasterPixels) {
            if (error)
                *error = QStringLiteral("the page at %1 dpi would be %2 x %3 pixels, more than %4 million: use a lower "
                                        "--dpi")
                             .arg(o.Dpi)
                             .arg(pixels.width())
                             .arg(pixels.height())
                             .arg(TDocumentLimits::kMaxRasterPixels / 1000000);
            return false;
        }
        image = QImage(pixels, QImage::Format_RGB32);
        if (image.isNull())
            return failed(
                QStringLiteral("not enough memory for %1 x %2 pixels").arg(pixels.width()).arg(pixels.height()));
        image.setDotsPerMeterX(Nearest(o.Dpi / 0.0254));
        image.setDotsPerMeterY(Nearest(o.Dpi / 0.0254));
        image.fill(Qt::white);
        QPainter canvas(&image);
        canvas.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
        DrawSheet(doc, canvas, m);
    }

    TOutput out(o.OutFile);
    if (!out.IsOpen()) return failed(out.ErrorString());
    if (png) {
        QImageWriter writer(out.Device(), "PNG");
        if (!writer.write(image)) {
            const QString cause = out.ErrorString();
            return failed(cause.isEmpty() || cause == QLatin1String("Unknown error") ? writer.errorString() : cause);
        }
    } else {
        QPdfWriter pdf(out.Device());
        pdf.setCreator(QStringLiteral("komorebi"));
        pdf.setResolution(o.Dpi);
        pdf.setPageSize(QPageSize(QSizeF(sheet.width() / 10.0, sheet.height() / 10.0), QPageSize::Millimeter, QString(),
                                  QPageSize::ExactMatch));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter canvas;
        if (!canvas.begin(&pdf)) return failed(QStringLiteral("the PDF writer could not start"));
        // Barcodes and pictures keep their exact pixels instead of being re-encoded as JPEG.
        canvas.setRenderHint(QPainter::LosslessImageRendering);
        DrawSheet(doc, canvas, m);
        if (!canvas.end()) return failed(QStringLiteral("the PDF writer could not finish"));
    }
    // Every write reached the file and the file took the target's place, or nothing changed.
    if (!out.Finish()) return failed(out.ErrorString());
    return true;
}
