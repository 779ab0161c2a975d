#pragma once

#include "document/PaintHost.h"
#include "document/PriPaper.h"
#include "objects/PriBackImage.h"
#include "objects/PriBase.h"
#include "platform/Color.h"
#include "platform/PrinterMetrics.h"
#include "platform/Rect.h"

#include <QFont>
#include <QImage>
#include <QList>
#include <QStringList>
#include <QWidget>
#include <memory>
#include <vector>

class TOutMessage;
class TDialogLibrary;
class TFieldUnit;
class TRecordUnit;

enum TObjectMode { omNone, omLabel, omImage, omField, omSquare, omRoundRect, omEllipse, omLine, omPortal, omCarendar };
enum TMouseNum { mnNone, mnSearch, mnSearchOn, mnMove, mnSize, mnAdd };
enum TUndoState { usNone, usReverse, usEnter };
enum TBltSize { bsNormal, bsStretch, bs200, bs300, bs400 };
// Kinds of the undoable edit held in FUndoKind; 0 is none.
enum TUndoKind : uint8_t { ukNone, ukMove, ukResize, ukProperty, ukDelete, ukCut, ukPaste, ukAdd, ukReorder };

using TObjectOwnerList = std::vector<std::unique_ptr<TPriBase>>;

// The document surface: the page the user edits, drawn double-buffered into a page bitmap
// from which the visible rectangle is copied to the screen.
class TPriPaint : public QWidget {
    Q_OBJECT

public:
    // appPath ends with a separator; screenInch is the screen's pixels per inch. Without a
    // printer provider the system's current printer is asked.
    TPriPaint(QWidget* owner, QString appPath, int screenInch = 96,
              std::unique_ptr<TPrinterMetricsProvider> printer = nullptr);
    ~TPriPaint() override;

    TPriPaper PrintPaper;
    TFieldUnit* FieldUnit = nullptr;
    TRecordUnit* RecordUnit = nullptr;
    const TOutMessage* OutMess = nullptr;
    TDialogLibrary* DialogLibrary = nullptr;
    TPaintHost* Host = nullptr;

    TObjectMode ObjectMode = omNone;
    TMouseNum SelectCheck = mnNone;
    uint8_t FUndoKind = 0;
    TUndoState UndoState = usNone;
    bool BltGridCheck = false;
    bool BltMarginCheck = true;
    TBltSize BltSizeCheck = bsNormal;
    TPriBackImage BackObject;
    TColor GridColor = RGBColor(192, 192, 192);
    TColor MarginColor = RGBColor(255, 0, 0);
    QFont DefaultFont;
    TColor DefaultFontColor = clBlack;
    QString TempLatePath;
    int32_t PrintMode = 0;
    QString RecordMainFile;
    QString RecordMeisaiFile;
    int32_t FStartSeatCol = 0;
    int32_t FStartSeatRow = 0;
    QStringList FTempPageFiles;

    const QString& AppPath() const { return fAppPath; }
    int ScreenInch() const { return fScreenInch; }
    QSize ViewSize() const { return fViewSize; }
    QSize PaperPixels() const { return FPaperPixels; }
    const TRect& MarginPixels() const { return FMarginPixels; }
    const TRect& VisibleRect() const { return FVisibleRect; }
    QImage& PageBitmap() { return FPageBitmap; }
    TPrinterMetricsProvider& Printer() { return *fPrinter; }

    // The edited side (always side 1) and both sides.
    TObjectOwnerList& Objects() { return *FObjectList; }
    const TObjectOwnerList& Objects() const { return *FObjectList; }
    TObjectOwnerList& SideObjects(int side) { return FSideObjects[side & 1]; }
    QList<TPriBase*>& SelectList() { return FSelectList; }
    TObjectOwnerList& UndoList() { return FUndoList; }

    // The largest page side in view pixels the surface will allocate.
    static constexpr int kMaxViewSide = 32767;

    // Appends an object to the edited side, giving it its list number and the page bitmap.
    TPriBase* AppendObject(std::unique_ptr<TPriBase> object);

    // Paper pixels from the paper's page size: the page at 100 %.
    void UpdatePaperPixels();
    void SetPageLayout(QPoint origin, QSize area);
    void ApplyPaperToPrinter();
    void RecomputeMargins();
    void SetVisibleRect(int left, int top, int width, int height);
    void RedrawPage(TPriBase* extra, bool repaint, bool wholePage);
    void ApplyStartMonth(int year, int startMonth);
    // Template files; false leaves the document unchanged. The reason of a file-system failure
    // goes to error; the other refusals show their messages.
    bool LoadFromFile(const QString& fileName, int formatKind, QString* error = nullptr);
    bool SaveToFile(const QString& fileName, int formatKind, QString* error = nullptr);
    void SetBackgroundFromFile(const QString& name);
    bool AddImageFromFile(const QString& name);
    // Keeps a copy of the object for the undo step.
    void RecordUndo(TUndoKind kind, TPriBase* object);
    // Month of a calendar stored relative to January, re-dated to a start year and month.
    static void ShiftMonth(int year, int storedMonth, int startMonth, int& outYear, int& outMonth);
    void ClearDocument();
    // Ends the current undo step: a deletion in force destroys its objects, an undone addition
    // destroys the hidden ones; the copies are freed either way.
    void CommitUndo();
    // Takes over the content read from a template: both sides, the paper and the backgrounds.
    void ReplaceContent(TObjectOwnerList side1, TObjectOwnerList side2, const TPriPaper& paper,
                        const TPriBackImage& back);
    void RenumberObjects();
    void DeselectAll();
    void ShowSelectionPos();
    QString SelectionPosText() const;

    // Keys the editor acts on itself; false hands the key back to the window.
    bool HandleKey(int key, bool shift, bool ctrl);

    // Device pixels per view pixel of the screen. The page bitmap is kept at that resolution so a
    // high-density screen shows it sharp; objects, bounds and hit tests stay in view pixels.
    void SetDevicePixelRatio(qreal ratio);
    qreal DevicePixelRatio() const { return fDeviceRatio; }

    bool HasSelection() const { return !FSelectList.isEmpty(); }
    bool CanUndo() const { return !FUndoList.empty(); }
    bool HasVisibleObjects() const;
    bool IsSingleSeat() const { return PrintPaper.IsSingleSeat(); }

    // Storing the tool also gives the scroll box the cursor of the handle under the pointer.
    void SetObjectMode(TObjectMode mode);
    static Qt::CursorShape CursorForHandle(int handle);

    // One grid line: its position in view pixels and whether it falls on a whole centimetre.
    struct TGridLine {
        int Pos;
        bool Solid;
        bool operator==(const TGridLine&) const = default;
    };
    // The 5 mm grid lines that fall within the area, vertical (columns) and horizontal (rows).
    std::vector<TGridLine> GridColumns(const TRect& area) const;
    std::vector<TGridLine> GridRows(const TRect& area) const;
    void DrawGrid(QPainter& canvas, const TRect& area);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The page bitmap at the view size and the device pixel ratio.
    void AllocatePageBitmap();

    QString fAppPath;
    int fScreenInch;
    qreal fDeviceRatio = 1;
    std::unique_ptr<TPrinterMetricsProvider> fPrinter;

    QList<TPriBase*> FSelectList;
    TObjectOwnerList FUndoList;
    TObjectOwnerList FSideObjects[2];
    TObjectOwnerList* FObjectList = &FSideObjects[0];
    QImage FPageBitmap;
    QSize fViewSize;
    QSize FPaperPixels;
    TRect FMarginPixels;
    TRect FVisibleRect;

    // Editor state of the mouse code.
    QPoint FDownPoint;
    QPoint FLastPoint;
    TRect FRubberRect;
    TRect FLastRubberRect;
    TPriBase* FCurrentObject = nullptr;
    int FDragHandle = -1;
    QPoint FMovePoint;
};
