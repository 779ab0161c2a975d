#include "document/UndoStep.h"

#include "calendar/PriCarendar.h"
#include "document/MouseTracker.h"
#include "merge/PriPortal.h"
#include "objects/ObjectFactory.h"
#include "objects/PriImage.h"
#include "objects/PriLabel.h"
#include "objects/PriShape.h"

#include <algorithm>

bool TUndoStep::LayoutOnly(int kind) {
    switch (kind) {
    case ukDelete:
    case ukCut:
    case ukReorder:
    case ukMove:
    case ukResize: return true;
    default: return false;
    }
}

void TUndoStep::Transfer(TPriBase& dst, const TPriBase& src, bool layoutOnly) {
    // Each kind has its own flagged copy; the kinds without one always copy everything.
    if (auto* label = dynamic_cast<TPriLabel*>(&dst))
        label->AssignObject(&src, layoutOnly);
    else if (auto* image = dynamic_cast<TPriImage*>(&dst))
        image->AssignObject(&src, layoutOnly);
    else if (auto* shape = dynamic_cast<TPriShape*>(&dst))
        shape->AssignObject(&src, layoutOnly);
    else if (auto* portal = dynamic_cast<TPriPortal*>(&dst))
        portal->AssignObject(&src, layoutOnly);
    else if (auto* cal = dynamic_cast<TPriCarendar*>(&dst))
        cal->AssignObject(&src, layoutOnly);
    else
        dst.AssignObject(&src);
}

void TUndoStep::Record(TPriPaint& doc, TUndoKind kind, TPriBase* object) {
    if (!object) return;
    std::unique_ptr<TPriBase> copy = TObjectFactory::Create(object->ObjectNum);
    if (!copy) return;
    Transfer(*copy, *object, LayoutOnly(kind));
    copy->ListNum = object->ListNum;
    copy->Tag = object->Tag;
    doc.UndoList().push_back(std::move(copy));
    doc.UndoState = usReverse;
}

void TUndoStep::RemoveRecorded(TPriPaint& doc) {
    TObjectOwnerList& side = doc.Objects();
    // Every doomed object is found before any is removed: removing one shifts the indexes after it.
    std::vector<TPriBase*> doomed;
    for (const auto& copy : doc.UndoList())
        if (copy->ListNum >= 0 && copy->ListNum < int(side.size())) doomed.push_back(side[size_t(copy->ListNum)].get());
    for (TPriBase* obj : doomed) {
        doc.SelectList().removeAll(obj);
        doc.Mouse().Forget(obj);
    }
    std::erase_if(side, [&](const std::unique_ptr<TPriBase>& o) {
        return std::find(doomed.begin(), doomed.end(), o.get()) != doomed.end();
    });
    doc.RenumberObjects();
}

void TUndoStep::Commit(TPriPaint& doc) {
    switch (doc.FUndoKind) {
    case ukDelete:
    case ukCut:
        if (doc.UndoState == usReverse) RemoveRecorded(doc);
        break;
    case ukPaste:
    case ukAdd:
        if (doc.UndoState != usReverse) RemoveRecorded(doc);
        break;
    case ukReorder:
        for (auto& obj : doc.Objects())
            obj->Tag = 0;
        break;
    default: break;
    }
    doc.UndoList().clear();
    doc.FUndoKind = ukNone;
    doc.UndoState = usNone;
}

void TUndoStep::UndoReorder(TPriPaint& doc) {
    TObjectOwnerList& side = doc.Objects();
    struct TMove {
        TPriBase* Copy;
        int Target;
        std::unique_ptr<TPriBase> Object;
    };
    std::vector<TMove> moves;
    for (const auto& copy : doc.UndoList()) {
        if (copy->Tag == 0) continue;
        auto it = std::find_if(side.begin(), side.end(), [&](const auto& o) { return o->Tag == copy->Tag; });
        if (it == side.end()) continue;
        const int now = int(it - side.begin());
        moves.push_back({copy.get(), copy->ListNum, nullptr});
        // The copy now keeps where the object stands before this undo, for the redo.
        copy->ListNum = now;
    }
    // All moved objects leave first; then they go back in ascending target order, so each
    // insertion finds everything below its target already in place.
    for (TMove& m : moves) {
        auto it = std::find_if(side.begin(), side.end(), [&](const auto& o) { return o->Tag == m.Copy->Tag; });
        m.Object = std::move(*it);
        side.erase(it);
    }
    std::stable_sort(moves.begin(), moves.end(), [](const TMove& a, const TMove& b) { return a.Target < b.Target; });
    for (TMove& m : moves) {
        const size_t at = size_t(std::clamp(m.Target, 0, int(side.size())));
        side.insert(side.begin() + qsizetype(at), std::move(m.Object));
    }
    doc.RenumberObjects();
}

void TUndoStep::Undo(TPriPaint& doc) {
    if (doc.UndoList().empty()) return;
    doc.DeselectAll();
    TObjectOwnerList& side = doc.Objects();
    auto at = [&](int n) -> TPriBase* { return n >= 0 && n < int(side.size()) ? side[size_t(n)].get() : nullptr; };
    const bool inForce = doc.UndoState == usReverse;
    const bool layoutOnly = LayoutOnly(doc.FUndoKind);
    switch (doc.FUndoKind) {
    case ukDelete:
    case ukCut:
    case ukPaste:
    case ukAdd: {
        // Taking back a deletion shows its objects; taking back an addition hides them.
        const bool deletion = doc.FUndoKind == ukDelete || doc.FUndoKind == ukCut;
        const bool show = deletion == inForce;
        for (const auto& copy : doc.UndoList()) {
            TPriBase* obj = at(copy->ListNum);
            if (!obj) continue;
            obj->UndoCheck = !show;
            if (show) doc.SelectObject(obj);
        }
        break;
    }
    case ukReorder: UndoReorder(doc); break;
    case ukMove:
    case ukResize:
    case ukProperty:
        for (const auto& copy : doc.UndoList()) {
            TPriBase* obj = at(copy->ListNum);
            if (!obj) continue;
            std::unique_ptr<TPriBase> scratch = TObjectFactory::Create(obj->ObjectNum);
            if (!scratch) continue;
            Transfer(*scratch, *obj, layoutOnly);
            Transfer(*obj, *copy, layoutOnly);
            Transfer(*copy, *scratch, layoutOnly);
            obj->ListNum = copy->ListNum;
            // The copy's pixels belong to the zoom it was taken at; the stored place is the truth,
            // and a full copy also brings fonts, pens and pictures to derive again.
            obj->ScaleToView(doc.ViewSize(), doc.PaperPixels(), doc.ScreenInch());
            obj->MakeHandles();
            doc.SelectObject(obj);
        }
        break;
    default: break;
    }
    doc.UndoState = inForce ? usEnter : usReverse;
    doc.RedrawPage(nullptr, true, true);
    if (!doc.SelectList().isEmpty()) doc.SelectCheck = mnSearchOn;
}
