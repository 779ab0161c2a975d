#pragma once

#include "document/EditTarget.h"

class TPriDocument;
class TPriPaint;
class TUndoStep;
class TEditHistory;

// One edit as the user sees it: every command opens one, records each object before changing it,
// and the step joins the history when it goes out of scope with something recorded. A step opened
// while another is open joins that one.
//
//     TEditStep step(doc, ukProperty);
//     step.Record(object);
//     object->...;
class TEditStep {
public:
    TEditStep(TPriDocument& doc, TUndoKind kind);
    TEditStep(TPriPaint& surface, TUndoKind kind);
    ~TEditStep();
    TEditStep(const TEditStep&) = delete;
    TEditStep& operator=(const TEditStep&) = delete;

    // Before the object changes; a deletion hides the object.
    void Record(TPriBase* object);
    bool IsEmpty() const;
    // The edit was given up: nothing recorded so far stays.
    void Abandon();
    // An arrow-key nudge: joins the newest step when that nudged the same objects just before.
    void MergeNudges() { fNudge = true; }

private:
    TEditHistory& fHistory;
    TEditTarget& fTarget;
    TUndoStep& fStep;
    bool fNudge = false;
};
