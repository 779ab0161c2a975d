#include "document/UndoStep.h"

#include "objects/ObjectFactory.h"
#include "objects/PriImage.h"

#include <algorithm>
#include <limits>
#include <unordered_map>

namespace {

qint64 PictureBytes(const TPriBase* object) {
    const auto* image = dynamic_cast<const TPriImage*>(object);
    if (!image) return 0;
    // Pictures share their pixels until one of them changes; a shared one is counted once here.
    qint64 bytes = image->BaseBmp.sizeInBytes() + image->LightImage.sizeInBytes();
    if (image->BltBmp.cacheKey() != image->BaseBmp.cacheKey()) bytes += image->BltBmp.sizeInBytes();
    return bytes;
}

bool Adds(int kind) {
    return kind == ukAdd || kind == ukPaste;
}

} // namespace

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

bool TUndoStep::Hides() const {
    return fKind == ukDelete || fKind == ukCut;
}

bool TUndoStep::Records(const TPriBase* object) const {
    return fRecorded.count(object) != 0;
}

bool TUndoStep::SameObjects(const TUndoStep& other) const {
    if (fEntries.size() != other.fEntries.size()) return false;
    return std::all_of(fEntries.begin(), fEntries.end(), [&](const TEntry& e) { return other.Records(e.Object); });
}

void TUndoStep::Record(TEditTarget& target, TPriBase* object) {
    if (!object || (Hides() && object->UndoCheck) || !fRecorded.insert(object).second) return;
    if (fKind == ukReorder && fOrderBefore.empty())
        for (const auto& obj : target.EditedObjects())
            fOrderBefore.push_back(obj.get());
    std::unique_ptr<TPriBase> copy;
    if (fKind == ukMove || fKind == ukResize || fKind == ukProperty) {
        copy = TObjectFactory::Create(object->ObjectNum);
        if (copy) copy->AssignObject(object, LayoutOnly(fKind));
    }
    if (Hides()) object->UndoCheck = true;
    fEntries.push_back({object, std::move(copy)});
}

void TUndoStep::Close(TEditTarget& target) {
    if (fKind == ukReorder) {
        for (const auto& obj : target.EditedObjects())
            fOrderAfter.push_back(obj.get());
        // Brought to the front where it was already: no step.
        if (fOrderAfter == fOrderBefore) Abandon();
    }
    if (fKind == ukMove || fKind == ukResize) {
        // A click on an object or a handle without movement changed nothing.
        std::erase_if(fEntries, [&](const TEntry& e) {
            const bool same = e.Copy && e.Copy->StoreRect() == e.Object->StoreRect() &&
                              e.Copy->BoundsRect() == e.Object->BoundsRect();
            if (same) fRecorded.erase(e.Object);
            return same;
        });
    }
    fBytes = 0;
    for (const TEntry& e : fEntries) {
        fBytes += PictureBytes(e.Copy.get());
        if (Hides()) {
            fBytes += PictureBytes(e.Object);
            target.Forget(*e.Object);
        }
    }
}

void TUndoStep::ApplyOrder(TEditTarget& target, const std::vector<TPriBase*>& order) {
    std::unordered_map<const TPriBase*, size_t> rank;
    for (size_t i = 0; i < order.size(); ++i)
        rank.emplace(order[i], i);
    const auto rankOf = [&](const std::unique_ptr<TPriBase>& obj) {
        const auto it = rank.find(obj.get());
        return it == rank.end() ? std::numeric_limits<size_t>::max() : it->second;
    };
    TObjectOwnerList& side = target.EditedObjects();
    std::stable_sort(side.begin(), side.end(), [&](const auto& a, const auto& b) { return rankOf(a) < rankOf(b); });
    target.Renumber();
}

void TUndoStep::Apply(TEditTarget& target) {
    target.ClearSelection();
    switch (fKind) {
    case ukDelete:
    case ukCut:
    case ukPaste:
    case ukAdd: {
        // Taking back a deletion shows its objects; taking back an addition hides them.
        const bool show = Hides() == fInForce;
        for (const TEntry& e : fEntries) {
            e.Object->UndoCheck = !show;
            if (show)
                target.Reselect(*e.Object);
            else
                target.Forget(*e.Object);
        }
        break;
    }
    case ukReorder:
        ApplyOrder(target, fInForce ? fOrderBefore : fOrderAfter);
        for (const TEntry& e : fEntries)
            target.Reselect(*e.Object);
        break;
    default: {
        // The object and its copy trade places, so the same call brings the edit back again.
        const bool layoutOnly = LayoutOnly(fKind);
        for (const TEntry& e : fEntries) {
            TPriBase& obj = *e.Object;
            std::unique_ptr<TPriBase> scratch = e.Copy ? TObjectFactory::Create(obj.ObjectNum) : nullptr;
            if (!scratch) continue;
            const int listNum = obj.ListNum;
            scratch->AssignObject(&obj, layoutOnly);
            obj.AssignObject(e.Copy.get(), layoutOnly);
            e.Copy->AssignObject(scratch.get(), layoutOnly);
            obj.ListNum = listNum;
            target.Relayout(obj);
            target.Reselect(obj);
        }
        break;
    }
    }
    fInForce = !fInForce;
    target.StepApplied();
}

void TUndoStep::Discard(TEditTarget& target, std::vector<TPriBase*>& gone) {
    if (!(Hides() && fInForce) && !(Adds(fKind) && !fInForce)) return;
    std::vector<TPriBase*> doomed;
    for (const TEntry& e : fEntries) {
        target.Forget(*e.Object);
        doomed.push_back(e.Object);
    }
    std::sort(doomed.begin(), doomed.end());
    std::erase_if(target.EditedObjects(), [&](const std::unique_ptr<TPriBase>& o) {
        return std::binary_search(doomed.begin(), doomed.end(), o.get());
    });
    target.Renumber();
    gone.insert(gone.end(), doomed.begin(), doomed.end());
    fEntries.clear();
    fRecorded.clear();
}

void TUndoStep::ForgetObjects(const std::vector<TPriBase*>& sortedGone) {
    for (auto* order : {&fOrderBefore, &fOrderAfter})
        std::erase_if(*order, [&](TPriBase* o) { return std::binary_search(sortedGone.begin(), sortedGone.end(), o); });
}

void TUndoStep::Abandon() {
    for (const TEntry& e : fEntries)
        if (Hides()) e.Object->UndoCheck = false;
    fEntries.clear();
    fRecorded.clear();
    fOrderBefore.clear();
    fOrderAfter.clear();
}
