#pragma once

#include "document/EditTarget.h"
#include "document/PaintHost.h"
#include "document/PriPaper.h"
#include "objects/PriBackImage.h"
#include "objects/PriBase.h"
#include "platform/Color.h"
#include "platform/DocumentLimits.h"
#include "platform/PrinterMetrics.h"
#include "platform/Rect.h"

#include <QFont>
#include <QImage>
#include <QList>
#include <QRegion>
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
enum TBltSize { bsNormal, bsStretch, bs200, bs300, bs400 };
enum class TBltShape : uint8_t;
class TMouseTracker;
class TEditHistory;
class TPriImage;

// The document surface: the page the user edits, drawn double-buffered into a page bitmap
// from which the visible rectangle is copied to the screen.
class TPriPaint : public QWidget, public TEditTarget {
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
    // False, the background as it was, when the file gives no picture (unreadable set) or nothing
    // is left of the picture budget (said); a picture larger than what is left is scaled down.
    bool SetBackgroundFromFile(const QString& name, bool* unreadable = nullptr);
    bool AddImageFromFile(const QString& name);
    // Pixels the pictures and backgrounds may still add: a saved file is read within
    // TDocumentLimits::kMaxDocumentPixels, so whatever is added must fit in what is left.
    qint64 PicturePixelsLeft() const;
    // Whether a calendar of the document got no holiday list (the holiday file could not be read).
    bool CalendarsLackHolidays() const;
    // The pixels all pictures may hold: the readers' limit, or less where memory is scarcer (the
    // fuzzers run under sanitizers within a fixed memory limit).
    void SetPictureBudget(qint64 pixels) { fPictureBudget = pixels; }
    // The picture scaled down to what is left, saying so when it had to be; a null image, with a
    // message, when nothing is left.
    // freed: pixels the picture takes the place of (a background it replaces).
    QImage FitPictureToDocument(const QImage& picture, qint64 freed = 0);
    // The edit steps; commands add to it through TEditStep.
    TEditHistory& History() { return *fHistory; }
    // One step back or forward; nothing while the mouse is in the middle of a gesture.
    void Undo();
    void Redo();
    bool CanUndo() const;
    bool CanRedo() const;
    // Unsaved changes: the history away from its saved mark, or a change no step takes back.
    bool IsModified() const;
    void NoteChange();
    void MarkSaved();
    // The picture of an image replaced as one undoable step (the effect dialog's result).
    bool ReplacePicture(TPriImage* image, QImage picture);
    // Month of a calendar stored relative to January, re-dated to a start year and month.
    static void ShiftMonth(int year, int storedMonth, int startMonth, int& outYear, int& outMonth);
    void ClearDocument();
    // Takes over the content read from a template: both sides, the paper and the backgrounds.
    void ReplaceContent(TObjectOwnerList side1, TObjectOwnerList side2, const TPriPaper& paper,
                        const TPriBackImage& back);
    void RenumberObjects();
    // Each answers whether anything was deselected, selected or deleted.
    bool DeselectAll();
    bool SelectAll();
    bool DeleteSelection();
    // Appends to the selection, marks it and starts its tracking.
    void SelectObject(TPriBase* object);

    // Clipboard: the program's own block plus plain text and pictures from other programs.
    bool CopySelection();
    bool CutSelection();
    bool PasteClipboard();
    bool CanPaste() const;
    // The name the block goes under on the clipboard.
    static QString ClipboardFormat();
    // Places the objects of a clipboard block at a view point; false changes nothing.
    bool PasteBlock(const QByteArray& block, QPoint viewPoint);
    bool PasteText(const QString& text, QPoint viewPoint);
    bool PasteImage(const QImage& image, QPoint viewPoint);

    // Arrangement of the selected, unlocked objects.
    void BringToFront();
    void BringForward();
    void SendToBack();
    void SendBackward();
    void SetLock(bool value);
    void TogglePrint();
    bool AlignObjects();
    bool NudgeSelection(int dx, int dy);
    bool ResizeSelection(int dx, int dy);
    bool FocusNext();
    bool FocusPrev();
    // The main window's font boxes; it redraws afterwards.
    void SetFontName(const QString& face);
    void SetFontSize(int points);
    void SetFontStyle(int index);
    // A key pressed anywhere in the main window; false leaves it to normal processing.
    bool HandleKey(int key, bool shift, bool ctrl);

    // Creation with the tools; the rectangle is in view pixels, normalized.
    bool AddLabel(const TRect& r);
    bool AddImage(const TRect& r);
    bool AddField(const TRect& r);
    bool AddShape(const TRect& r, TBltShape shape);
    bool AddLine(const TRect& r, QPoint start, QPoint end);
    bool AddPortal(const TRect& r);
    bool AddCarendar(const TRect& r);

    // The edit dialog of an object by its kind, as a double click opens it; true when confirmed.
    void EditObject(TPriBase* object);
    bool EditText(TPriBase* object);
    bool EditFieldCategory(TPriBase* object);
    // Font and layout of every selected, unlocked text and field, from the text pack's font dialog.
    bool EditFont(TPriBase* current);
    // mode 0 pen and fill, 1 pen only, 2 fill only.
    bool EditPenBrush(TPriBase* current, int mode);
    bool EditPortal(TPriBase* object);
    bool EditCarendar(TPriBase* object);

    // Picture and background commands of the menus; the pictures start in the "sozai" folder.
    bool ToggleProportional();
    bool ToggleTransparent();
    bool SetTransparentColor(TColor color);
    bool ChangeImage();
    bool ChangeBackground();
    bool EraseBackground();
    void ToggleBackground();
    QString SozaiFolder() const;
    // A tool button of the main window: the tool, an idle state and no selection.
    void ChooseTool(TObjectMode mode);

    // The object right-clicked or double-clicked last: the target of the menu commands.
    TPriBase* CurrentObject() const;
    TMouseTracker& Mouse() { return *fMouse; }
    // Stores an object's new place after a move, given its stored rectangle and pixel place before.
    // Its stored size stays as it was, and so does its stored place on an axis the move did not
    // change: converting them back from pixels would let every move wear them away by rounding.
    void StoreMoved(TPriBase& object, const QRect& storedBefore, QPoint pixelsBefore);
    // Redraws only the area into the page bitmap and repaints it.
    void RedrawArea(const TRect& area);
    // Redraws the bounds of the objects with their handles.
    void RedrawObjects(const QList<TPriBase*>& objects, const QRegion& also = QRegion());
    // The screen picture of a region: the page bitmap with the editor's overlay over it.
    void PaintView(QPainter& painter, const QRect& area);
    void ShowSelectionPos();
    QString SelectionPosText() const;

    // Device pixels per view pixel of the screen. The page bitmap is kept at that resolution so a
    // high-density screen shows it sharp; objects, bounds and hit tests stay in view pixels.
    void SetDevicePixelRatio(qreal ratio);
    qreal DevicePixelRatio() const { return fDeviceRatio; }

    bool HasSelection() const { return !FSelectList.isEmpty(); }
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

signals:
    void ModifiedChanged(bool modified);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    // The page bitmap at the view size and the device pixel ratio.
    void AllocatePageBitmap();

    QString fAppPath;
    int fScreenInch;
    qreal fDeviceRatio = 1;
    std::unique_ptr<TPrinterMetricsProvider> fPrinter;

    QList<TPriBase*> FSelectList;
    TObjectOwnerList FSideObjects[2];
    TObjectOwnerList* FObjectList = &FSideObjects[0];
    QImage FPageBitmap;
    QSize fViewSize;
    QSize FPaperPixels;
    TRect FMarginPixels;
    TRect FVisibleRect;

    void StepOrder(int direction);
    void MoveOrderToEnd(bool front);
    bool ApplyKey(int key, bool shift, bool ctrl);
    // Draws the page within d into the page bitmap.
    void DrawArea(const TRect& d, TPriBase* extra, bool wholePage);
    // Records an addition and appends the object: the end of every creation.
    bool AcceptCreated(std::unique_ptr<TPriBase> object);
    // Gives a new object its bounds, selection, page and stored geometry.
    void PrepareCreated(TPriBase& object, const TRect& r);

    // Editor state of the mouse code.
    std::unique_ptr<TMouseTracker> fMouse;
    std::unique_ptr<TEditHistory> fHistory;
    qint64 fPictureBudget = TDocumentLimits::kMaxDocumentPixels;
    friend class TMouseTracker;

    // What the edit history works on.
    TObjectOwnerList& EditedObjects() override { return *FObjectList; }
    void ClearSelection() override;
    void Reselect(TPriBase& object) override;
    void Forget(TPriBase& object) override;
    void Relayout(TPriBase& object) override;
    void Renumber() override { RenumberObjects(); }
    void StepApplied() override;
    void SavedStateChanged(bool modified) override { emit ModifiedChanged(modified); }
};
