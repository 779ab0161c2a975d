#pragma once

#include "print/PrintPipeline.h"

#include <QPageLayout>
#include <QString>
#include <QStringList>

class QIODevice;
class QPrinter;
class TPriDocument;
class TPrintProgress;
struct TPrinterMetrics;

// The one way printed sheets leave the program: the document and the print choice become a
// printer's job, one PDF file or PNG files. The window's Print and PDFに書き出す and the command
// line's export and print all come here. Each sheet is drawn straight onto its target as it is
// built, so memory stays flat however many records, detail rows and pages the job has.
class TOutputJob {
public:
    enum class TFailure { None, Cancelled, Build, Beyond, Target, Create, Write };

    explicit TOutputJob(TPriDocument& doc, TPrintProgress* progress = nullptr);

    // The printer's page follows the sheet; modes 2, 3 and 5 send a job per sheet unless the
    // printer writes a file, which takes them all.
    bool ToPrinter(QPrinter& printer, const TPrintChoice& choice);
    // Every chosen sheet as a page of one PDF at dpi, titled with the job title. A plain file is
    // written beside the target and takes its place only when every byte was written.
    bool ToPdf(const QString& file, int dpi, const TPrintChoice& choice);
    bool ToPdf(QIODevice& out, int dpi, const TPrintChoice& choice);
    // A PNG per chosen sheet, named by PngName.
    bool ToPng(const QString& file, int dpi, const TPrintChoice& choice);

    TFailure Failure() const { return fFailure; }
    // Why the job failed: the build's or the target's reason, or for a file the system's.
    const QString& Error() const { return fError; }
    // The file that could not be made or written, and the cause in Japanese.
    const QString& FailedFile() const { return fFailedFile; }
    const QString& FileCause() const { return fFileCause; }
    // Sheets sent, and the sheets of the whole job, chosen or not.
    int Sheets() const { return fSheets; }
    int TotalSheets() const { return fTotalSheets; }
    const QStringList& Written() const { return fWritten; }
    // The pipeline's warnings: the job went ahead, but these are worth telling the user.
    const QStringList& Warnings() const { return fWarnings; }

    // The sheet as a printer takes it: the size upright, and the way it lies.
    static QPageLayout SheetLayout(const TPriDocument& doc, QPageSize::SizeMatchPolicy match = QPageSize::FuzzyMatch);
    static void FitPrinter(const TPriDocument& doc, QPrinter& printer);
    // A device of the sheet at dpi without unprintable edges, as a PDF or picture is.
    static TPrinterMetrics SheetMetrics(const TPriDocument& doc, int dpi);
    // The file the n-th (1-based) of count PNG sheets goes to: FILE-001.png ..., one sheet FILE.png.
    static QString PngName(const QString& out, int n, int count);

private:
    bool Ended(TPrintPipeline& pipeline, bool ok, const TPrintChoice& choice);
    bool FileFailed(TFailure failure, const QString& file, const QString& cause, const QString& japanese);
    void Reset();

    TPriDocument& fDoc;
    TPrintProgress* fProgress;
    TFailure fFailure = TFailure::None;
    QString fError;
    QString fFailedFile;
    QString fFileCause;
    int fSheets = 0;
    int fTotalSheets = -1;
    QStringList fWritten;
    QStringList fWarnings;
};
