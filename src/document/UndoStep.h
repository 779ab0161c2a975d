#pragma once

#include "document/PriPaint.h"

// The surface's single undo step: the copies taken before an edit, taking the edit back and
// bringing it again, and making it permanent when the next edit starts.
class TUndoStep {
public:
    // Delete, cut, reorder, move and resize copy only the layout; the other kinds everything.
    static bool LayoutOnly(int kind);
    // dst takes src's state, limited to the layout when asked.
    static void Transfer(TPriBase& dst, const TPriBase& src, bool layoutOnly);

    static void Record(TPriPaint& doc, TUndoKind kind, TPriBase* object);
    static void Commit(TPriPaint& doc);
    static void Undo(TPriPaint& doc);

private:
    static void UndoReorder(TPriPaint& doc);
    // Removes the objects at the copies' list numbers, all at once, and renumbers the side.
    static void RemoveRecorded(TPriPaint& doc);
};
