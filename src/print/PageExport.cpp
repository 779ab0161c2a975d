#include "print/PageExport.h"

#include "document/PriPaint.h"
#include "print/PageBuilder.h"
#include "platform/Rounding.h"

#include <QFileInfo>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QStringList>

namespace {

// The sheet in 0.1 mm: the page itself on a single seat, the card sheet otherwise.
QSize SheetSize(const TPriPaper& p) {
    if (p.IsSingleSeat()) return {p.PageWidth(), p.PageHeight()};
    return p.FPortrait == 0 ? QSize(p.FSheetHeight, p.FSheetWidth) : QSize(p.FSheetWidth, p.FSheetHeight);
}

void DrawSheet(TPriPaint& doc, QPainter& canvas, const TPrinterMetrics& m) {
    const TPriPaper& p = doc.PrintPaper;
    if (!p.IsSingleSeat())
        canvas.translate(Trunc(p.FFirstSeatLeft / 254.0 * m.LogPixelsX), Trunc(p.FFirstSeatTop / 254.0 * m.LogPixelsY));
    TPageBuilder(doc, m).DrawPlainSheet(canvas);
}

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
            if (!value(o.Year)) return fail(QStringLiteral("--year needs a number"));
        } else if (a == QLatin1String("--month")) {
            if (!value(o.Month) || o.Month < 1 || o.Month > 12) return fail(QStringLiteral("--month needs 1 to 12"));
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
    if ((o.Year == -1) != (o.Month == -1)) return fail(QStringLiteral("--year and --month go together"));
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

    const QSize sheet = SheetSize(doc.PrintPaper);
    if (sheet.width() <= 0 || sheet.height() <= 0) {
        if (error) *error = QStringLiteral("the template's paper has no size");
        return false;
    }
    const QSize pixels(Trunc(sheet.width() / 254.0 * o.Dpi), Trunc(sheet.height() / 254.0 * o.Dpi));
    const TPrinterMetrics m = DeviceMetrics(pixels, o.Dpi);

    if (QFileInfo(o.OutFile).suffix().toLower() == QLatin1String("png")) {
        QImage image(pixels, QImage::Format_RGB32);
        image.setDotsPerMeterX(Nearest(o.Dpi / 0.0254));
        image.setDotsPerMeterY(Nearest(o.Dpi / 0.0254));
        image.fill(Qt::white);
        {
            QPainter canvas(&image);
            canvas.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
            DrawSheet(doc, canvas, m);
        }
        if (!image.save(o.OutFile, "PNG")) {
            if (error) *error = QStringLiteral("cannot write %1").arg(o.OutFile);
            return false;
        }
        return true;
    }

    QPdfWriter pdf(o.OutFile);
    pdf.setCreator(QStringLiteral("komorebi"));
    pdf.setResolution(o.Dpi);
    pdf.setPageSize(QPageSize(QSizeF(sheet.width() / 10.0, sheet.height() / 10.0), QPageSize::Millimeter, QString(),
                              QPageSize::ExactMatch));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter canvas;
    if (!canvas.begin(&pdf)) {
        if (error) *error = QStringLiteral("cannot write %1").arg(o.OutFile);
        return false;
    }
    // Barcodes and pictures keep their exact pixels instead of being re-encoded as JPEG.
    canvas.setRenderHint(QPainter::LosslessImageRendering);
    DrawSheet(doc, canvas, m);
    canvas.end();
    return QFileInfo(o.OutFile).size() > 0;
}
