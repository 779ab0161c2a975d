#pragma once

#include "platform/PrinterMetrics.h"
#include "print/PageFiles.h"
#include "print/PrintPreview.h"

#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <unordered_set>

class QPainter;
class TPriBase;
class TPriField;
class TPriDocument;
class TPageBuilder;
class TPrintProgress;
class TPrintTarget;
class TRecordFile;

// What the print dialog chose; the page range is 1-based and inclusive.
struct TPrintChoice {
    bool AllPages = true;
    int FirstPage = 1;
    int LastPage = 1;
    int ShiftRightMM = 0;
    int ShiftDownMM = 0;
    // Modes 2, 3 and 5 send each sheet as a job of its own; a single PDF file takes them all.
    bool JobPerSheet = true;
    // The print dialog's quality, 0 "きれい" or 1 "ふつう"; -1 leaves the printer as it is.
    int Quality = -1;
    QString JobTitle = QStringLiteral("Velluma");
};

// Turns the document into printed sheets in one of the six print modes. Jobs draw each sheet
// straight onto their target as it is built (BuildAndPrint); a build into the page store (modes
// 2, 3 and 5 sheet by sheet into page files) stays for comparing the two. Window-free: the
// caller supplies the progress and the target.
class TPrintPipeline {
public:
    TPrintPipeline(TPriDocument& doc, const TPrinterMetrics& metrics, TPrintProgress* progress = nullptr);
    ~TPrintPipeline();

    // The start seat (zero-based) of the first sheet in modes 2 and 3; the document's own by default.
    void SetStartSeat(int column, int row);
    // Only sheets first to last (1-based, inclusive) are built and the others counted, so a page
    // of a long job costs a page; 0 builds them all. The built sheets are numbered from 1.
    void SetSheetRange(int first, int last);
    // Sheets of the whole job after a build, chosen or not; -1 before one.
    int TotalSheets() const { return fTotalSheets; }
    // The sheets of the whole job, counted without drawing any; -1 with Error() when nothing
    // can be printed.
    int CountSheets();
    // Sheet n (0-based) of the job drawn onto the canvas at its own size, as it would print.
    bool RenderSheet(int index, QPainter& canvas);
    // Whether the last job failed at its target rather than in the build.
    bool TargetFailure() const { return fTargetFailed; }

    // Builds the pages for the document's print mode; false when nothing can be printed, with
    // Error() saying why (empty after a cancel).
    bool BuildPrintPages();
    bool Cancelled() const { return fCancelled; }
    // The device the pages are built for.
    const TPrinterMetrics& Metrics() const { return fMetrics; }
    const QString& Error() const { return fError; }
    // What the job prints but the user should check (postal codes that fit no boxes), found in the
    // main records before the first build; the job prints anyway.
    const QStringList& Warnings() const { return fWarnings; }
    static constexpr int kMaxWarnings = 1000;

    // Sheets built: pages of the store, or page files in modes 2, 3 and 5.
    int SheetCount() const;
    TPrintPreview& Pages() { return fPages; }
    const QStringList& PageFileNames() const { return fFiles.Names(); }
    // Draws built sheet n (0-based) at its own size; for page files it is loaded first.
    bool DrawSheet(int index, QPainter& canvas, QPoint at);

    // Sends the chosen pages to the target. A page file is deleted once printed. False with
    // Error() when the target failed; the job under way is aborted.
    bool PrintPages(TPrintTarget& target, const TPrintChoice& choice);
    // Builds and sends in one go: every sheet is drawn straight onto the target as it is built,
    // with no page files and no pictures in between, in memory that does not grow with the
    // records. False with Error() as a build and a print would give.
    bool BuildAndPrint(TPrintTarget& target, const TPrintChoice& choice);
    // The first and last page (1-based) the choice gives for count pages; first > last prints none.
    static void PageRange(const TPrintChoice& choice, int count, int& first, int& last);
    // Where a page lands on the printer: the shift plus, on a card sheet, the first seat less
    // the printer's unprintable edge.
    QPoint PageOffset(const TPrintChoice& choice) const;

    // Whether X lies inside the first row band P of a portal.
    static bool InPortalBand(const QRect& p, const QRect& x);

    // Texts the merged fields show when the record file is missing.
    static const QString kPlaceholder1;
    static const QString kPlaceholder2;
    static const QString kPlaceholder3;
    static const QString kBuildFailedMessage;
    // A page build of modes 0, 1 and 4 that failed for another reason than memory.
    static const QString kPagesFailedMessage;
    // A page range beyond the job's sheets.
    static QString RangeBeyondMessage(int first, int last, int sheets);

private:
    // The main or detail records, or one placeholder record when the file is missing.
    struct TRecords {
        const TRecordFile* File = nullptr;
        QString Placeholder;
        int Count() const;
        QString Value(int index, int row, int column) const;
    };
    struct TCancel {};
    // A job drawn straight onto its target while it is built.
    struct TStream {
        TPrintTarget* Target = nullptr;
        QPoint At;
        bool OneJob = true;
        QString Title;
        bool Begun = false;
        bool InSheet = false;
        int Sheets = 0;
    };

    bool Stream(TPrintTarget& target, const TPrintChoice& choice, QPoint at);
    bool BuildPlainSheet();
    bool BuildRecordPages();
    bool BuildSheetPerRecord(bool useStartSeat);
    bool BuildRecordPerSeat();
    bool BuildRecordPerSeatWithDetails();

    void Step();
    void DrawBackground(QPoint origin);
    // Every printable object of the seat; fields take the main value of the record.
    void DrawAllObjects(QPoint origin, const TRecords& main, int record, int current, int total);
    // The walk of modes 1 and 4: fields take main values, each portal its detail rows.
    void DrawWithPortals(QPoint origin, const TRecords& main, int record, const TRecords& detail, int detailIndex,
                         int firstRow, int current, int total, bool bandFromSeat);
    void DrawObject(TPriBase& object, const QRect& rect, QPoint origin);
    // Starts a sheet: recorded into the store, or on the target when streaming.
    void BeginSheet();
    // Ends the sheet: into the next page file in modes 2, 3 and 5, or on the target.
    void StoreSheet();
    // Where the objects draw: the store's page being recorded, or the streamed target.
    QPainter& Canvas();
    [[noreturn]] void TargetFailed();
    bool StartSeatInside() const;
    // Whether sheet n (1-based) is built; counts it in TotalSheets.
    bool SheetChosen(int n);
    // How many of sheets 1..total the range chooses.
    int ChosenOf(int total) const;
    const TRecordFile* FindRecordFile(const QString& name) const;
    void CollectWarnings();
    void CollectBarcodeWarnings(const TPriField& field, const TRecordFile& file);

    TPriDocument& fDoc;
    TPrinterMetrics fMetrics;
    TPrintProgress* fProgress;
    std::unique_ptr<TPageBuilder> fBuilder;
    TPrintPreview fPages;
    TPageFiles fFiles;
    TStream* fStream = nullptr;
    // Sheets the last streamed job drew; -1 after a build into the store.
    int fStreamedSheets = -1;
    std::unordered_set<const TPriBase*> fDrawn;
    int fStartCol;
    int fStartRow;
    bool fCancelled = false;
    bool fTargetFailed = false;
    // A counting pass: every sheet is counted, none drawn.
    bool fCountOnly = false;
    // Modes 2, 3 and 5 store their sheets in page files, the others in the page store.
    bool fViaFiles = false;
    int fRangeFirst = 0;
    int fRangeLast = 0;
    int fTotalSheets = -1;
    QString fError;
    QStringList fWarnings;
    bool fWarningsCollected = false;
};
