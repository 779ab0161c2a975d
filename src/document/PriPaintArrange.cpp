// The surface's selection, arrangement and keyboard commands: delete, select all, z-order, lock,
// the print flag, the font boxes, nudging, focus cycling and alignment.
#include "document/MouseTracker.h"
#include "document/PriPaint.h"
#include "document/EditStep.h"
#include "merge/PriField.h"
#include "objects/PriLabel.h"
#include "objects/TextOverflow.h"
#include "platform/DialogLibrary.h"

#include <QPainter>
#include <QSignalBlocker>
#include <algorithm>

namespace {

bool IsTextKind(const TPriBase* obj) {
    return (obj->ObjectNum == okLabel || obj->ObjectNum == okField) && dynamic_cast<const TPriLabel*>(obj);
}

} // namespace

void TPriPaint::SelectObject(TPriBase* object) {
    if (!object || FSelectList.contains(object)) return;
    FSelectList.append(object);
    object->SetForcusCheck(true);
    object->BeginTrack();
    fDocument->NotifySelectionChanged();
}

bool TPriPaint::DeselectAll() {
    return fDocument->DeselectAll();
}

bool TPriPaint::SelectAll() {
    bool changed = DeselectAll();
    {
        // One notice for the whole page rather than one for each object.
        const QSignalBlocker quiet(fDocument.get());
        for (auto& obj : *FObjectList) {
            if (obj->UndoCheck) continue;
            SelectObject(obj.get());
            changed = true;
        }
    }
    if (!FSelectList.isEmpty()) SelectCheck = mnSearchOn;
    if (changed) fDocument->NotifySelectionChanged();
    return changed;
}

bool TPriPaint::DeleteSelection() {
    TEditStep step(*this, ukDelete);
    for (TPriBase* obj : FSelectList)
        if (!obj->LockCheck) step.Record(obj);
    if (step.IsEmpty()) return false;
    DeselectAll();
    RedrawPage(nullptr, true, true);
    return true;
}

void TPriPaint::BringToFront() {
    MoveOrderToEnd(true);
}

void TPriPaint::SendToBack() {
    MoveOrderToEnd(false);
}

// Each selected, unlocked object in selection order goes to the top (or the bottom) of the side.
void TPriPaint::MoveOrderToEnd(bool front) {
    TEditStep step(*this, ukReorder);
    for (TPriBase* obj : QList<TPriBase*>(FSelectList)) {
        if (obj->LockCheck) continue;
        auto it = std::find_if(FObjectList->begin(), FObjectList->end(), [&](const auto& o) { return o.get() == obj; });
        if (it == FObjectList->end()) continue;
        step.Record(obj);
        std::unique_ptr<TPriBase> held = std::move(*it);
        FObjectList->erase(it);
        FObjectList->insert(front ? FObjectList->end() : FObjectList->begin(), std::move(held));
    }
    RenumberObjects();
    RedrawPage(nullptr, true, true);
}

// One step up or down for each selected, unlocked object. Neighbours that move too are stepped
// over from the far end first, so that a selected group moves as one: taking the objects one by
// one in selection order would swap two neighbours back and forth and move nothing.
void TPriPaint::StepOrder(int direction) {
    TEditStep step(*this, ukReorder);
    TObjectOwnerList& side = *FObjectList;
    const int n = int(side.size());
    auto moving = [&](int i) { return FSelectList.contains(side[size_t(i)].get()) && !side[size_t(i)]->LockCheck; };
    for (int k = 0; k < n; ++k) {
        const int i = direction > 0 ? n - 2 - k : k + 1;
        const int j = i + direction;
        if (i < 0 || i >= n || j < 0 || j >= n) continue;
        if (!moving(i) || moving(j)) continue;
        step.Record(side[size_t(i)].get());
        std::swap(side[size_t(i)], side[size_t(j)]);
    }
    RenumberObjects();
    RedrawPage(nullptr, true, true);
}

void TPriPaint::BringForward() {
    StepOrder(1);
}

void TPriPaint::SendBackward() {
    StepOrder(-1);
}

void TPriPaint::SetLock(bool value) {
    TEditStep step(*this, ukProperty);
    for (TPriBase* obj : FSelectList) {
        if (obj->LockCheck == value) continue;
        step.Record(obj);
        obj->LockCheck = value;
    }
    if (step.IsEmpty()) return;
    RedrawPage(nullptr, true, true);
}

void TPriPaint::TogglePrint() {
    TPriBase* current = CurrentObject();
    if (!current && !FSelectList.isEmpty()) current = FSelectList.first();
    if (!current) return;
    const bool value = !current->PrintCheck;
    TEditStep step(*this, ukProperty);
    for (TPriBase* obj : FSelectList) {
        if (obj->LockCheck || obj->PrintCheck == value) continue;
        step.Record(obj);
        obj->PrintCheck = value;
    }
}

namespace {

// The font commands share their frame: one step with a copy of every selected unlocked text the
// change alters, then the change, which lays the text out again through the relayout it is given.
// A change that alters nothing records nothing.
template <typename D, typename F> void ChangeFonts(TPriPaint& doc, D differs, F change) {
    std::vector<TPriLabel*> targets;
    for (TPriBase* obj : doc.SelectList())
        if (!obj->LockCheck && IsTextKind(obj) && differs(static_cast<const TPriLabel&>(*obj)))
            targets.push_back(static_cast<TPriLabel*>(obj));
    TEditStep step(doc, ukProperty);
    for (TPriLabel* label : targets) {
        step.Record(label);
        const auto relayout = [&doc, label] {
            label->ScaleToView(doc.ViewSize(), doc.PaperPixels(), doc.ScreenInch());
            label->MakeHandles();
        };
        change(*label, relayout);
    }
}

} // namespace

void TPriPaint::SetFontName(const QString& face) {
    if (face.isEmpty()) return;
    ChangeFonts(
        *this, [&](const TPriLabel& l) { return l.Font.family() != face; },
        [&](TPriLabel& l, auto relayout) {
            l.Font.setFamily(face);
            relayout();
        });
}

void TPriPaint::SetFontSize(int points) {
    if (points < 1) return;
    const QSize page(PrintPaper.PageWidth(), PrintPaper.PageHeight());
    ChangeFonts(
        *this, [&](const TPriLabel& l) { return l.SameFSize != points; },
        [&](TPriLabel& l, auto relayout) {
            const bool fitted = !TTextOverflow::LostCharacters(l);
            const QStringList lines = l.BltStrings();
            l.SameFSize = points;
            relayout();
            // The user asked for this size: a box the text no longer fits grows to hold its lines.
            if (fitted) TTextOverflow::GrowToFit(l, lines.isEmpty() ? l.BltStrings() : lines, page, relayout);
        });
}

void TPriPaint::SetFontStyle(int index) {
    if (index < 0 || index > 3) return;
    const bool bold = index == 1 || index == 3, italic = index == 2 || index == 3;
    ChangeFonts(
        *this, [&](const TPriLabel& l) { return l.Font.bold() != bold || l.Font.italic() != italic; },
        [&](TPriLabel& l, auto relayout) {
            l.Font.setBold(bold);
            l.Font.setItalic(italic);
            relayout();
        });
}

namespace {

// Arrow keys: repeated presses on the same objects within a second make one step.
template <typename F> bool StepSelection(TPriPaint& doc, TUndoKind kind, F change) {
    const bool move = kind == ukMove;
    TEditStep step(doc, kind);
    step.MergeNudges();
    for (TPriBase* obj : doc.SelectList()) {
        if (obj->LockCheck) continue;
        step.Record(obj);
        const QRect stored = obj->StoreRect();
        const QPoint pixels(obj->Left, obj->Top);
        change(*obj);
        if (move)
            doc.StoreMoved(*obj, stored, pixels);
        else
            obj->ScaleToStore(doc.ViewSize(), doc.PaperPixels(), doc.ScreenInch());
        obj->MakeHandles();
    }
    return !step.IsEmpty();
}

} // namespace

bool TPriPaint::NudgeSelection(int dx, int dy) {
    return StepSelection(*this, ukMove, [&](TPriBase& o) { o.MoveBy(QPoint(dx, dy)); });
}

bool TPriPaint::ResizeSelection(int dx, int dy) {
    return StepSelection(*this, ukResize, [&](TPriBase& o) { o.SizeBy(QPoint(dx, dy)); });
}

bool TPriPaint::FocusNext() {
    std::vector<TPriBase*> shown;
    for (auto& obj : *FObjectList)
        if (!obj->UndoCheck) shown.push_back(obj.get());
    if (shown.empty()) return false;
    TPriBase* next = nullptr;
    if (FSelectList.isEmpty()) {
        next = shown.front();
    } else if (shown.size() > 1) {
        auto it = std::find(shown.begin(), shown.end(), FSelectList.first());
        next = (it == shown.end() || it + 1 == shown.end()) ? shown.front() : *(it + 1);
    }
    if (!next) return false;
    DeselectAll();
    SelectObject(next);
    SelectCheck = mnSearchOn;
    RedrawPage(nullptr, true, true);
    return true;
}

bool TPriPaint::FocusPrev() {
    std::vector<TPriBase*> shown;
    for (auto& obj : *FObjectList)
        if (!obj->UndoCheck) shown.push_back(obj.get());
    if (shown.empty()) return false;
    TPriBase* prev = nullptr;
    if (FSelectList.isEmpty()) {
        // Not offered without a selection; the top-most is the natural start going backwards.
        prev = shown.back();
    } else if (shown.size() > 1) {
        auto it = std::find(shown.begin(), shown.end(), FSelectList.first());
        prev = (it == shown.end() || it == shown.begin()) ? shown.back() : *(it - 1);
    }
    if (!prev) return false;
    DeselectAll();
    SelectObject(prev);
    SelectCheck = mnSearchOn;
    RedrawPage(nullptr, true, true);
    return true;
}

bool TPriPaint::AlignObjects() {
    TPackObjectList objects;
    for (TPriBase* obj : FSelectList)
        if (!obj->LockCheck) objects.append(obj);
    if (objects.size() < 2 || !DialogLibrary) return false;
    TEditStep step(*this, ukProperty);
    for (TPriBase* obj : objects)
        step.Record(obj);
    if (!DialogLibrary->PositionEditDlg(objects)) {
        // Nothing moved: no empty step is offered for undo.
        step.Abandon();
        return false;
    }
    for (TPriBase* obj : objects) {
        obj->MakeHandles();
        obj->ScaleToStore(ViewSize(), PaperPixels(), fScreenInch);
    }
    RedrawPage(nullptr, true, true);
    return true;
}

bool TPriPaint::HandleKey(int key, bool shift, bool ctrl) {
    const bool handled = ApplyKey(key, shift, ctrl);
    if (handled) fDocument->NotifyChanged();
    return handled;
}

bool TPriPaint::ApplyKey(int key, bool shift, bool ctrl) {
    if (ctrl) {
        switch (key) {
        case Qt::Key_A:
            if (SelectAll()) RedrawPage(nullptr, true, true);
            return true;
        case Qt::Key_Z:
            if (shift)
                Redo();
            else
                Undo();
            return true;
        case Qt::Key_Y: Redo(); return true;
        case Qt::Key_C: CopySelection(); return true;
        case Qt::Key_X: CutSelection(); return true;
        case Qt::Key_V: PasteClipboard(); return true;
        default: return false;
        }
    }
    QPoint d;
    switch (key) {
    case Qt::Key_Tab: FocusNext(); return true;
    case Qt::Key_Delete: DeleteSelection(); return true;
    case Qt::Key_Left: d = {-1, 0}; break;
    case Qt::Key_Up: d = {0, -1}; break;
    case Qt::Key_Right: d = {1, 0}; break;
    case Qt::Key_Down: d = {0, 1}; break;
    default: return false;
    }
    const bool changed = shift ? ResizeSelection(d.x(), d.y()) : NudgeSelection(d.x(), d.y());
    if (changed) RedrawPage(nullptr, true, true);
    return true;
}
