#pragma once

#include "document/UndoStep.h"

#include <QtGlobal>
#include <functional>
#include <memory>
#include <vector>

// The document's undo history: up to kMaxSteps steps within a byte budget, undone and redone in
// strict order, and the saved mark that tells whether the document differs from its file.
// Commands add steps through TEditStep.
class TEditHistory {
public:
    static constexpr int kMaxSteps = 100;
    static constexpr qint64 kDefaultByteBudget = qint64(256) << 20;
    // Arrow-key nudges of the same objects closer together than this make one step.
    static constexpr qint64 kNudgeMergeMs = 1000;

    explicit TEditHistory(TEditTarget& target);
    ~TEditHistory();
    TEditHistory(const TEditHistory&) = delete;
    TEditHistory& operator=(const TEditHistory&) = delete;

    bool CanUndo() const { return fDone > 0 && !fOpen; }
    bool CanRedo() const { return fDone < int(fSteps.size()) && !fOpen; }
    int UndoCount() const { return fDone; }
    int RedoCount() const { return int(fSteps.size()) - fDone; }
    // The kind of the step an undo would take back; ukNone when there is none.
    TUndoKind UndoKind() const;
    bool Undo();
    bool Redo();

    // Picture bytes the steps keep; past the budget the oldest steps go, never the newest.
    qint64 Bytes() const;
    void SetByteBudget(qint64 bytes);
    // Milliseconds of a steady clock; tests set their own.
    void SetClock(std::function<qint64()> now) { fNow = std::move(now); }

    // Ends the history: the objects only the steps kept are destroyed.
    void Clear();
    // Forgets the steps without touching the objects: the content is replaced as a whole.
    void Reset();

    bool IsModified() const { return fChanged || fSavedAt != fDone; }
    void MarkSaved();
    // A change no step can take back (the background, print settings): modified until saved.
    void NoteChange();

    // The open step of TEditStep; a step opened inside another joins it.
    TUndoStep& Begin(TUndoKind kind);
    void End(bool nudge);
    // The open step changed nothing after all: what it hid shows again.
    void Abandon();

private:
    void Push(std::unique_ptr<TUndoStep> step, bool nudge);
    void Drop(size_t from, size_t to, std::vector<TPriBase*>& gone);
    void Notify();

    TEditTarget& fTarget;
    std::vector<std::unique_ptr<TUndoStep>> fSteps;
    // Steps in force: the next undo takes back fSteps[fDone - 1].
    int fDone = 0;
    // fDone when the document was saved; -1 once that state can no longer be reached.
    int fSavedAt = 0;
    bool fChanged = false;
    bool fToldModified = false;
    qint64 fBudget = kDefaultByteBudget;
    std::unique_ptr<TUndoStep> fOpen;
    int fOpenDepth = 0;
    // The newest step when it was a nudge, and when it was last nudged further.
    const TUndoStep* fNudged = nullptr;
    qint64 fNudgedAt = 0;
    std::function<qint64()> fNow;
};
