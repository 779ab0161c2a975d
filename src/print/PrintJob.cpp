#include "print/PrintJob.h"

#include "document/PriDocument.h"
#include "platform/Rounding.h"
#include "print/PageDeviceTarget.h"
#include "print/RyPrinter.h"

#include <QPageSize>
#include <QPdfWriter>
#include <QPrinter>

namespace {

bool Fail(QString* error, const QString& text) {
    if (error) *error = text;
    return false;
}

} // namespace

QSize TPrintJob::SheetSize(const TPriDocument& doc) {
    const TPriPaper& p = doc.PrintPaper;
    if (p.IsSingleSeat()) return {p.PageWidth(), p.PageHeight()};
    return p.FPortrait == 0 ? QSize(p.FSheetHeight, p.FSheetWidth) : QSize(p.FSheetWidth, p.FSheetHeight);
}

TPrinterMetrics TPrintJob::SheetMetrics(const TPriDocument& doc, int dpi) {
    const QSize sheet = SheetSize(doc);
    TPrinterMetrics m;
    m.LogPixelsX = m.LogPixelsY = dpi;
    m.PhysicalWidth = m.HorzRes = Trunc(sheet.width() / 254.0 * dpi);
    m.PhysicalHeight = m.VertRes = Trunc(sheet.height() / 254.0 * dpi);
    m.Complete();
    return m;
}

bool TPrintJob::Print(TPriDocument& doc, QPrinter& printer, const TPrintChoice& choice, TPrintProgress* progress,
                      QString* error) {
    TPrintPipeline pipeline(doc, GetPrinterMetrics(printer), progress);
    TPageDeviceTarget target(printer);
    if (!pipeline.BuildAndPrint(target, choice)) return Fail(error, pipeline.Error());
    return true;
}

bool TPrintJob::WritePdf(TPriDocument& doc, QIODevice& out, int dpi, const TPrintChoice& choice,
                         TPrintProgress* progress, QString* error) {
    const QSize sheet = SheetSize(doc);
    if (sheet.width() <= 0 || sheet.height() <= 0) return Fail(error, QStringLiteral("用紙の寸法が正しくありません"));
    TPrintPipeline pipeline(doc, SheetMetrics(doc, dpi), progress);
    QPdfWriter pdf(&out);
    pdf.setCreator(QStringLiteral("komorebi"));
    pdf.setResolution(dpi);
    pdf.setPageSize(QPageSize(QSizeF(sheet.width() / 10.0, sheet.height() / 10.0), QPageSize::Millimeter, QString(),
                              QPageSize::ExactMatch));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    TPageDeviceTarget target(pdf);
    TPrintChoice one = choice;
    // A file is one job: the sheets of every mode become its pages.
    one.JobPerSheet = false;
    if (!pipeline.BuildAndPrint(target, one)) return Fail(error, pipeline.Error());
    return true;
}
