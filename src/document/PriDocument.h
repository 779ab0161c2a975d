#pragma once

#include "document/EditTarget.h"
#include "document/PriPaper.h"
#include "merge/SenderInfo.h"
#include "objects/PriBackImage.h"
#include "objects/PriBase.h"
#include "platform/DocumentLimits.h"

#include <QImage>
#include <QList>
#include <QObject>
#include <QSize>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class TOutMessage;
class TFieldUnit;
class TRecordUnit;
class TEditHistory;

// What a load or save came to: on failure the reason, in words for the user. Nothing is shown.
struct TDocumentResult {
    bool Ok = false;
    // Why it failed; after a load that succeeded, what was left out (empty when nothing was).
    QString Reason;
    explicit operator bool() const { return Ok; }
};

// The document: the paper, the objects of both sides, the selection, the backgrounds and the
// print and merge settings, with the template file's load and save. It knows no widget, so the
// export, the print pipeline, tools and tests use it alone; the editing surface draws and edits it.
//
// The objects keep their geometry in view pixels at the scale set here (the view size against the
// paper at the screen's resolution) and point at the page image for its size: the surface sets the
// view size as it zooms, a headless user lays the page out at 100 % with ScaleToPaper.
class TPriDocument : public QObject, public TEditTarget {
    Q_OBJECT

public:
    // appPath ends with a separator; screenInch is the screen's pixels per inch.
    explicit TPriDocument(QString appPath, int screenInch = 96, QObject* parent = nullptr);
    ~TPriDocument() override;

    TPriPaper PrintPaper;
    TFieldUnit* FieldUnit = nullptr;
    TRecordUnit* RecordUnit = nullptr;
    const TOutMessage* OutMess = nullptr;
    TPriBackImage BackObject;
    // The file the document was last loaded from or saved to.
    QString TempLatePath;
    int32_t PrintMode = 0;
    QString RecordMainFile;
    QString RecordMeisaiFile;
    int32_t FStartSeatCol = 0;
    int32_t FStartSeatRow = 0;
    QStringList FTempPageFiles;

    const QString& AppPath() const { return fAppPath; }
    int ScreenInch() const { return fScreenInch; }

    // The largest page side in view pixels that will be allocated.
    static constexpr int kMaxViewSide = 32767;
    QSize ViewSize() const { return fViewSize; }
    QSize PaperPixels() const { return FPaperPixels; }
    // The page the objects lie on, at the view size times the device pixel ratio.
    QImage& PageBitmap() { return FPageBitmap; }
    const QImage& PageBitmap() const { return FPageBitmap; }
    // Paper pixels from the paper's page size: the page at 100 %.
    void UpdatePaperPixels();
    // Lays every object out at a view size; a size beyond what a painter can draw gives no page.
    void SetViewSize(QSize viewSize, qreal deviceRatio = 1);
    // The page at 100 %, as the export and the print pipeline need it.
    void ScaleToPaper();

    // The edited side (always side 1) and both sides.
    TObjectOwnerList& Objects() { return FSideObjects[0]; }
    const TObjectOwnerList& Objects() const { return FSideObjects[0]; }
    TObjectOwnerList& SideObjects(int side) { return FSideObjects[side & 1]; }
    QList<TPriBase*>& SelectList() { return FSelectList; }
    const QList<TPriBase*>& SelectList() const { return FSelectList; }
    bool HasSelection() const { return !FSelectList.isEmpty(); }
    // Ends the selection; whether anything was selected.
    bool DeselectAll();
    bool HasVisibleObjects() const;
    bool IsSingleSeat() const { return PrintPaper.IsSingleSeat(); }

    // Appends an object to the edited side, giving it its list number and the page.
    TPriBase* AppendObject(std::unique_ptr<TPriBase> object);
    void RenumberObjects();
    // Empties the selection and the edited side.
    void ClearObjects();
    // Takes over the content read from a template: both sides, the paper and the backgrounds.
    void ReplaceContent(TObjectOwnerList side1, TObjectOwnerList side2, const TPriPaper& paper,
                        const TPriBackImage& back);
    void ApplyStartMonth(int year, int startMonth);
    // Sender fields on both sides show the sender's values.
    void ApplySender(const TSenderInfo& sender);
    // The sender applied last, for fields that become sender fields later.
    const TSenderInfo& Sender() const { return fSender; }
    // Month of a calendar stored relative to January, re-dated to a start year and month.
    static void ShiftMonth(int year, int storedMonth, int startMonth, int& outYear, int& outMonth);

    // Pixels the pictures and backgrounds may still add: a saved file is read within
    // TDocumentLimits::kMaxDocumentPixels, so whatever is added must fit in what is left.
    qint64 PicturePixelsLeft() const;
    // The pixels all pictures may hold: the readers' limit, or less where memory is scarcer (the
    // fuzzers run under sanitizers within a fixed memory limit).
    void SetPictureBudget(qint64 pixels) { fPictureBudget = pixels; }
    // Whether a calendar of the document got no holiday list (the holiday file could not be read).
    bool CalendarsLackHolidays() const;

    // Template files; success makes the file the document's. A failed load leaves the document as it was.
    TDocumentResult Load(const QString& fileName, int formatKind);
    TDocumentResult Save(const QString& fileName, int formatKind);

    // The edit steps: commands add to it through TEditStep. Cleared with the content, never saved.
    TEditHistory& History() { return *fHistory; }
    const TEditHistory& History() const { return *fHistory; }
    // Unsaved changes: the history away from its saved mark, or a change no step takes back.
    bool IsModified() const;

    // Said by whoever edited the document in place (the surface after its edits).
    void NotifyChanged() { emit Changed(); }
    void NotifySelectionChanged() { emit SelectionChanged(); }

signals:
    void Changed();
    void SelectionChanged();
    // The whole content was replaced: the edit state kept of the old content no longer applies.
    void ContentReplaced();
    void ModifiedChanged(bool modified);
    // An undo or redo was applied: the page shows it anew.
    void EditStepApplied();
    // The object was hidden or is about to be destroyed: nothing may keep it current.
    void ObjectForgotten(TPriBase* object);

private:
    // What the edit history works on.
    TObjectOwnerList& EditedObjects() override { return FSideObjects[0]; }
    void ClearSelection() override;
    void Reselect(TPriBase& object) override;
    void Forget(TPriBase& object) override;
    void Relayout(TPriBase& object) override;
    void Renumber() override { RenumberObjects(); }
    void StepApplied() override { emit EditStepApplied(); }
    void SavedStateChanged(bool modified) override { emit ModifiedChanged(modified); }
    void HistoryChanged() override { emit Changed(); }

    QString fAppPath;
    int fScreenInch;
    QList<TPriBase*> FSelectList;
    TSenderInfo fSender;
    TObjectOwnerList FSideObjects[2];
    QImage FPageBitmap;
    QSize fViewSize;
    QSize FPaperPixels;
    qint64 fPictureBudget = TDocumentLimits::kMaxDocumentPixels;
    // Last: its steps refer to the objects above.
    std::unique_ptr<TEditHistory> fHistory;
};
