#pragma once

#include "document/EditTarget.h"
#include "document/PaintHost.h"
#include "document/PriDocument.h"
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
class TSenderInfo;
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

// The editing surface of a document: the page drawn double-buffered into the document's page
// bitmap, from which the visible rectangle is copied to the screen; the mouse and keys, the
// clipboard and the edit dialogs. The document's state stays reachable under its established names.
class TPriPaint : public QWidget {
    Q_OBJECT

    // Declared first: the names below refer into it.
    std::unique_ptr<TPriDocument> fDocument;

public:
    // appPath ends with a separator; screenInch is the screen's pixels per inch. Without a
    // printer provider the system's current printer is asked.
    TPriPaint(QWidget* owner, QString appPath, int screenInch = 96,
              std::unique_ptr<TPrinterMetricsProvider> printer = nullptr);
    ~TPriPaint() override;

    TPriDocument& Document() { return *fDocument; }
    const TPriDocument& Document() const { return *fDocument; }
    // The window around the surface; a default host that shows and asks nothing until one is set.
    TPaintHost& Host() const { return *fHost; }
    void SetHost(TPaintHost* host) { fHost = host ? host : &fDefaultHost; }

    TPriPaper& PrintPaper = fDocument->PrintPaper;
    TFieldUnit*& FieldUnit = fDocument->FieldUnit;
    TRecordUnit*& RecordUnit = fDocument->RecordUnit;
    const TOutMessage*& OutMess = fDocument->OutMess;
    TDialogLibrary* DialogLibrary = nullptr;

    TMouseNum SelectCheck = mnNone;
    TBltSize BltSizeCheck = bsNormal;
    TPriBackImage& BackObject = fDocument->BackObject;
    TColor GridColor = RGBColor(192, 192, 192);
    TColor MarginColor = RGBColor(255, 0, 0);
    QFont DefaultFont;
    TColor DefaultFontColor = clBlack;
    QString& TempLatePath = fDocument->TempLatePath;
    int32_t& PrintMode = fDocument->PrintMode;
    QString& RecordMainFile = fDocument->RecordMainFile;
    QString& RecordMeisaiFile = fDocument->RecordMeisaiFile;
    int32_t& FStartSeatCol = fDocument->FStartSeatCol;
    int32_t& FStartSeatRow = fDocument->FStartSeatRow;

    const QString& AppPath() const { return fDocument->AppPath(); }
    int ScreenInch() const { return fScreenInch; }
    QSize ViewSize() const { return fDocument->ViewSize(); }
    QSize PaperPixels() const { return fDocument->PaperPixels(); }
    const TRect& MarginPixels() const { return FMarginPixels; }
    const TRect& VisibleRect() const { return FVisibleRect; }
    QImage& PageBitmap() { return FPageBitmap; }
    TPrinterMetricsProvider& Printer() { return *fPrinter; }

    // The edited side (always side 1).
    TObjectOwnerList& Objects() { return *FObjectList; }
    const TObjectOwnerList& Objects() const { return *FObjectList; }
    QList<TPriBase*>& SelectList() { return FSelectList; }

    static constexpr int kMaxViewSide = TPriDocument::kMaxViewSide;

    TPriBase* AppendObject(std::unique_ptr<TPriBase> object) { return fDocument->AppendObject(std::move(object)); }

    // The tool chosen in the main window; storing it also sets the cursor (SetObjectMode).
    TObjectMode ObjectMode() const { return fObjectMode; }
    // Shown on the page: the 5 mm grid, and the printer's margins on a single seat. Redrawn when changed.
    bool BltGridCheck() const { return fGridShown; }
    bool BltMarginCheck() const { return fMarginShown; }
    void SetBltGridCheck(bool shown);
    void SetBltMarginCheck(bool shown);

    void SetPageLayout(QPoint origin, QSize area);
    void ApplyPaperToPrinter();
    void RecomputeMargins();
    void SetVisibleRect(int left, int top, int width, int height);
    void RedrawPage(TPriBase* extra, bool repaint, bool wholePage);
    void ApplyStartMonth(int year, int startMonth) { fDocument->ApplyStartMonth(year, startMonth); }
    void ApplySender(const TSenderInfo& sender) { fDocument->ApplySender(sender); }
    // The document's load and save, which show nothing: false with the reason in error, the
    // document as it was. A save also ends the edit history and the selection.
    bool LoadFromFile(const QString& fileName, int formatKind, QString* error = nullptr);
    bool SaveToFile(const QString& fileName, int formatKind, QString* error = nullptr);
    // False, the background as it was, when the file gives no picture (unreadable set) or nothing
    // is left of the picture budget (said); a picture larger than what is left is scaled down.
    bool SetBackgroundFromFile(const QString& name, bool* unreadable = nullptr);
    bool AddImageFromFile(const QString& name);
    qint64 PicturePixelsLeft() const { return fDocument->PicturePixelsLeft(); }
    void SetPictureBudget(qint64 pixels) { fDocument->SetPictureBudget(pixels); }
    // The picture scaled down to what is left, saying so when it had to be; a null image, with a
    // message, when nothing is left.
    // freed: pixels the picture takes the place of (a background it replaces).
    QImage FitPictureToDocument(const QImage& picture, qint64 freed = 0);
    // The edit steps; commands add to it through TEditStep.
    TEditHistory& History() { return fDocument->History(); }
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
    void ClearDocument();
    void RenumberObjects() { fDocument->RenumberObjects(); }
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

    bool HasSelection() const { return fDocument->HasSelection(); }
    bool HasVisibleObjects() const { return fDocument->HasVisibleObjects(); }
    bool IsSingleSeat() const { return fDocument->IsSingleSeat(); }

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
    // Tool tips: a barcode field whose box is too small says so.
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    // The edit state kept of a content that was replaced: undo copies, mouse state.
    void ForgetEditState();

    TPaintHost fDefaultHost;
    TPaintHost* fHost = &fDefaultHost;
    TObjectMode fObjectMode = omNone;
    bool fGridShown = false;
    bool fMarginShown = true;
    // The document's state under the names the editing code has always used.
    const int fScreenInch = fDocument->ScreenInch();
    QList<TPriBase*>& FSelectList = fDocument->SelectList();
    const QString& fAppPath = fDocument->AppPath();
    TObjectOwnerList* const FObjectList = &fDocument->Objects();
    QImage& FPageBitmap = fDocument->PageBitmap();
    qreal fDeviceRatio = 1;
    std::unique_ptr<TPrinterMetricsProvider> fPrinter;

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
    friend class TMouseTracker;
};
