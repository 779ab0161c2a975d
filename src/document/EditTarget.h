#pragma once

#include "objects/PriBase.h"

#include <cstdint>
#include <memory>
#include <vector>

using TObjectOwnerList = std::vector<std::unique_ptr<TPriBase>>;

// Kinds of undoable edit step; 0 is none.
enum TUndoKind : uint8_t {
    ukNone = 0,
    ukDelete = 1,
    ukCut = 3,
    ukPaste = 4,
    ukReorder = 5,
    ukMove = 6,
    ukResize = 7,
    ukAdd = 8,
    ukProperty = 9,
};

// What the edit history works on: the edited side's objects, the selection and the view that
// shows them. The history keeps every object a step refers to alive in the list (hidden while
// it is deleted or its addition taken back) until the step is dropped, so steps hold plain pointers.
class TEditTarget {
public:
    virtual ~TEditTarget() = default;

    virtual TObjectOwnerList& EditedObjects() = 0;
    virtual void ClearSelection() = 0;
    virtual void Reselect(TPriBase& object) = 0;
    // The object is hidden or about to be destroyed: nothing may hold it selected or current.
    virtual void Forget(TPriBase& object) = 0;
    // Lays the object out from its stored state at the present zoom: a copy's pixels belong to
    // the zoom it was taken at.
    virtual void Relayout(TPriBase& object) = 0;
    // The list order changed or objects left it.
    virtual void Renumber() = 0;
    // A step was taken back or brought again: the page shows it.
    virtual void StepApplied() = 0;
    virtual void SavedStateChanged(bool modified) = 0;
    // A step was added, taken back, brought again or the history ended: commands' states follow.
    virtual void HistoryChanged() = 0;
};
