#pragma once

#include "print/PrintPipeline.h"

#include <QSize>
#include <QString>

class QIODevice;
class QPrinter;
class TPriDocument;
class TPrintProgress;
struct TPrinterMetrics;

// Whole jobs over the pipeline: the document built and sent to a printer, or written as one
// PDF. The main window's Print and the headless commands call these; the preview builds with
// TPrintPipeline itself and draws its sheets.
class TPrintJob {
public:
    // Builds the pages for the printer's measurements and prints the chosen ones; modes 2, 3
    // and 5 send a job per sheet. False with the reason in error (empty after a cancel).
    static bool Print(TPriDocument& doc, QPrinter& printer, const TPrintChoice& choice, TPrintProgress* progress,
                      QString* error);
    // Every chosen sheet as a page of one PDF written to out, at dpi device pixels per inch.
    static bool WritePdf(TPriDocument& doc, QIODevice& out, int dpi, const TPrintChoice& choice,
                         TPrintProgress* progress, QString* error);
    // The sheet in 0.1 mm: the page itself on a single seat, the card sheet otherwise.
    static QSize SheetSize(const TPriDocument& doc);
    // A device of the sheet at dpi without unprintable edges, as a PDF or picture is.
    static TPrinterMetrics SheetMetrics(const TPriDocument& doc, int dpi);
};
