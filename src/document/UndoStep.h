#pragma once

#include "document/EditTarget.h"

#include <QtGlobal>
#include <unordered_set>

// One undoable edit: the objects it touched with the copies taken before, taken back and brought
// again in turn. Objects are held by pointer: the history keeps them alive while a step refers to them.
class TUndoStep {
public:
    explicit TUndoStep(TUndoKind kind) : fKind(kind) {}

    // Delete, cut, reorder, move and resize copy only the layout; the other kinds everything.
    static bool LayoutOnly(int kind);

    TUndoKind Kind() const { return fKind; }
    bool IsEmpty() const { return fEntries.empty(); }
    // Whether the step is in force (done or redone) rather than taken back.
    bool InForce() const { return fInForce; }
    // Picture bytes only the history keeps alive: the copies, and the objects a deletion hides.
    qint64 Bytes() const { return fBytes; }
    bool SameObjects(const TUndoStep& other) const;

    // Before the object changes: a copy where the kind needs one; a deletion hides the object.
    void Record(TEditTarget& target, TPriBase* object);
    bool Records(const TPriBase* object) const;
    // The edit changed nothing after all: the objects it hid show again and the step is empty.
    void Abandon();
    // The step is complete: the order it left and the bytes it holds are known.
    void Close(TEditTarget& target);
    // Takes the step back when in force, brings it again when not.
    void Apply(TEditTarget& target);
    // Destroys the objects nothing but this step keeps: a deletion in force or an addition taken back.
    // The pointers go to gone, for the other steps to drop from what they remember of the order.
    void Discard(TEditTarget& target, std::vector<TPriBase*>& gone);
    void ForgetObjects(const std::vector<TPriBase*>& sortedGone);

private:
    struct TEntry {
        TPriBase* Object;
        std::unique_ptr<TPriBase> Copy;
    };
    bool Hides() const;
    void ApplyOrder(TEditTarget& target, const std::vector<TPriBase*>& order);

    TUndoKind fKind;
    bool fInForce = true;
    qint64 fBytes = 0;
    std::vector<TEntry> fEntries;
    std::unordered_set<const TPriBase*> fRecorded;
    // The whole side's order before and after a reorder.
    std::vector<TPriBase*> fOrderBefore, fOrderAfter;
};
