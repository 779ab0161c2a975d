#include "document/EditStep.h"

#include "document/EditHistory.h"
#include "document/PriPaint.h"

TEditStep::TEditStep(TPriDocument& doc, TUndoKind kind)
    : fHistory(doc.History()), fTarget(doc), fStep(fHistory.Begin(kind)) {}

TEditStep::TEditStep(TPriPaint& surface, TUndoKind kind) : TEditStep(surface.Document(), kind) {}

TEditStep::~TEditStep() {
    fHistory.End(fNudge);
}

void TEditStep::Record(TPriBase* object) {
    fStep.Record(fTarget, object);
}

bool TEditStep::IsEmpty() const {
    return fStep.IsEmpty();
}

void TEditStep::Abandon() {
    fHistory.Abandon();
}
