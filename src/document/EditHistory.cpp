#include "document/EditHistory.h"

#include <algorithm>
#include <chrono>

TEditHistory::TEditHistory(TEditTarget& target) : fTarget(target) {
    fNow = [] {
        using namespace std::chrono;
        return qint64(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    };
}

TEditHistory::~TEditHistory() = default;

TUndoKind TEditHistory::UndoKind() const {
    return CanUndo() ? fSteps[size_t(fDone - 1)]->Kind() : ukNone;
}

bool TEditHistory::Undo() {
    if (!CanUndo()) return false;
    fNudged = nullptr;
    fSteps[size_t(--fDone)]->Apply(fTarget);
    Notify();
    return true;
}

bool TEditHistory::Redo() {
    if (!CanRedo()) return false;
    fNudged = nullptr;
    fSteps[size_t(fDone++)]->Apply(fTarget);
    Notify();
    return true;
}

qint64 TEditHistory::Bytes() const {
    qint64 total = 0;
    for (const auto& step : fSteps)
        total += step->Bytes();
    return total;
}

void TEditHistory::SetByteBudget(qint64 bytes) {
    fBudget = std::max<qint64>(0, bytes);
}

void TEditHistory::Drop(size_t from, size_t to, std::vector<TPriBase*>& gone) {
    for (size_t i = from; i < to; ++i)
        fSteps[i]->Discard(fTarget, gone);
    fSteps.erase(fSteps.begin() + qsizetype(from), fSteps.begin() + qsizetype(to));
}

void TEditHistory::Push(std::unique_ptr<TUndoStep> step, bool nudge) {
    const qint64 now = fNow();
    // A further nudge of the same objects soon after the last one moves them on within its step.
    if (nudge && fNudged && fDone == int(fSteps.size()) && fDone > 0 && fSteps.back().get() == fNudged &&
        fSavedAt != fDone && fNudged->Kind() == step->Kind() && fNudged->SameObjects(*step) && now - fNudgedAt >= 0 &&
        now - fNudgedAt < kNudgeMergeMs) {
        fNudgedAt = now;
        return;
    }
    std::vector<TPriBase*> gone;
    // A new edit ends the steps taken back.
    if (fSavedAt > fDone) fSavedAt = -1;
    Drop(size_t(fDone), fSteps.size(), gone);
    fSteps.push_back(std::move(step));
    fDone = int(fSteps.size());
    size_t oldest = 0;
    qint64 bytes = Bytes();
    while (fSteps.size() - oldest > size_t(kMaxSteps) || (bytes > fBudget && fSteps.size() - oldest > 1))
        bytes -= fSteps[oldest++]->Bytes();
    if (oldest > 0) {
        Drop(0, oldest, gone);
        fDone -= int(oldest);
        fSavedAt = fSavedAt >= int(oldest) ? fSavedAt - int(oldest) : -1;
    }
    if (!gone.empty()) {
        std::sort(gone.begin(), gone.end());
        for (const auto& s : fSteps)
            s->ForgetObjects(gone);
    }
    fNudged = nudge ? fSteps.back().get() : nullptr;
    fNudgedAt = now;
    Notify();
}

void TEditHistory::Clear() {
    std::vector<TPriBase*> gone;
    Drop(0, fSteps.size(), gone);
    const bool modified = IsModified();
    fDone = 0;
    fSavedAt = modified ? -1 : 0;
    fNudged = nullptr;
}

void TEditHistory::Reset() {
    const bool modified = IsModified();
    fSteps.clear();
    fDone = 0;
    fSavedAt = modified ? -1 : 0;
    fNudged = nullptr;
}

void TEditHistory::MarkSaved() {
    fSavedAt = fDone;
    fChanged = false;
    Notify();
}

void TEditHistory::NoteChange() {
    fChanged = true;
    Notify();
}

void TEditHistory::Notify() {
    fTarget.HistoryChanged();
    if (IsModified() == fToldModified) return;
    fToldModified = IsModified();
    fTarget.SavedStateChanged(fToldModified);
}

TUndoStep& TEditHistory::Begin(TUndoKind kind) {
    if (fOpenDepth++ == 0) fOpen = std::make_unique<TUndoStep>(kind);
    return *fOpen;
}

void TEditHistory::End(bool nudge) {
    if (fOpenDepth == 0 || --fOpenDepth > 0) return;
    std::unique_ptr<TUndoStep> step = std::move(fOpen);
    if (!step) return;
    step->Close(fTarget);
    if (step->IsEmpty()) return;
    Push(std::move(step), nudge);
}

void TEditHistory::Abandon() {
    if (fOpen) fOpen->Abandon();
}
