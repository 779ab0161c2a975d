#include "document/EditHistory.h"
#include "document/ClipboardBlock.h"
#include "document/EditStep.h"
#include "document/UndoStep.h"
#include "objects/PriLabel.h"
#include "support/EditSurface.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(UndoStepTest, DeleteUndoRedoAndCommit) {
    TEditSurface s;
    auto row = s.AddRow(3);
    s->SelectObject(row[1]);
    ASSERT_TRUE(s->DeleteSelection());
    EXPECT_TRUE(row[1]->UndoCheck);
    EXPECT_FALSE(s->HasSelection());
    EXPECT_EQ(s->History().UndoKind(), ukDelete);

    s->Undo(); // the object comes back selected
    EXPECT_FALSE(row[1]->UndoCheck);
    EXPECT_EQ(s->SelectList(), QList<TPriBase*>{row[1]});
    EXPECT_TRUE(s->CanRedo());
    s->Undo(); // a second undo goes further back, to nothing: it no longer redoes
    EXPECT_FALSE(row[1]->UndoCheck);
    s->Redo(); // redo hides it again
    EXPECT_TRUE(row[1]->UndoCheck);
    EXPECT_FALSE(s->CanRedo());

    s->SelectObject(row[0]);
    s->NudgeSelection(1, 0); // the next edit keeps the deletion in the history, hidden
    EXPECT_EQ(s->History().UndoCount(), 2);
    ASSERT_EQ(s->Objects().size(), 3u);
    s->History().Clear(); // ending the history makes it permanent
    ASSERT_EQ(s->Objects().size(), 2u);
    EXPECT_EQ(OrderOf(*s, row), (std::vector<int>{0, 2}));
    EXPECT_EQ(s->Objects()[1]->ListNum, 1);
}

TEST(UndoStepTest, CommitRemovesEveryRecordedObjectAndNoOther) {
    // Deleting the objects at 1 and 3 of five: removing them one after the other by their old
    // numbers would take the object at 4 instead of the one at 3.
    TEditSurface s;
    auto row = s.AddRow(5);
    s->SelectObject(row[1]);
    s->SelectObject(row[3]);
    ASSERT_TRUE(s->DeleteSelection());
    s->History().Clear();
    EXPECT_EQ(OrderOf(*s, row), (std::vector<int>{0, 2, 4}));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(s->Objects()[size_t(i)]->ListNum, i);

    // Two pasted objects taken back and then committed: both go, nothing else.
    const QByteArray block = [&] {
        s->DeselectAll();
        s->SelectObject(row[0]);
        s->SelectObject(row[2]);
        return TClipboardBlock::Write(s->SelectList());
    }();
    s->DeselectAll();
    ASSERT_TRUE(s->PasteBlock(block, QPoint(0, 0)));
    EXPECT_EQ(s->Objects().size(), 5u);
    s->Undo();
    s->History().Clear();
    EXPECT_EQ(OrderOf(*s, row), (std::vector<int>{0, 2, 4}));
}

TEST(UndoStepTest, ReorderUndoAndRedoRestoreTheOrder) {
    struct TCase {
        const char* Name;
        std::vector<int> Select;
        void (TPriPaint::*Command)();
        std::vector<int> After;
    } cases[] = {
        {"front C then A", {2, 0}, &TPriPaint::BringToFront, {1, 3, 2, 0}},
        {"back D then C", {3, 2}, &TPriPaint::SendToBack, {2, 3, 0, 1}},
        // A selected group steps as one, whatever the order of selection.
        {"forward A and B", {1, 0}, &TPriPaint::BringForward, {2, 0, 1, 3}},
        {"backward D then C", {3, 2}, &TPriPaint::SendBackward, {0, 2, 3, 1}},
        {"forward C and D at the top", {2, 3}, &TPriPaint::BringForward, {0, 1, 2, 3}},
    };
    for (const TCase& c : cases) {
        TEditSurface s;
        auto row = s.AddRow(4);
        for (int i : c.Select)
            s->SelectObject(row[size_t(i)]);
        (s.Surface.get()->*c.Command)();
        const std::vector<int> before{0, 1, 2, 3};
        EXPECT_EQ(OrderOf(*s, row), c.After) << c.Name;
        s->Undo();
        EXPECT_EQ(OrderOf(*s, row), before) << c.Name << " undo";
        s->Redo();
        EXPECT_EQ(OrderOf(*s, row), c.After) << c.Name << " redo";
        s->Undo();
        EXPECT_EQ(OrderOf(*s, row), before) << c.Name << " undo again";
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(s->Objects()[size_t(i)]->ListNum, i);
        s->History().Clear();
        for (auto& o : s->Objects())
            EXPECT_EQ(o->Tag, 0);
    }
}

TEST(UndoStepTest, ReorderingThatChangesNothingRecordsNothingAndLeavesTheHistoryAlone) {
    for (void (TPriPaint::*command)() : {&TPriPaint::BringForward, &TPriPaint::BringToFront}) {
        TEditSurface s;
        auto row = s.AddRow(3);
        s->SelectObject(row[0]);
        ASSERT_TRUE(s->DeleteSelection());
        s->SelectObject(row[2]);
        (s.Surface.get()->*command)();
        EXPECT_EQ(s->History().UndoCount(), 1);
        EXPECT_EQ(s->History().UndoKind(), ukDelete);
        s->Undo(); // the deletion is still the one to take back
        EXPECT_EQ(OrderOf(*s, row), (std::vector<int>{0, 1, 2}));
    }
}

TEST(UndoStepTest, CopyModesFollowTheKind) {
    for (TUndoKind kind : {ukMove, ukResize, ukProperty}) {
        TEditSurface s;
        TPriShape* shape = s.AddRect(QRect(100, 100, 300, 200), RGBColor(0, 0, 255));
        {
            TEditStep step(*s, kind);
            step.Record(shape);
            shape->SetStoreRect(QRect(150, 100, 300, 200));
            shape->Pen.Color = RGBColor(255, 0, 0);
        }
        s->Undo();
        EXPECT_EQ(shape->StoreRect(), QRect(100, 100, 300, 200)) << int(kind);
        EXPECT_EQ(shape->Pen.Color == RGBColor(0, 0, 255), !TUndoStep::LayoutOnly(kind)) << int(kind);
    }
}

TEST(UndoStepTest, UndoAfterAZoomChangeLaysOutFromTheStoredPlace) {
    // Moved or resized at 100 %, taken back (and brought again) at 200 %: the copies hold the old
    // zoom's pixels, yet the next nudge must start from the stored place.
    for (const bool resize : {false, true})
        for (const int undos : {1, 2}) {
            TEditSurface s;
            TPriShape* shape = s.AddRect(QRect(500, 500, 300, 200));
            s->SelectObject(shape);
            ASSERT_TRUE(s->HandleKey(Qt::Key_Right, resize, false));
            const QRect expected = undos == 1 ? QRect(500, 500, 300, 200) : shape->StoreRect();
            s->BltSizeCheck = bs200;
            s->SetPageLayout({0, 0}, {800, 600});
            s->Undo();
            if (undos == 2) s->Redo();
            EXPECT_EQ(shape->StoreRect(), expected) << resize << undos;
            ASSERT_TRUE(s->HandleKey(Qt::Key_Right, false, false)); // a pixel is 1.3 tenths of a mm
            EXPECT_NEAR(shape->StoreRect().x(), expected.x() + 1, 1) << resize << undos;
        }
}

TEST(UndoStepTest, KeysNudgeAndResizeEachAsOneStep) {
    TEditSurface s;
    TPriShape* thin = s.AddRect(QRect(500, 500, 3, 300)); // one pixel wide
    ASSERT_EQ(thin->Width, 1);
    s->SelectObject(thin);
    EXPECT_TRUE(s->HandleKey(Qt::Key_Left, true, false));
    EXPECT_EQ(thin->Width, 1);
    EXPECT_EQ(s->History().UndoKind(), ukResize);

    const int left = thin->Left;
    EXPECT_TRUE(s->HandleKey(Qt::Key_Right, false, false));
    EXPECT_EQ(thin->Left, left + 1);
    EXPECT_EQ(s->History().UndoKind(), ukMove);
    s->Undo();
    EXPECT_EQ(thin->Left, left);
    EXPECT_FALSE(s->HandleKey(Qt::Key_F1, false, false));
}

TEST(UndoStepTest, LockPrintFlagAndFontsAreUndoableProperties) {
    TEditSurface s;
    TPriLabel* text = s.AddText(QRect(100, 100, 600, 200));
    s->SelectObject(text);

    s->SetFontStyle(3);
    EXPECT_TRUE(text->Font.bold() && text->Font.italic());
    s->SetFontSize(24);
    EXPECT_EQ(text->SameFSize, 24);
    s->Undo();
    EXPECT_EQ(text->SameFSize, 10);
    EXPECT_TRUE(text->Font.bold());

    s->TogglePrint();
    EXPECT_FALSE(text->PrintCheck);
    s->SetLock(true);
    EXPECT_TRUE(text->LockCheck);
    EXPECT_FALSE(s->DeleteSelection()); // locked objects stay
    EXPECT_FALSE(text->UndoCheck);
    s->SetFontSize(40); // and keep their font
    EXPECT_EQ(text->SameFSize, 10);
    s->SetLock(false);
    EXPECT_FALSE(text->LockCheck);
}

TEST(UndoStepTest, ClearingAndSavingEndTheStep) {
    TEditSurface s;
    auto row = s.AddRow(2);
    s->SelectObject(row[0]);
    s->DeleteSelection();
    QTemporaryDir dir;
    ASSERT_TRUE(s->SaveToFile(dir.filePath("a.tda"), 0));
    EXPECT_FALSE(s->CanUndo());
    EXPECT_EQ(s->Objects().size(), 1u);

    s->SelectObject(s->Objects()[0].get());
    s->NudgeSelection(2, 2);
    ASSERT_TRUE(s->CanUndo());
    s->ClearDocument();
    EXPECT_FALSE(s->CanRedo());
    EXPECT_EQ(s->History().UndoKind(), ukNone);
    s->Undo(); // nothing left to take back, nothing to crash on
}

TEST(UndoStepTest, FocusCyclingWrapsAndClearsTheOldFrame) {
    TEditSurface s;
    auto row = s.AddRow(3);
    EXPECT_TRUE(s->HandleKey(Qt::Key_Tab, false, false));
    EXPECT_EQ(s->SelectList(), QList<TPriBase*>{row[0]}); // nothing selected: the bottom-most
    s->FocusNext();
    EXPECT_FALSE(row[0]->ForcusCheck());
    s->FocusNext();
    s->FocusNext(); // from the top-most back to the bottom-most
    EXPECT_EQ(s->SelectList(), QList<TPriBase*>{row[0]});
    s->FocusPrev();
    EXPECT_EQ(s->SelectList(), QList<TPriBase*>{row[2]});
    EXPECT_FALSE(row[0]->ForcusCheck());
    EXPECT_EQ(s->SelectCheck, mnSearchOn);
}

TEST(UndoStepTest, AlignmentThroughTheDialog) {
    TEditSurface s;
    auto row = s.AddRow(2);
    s->SelectObject(row[0]);
    s->SelectObject(row[1]);
    EXPECT_FALSE(s->AlignObjects()); // no pack: nothing recorded
    EXPECT_FALSE(s->CanUndo());
    s.Dialogs.HasPosition = true;
    const int left = row[0]->Left;
    ASSERT_TRUE(s->AlignObjects());
    EXPECT_EQ(row[0]->Left, left + 10);
    EXPECT_GT(row[0]->StoreRect().x(), 120); // stored again
    s->Undo();
    EXPECT_EQ(row[0]->Left, left);
}

TEST(UndoStepTest, TabAndDeleteStayTheEditorsWithNothingToActOnShiftTabGoesBack) {
    // The window passes the keys of every control to the editor; Tab and Delete are always its own,
    // even on an empty page, while Shift+Tab goes on to move the widget focus back.
    TEditSurface s;
    EXPECT_TRUE(s->HandleKey(Qt::Key_Tab, false, false));
    EXPECT_TRUE(s->HandleKey(Qt::Key_Delete, false, false));
    EXPECT_FALSE(s->HandleKey(Qt::Key_Backtab, true, false));
    EXPECT_FALSE(s->HasSelection());

    auto row = s.AddRow(2);
    EXPECT_TRUE(s->HandleKey(Qt::Key_Delete, false, false)); // nothing selected: nothing goes
    EXPECT_EQ(s->Objects().size(), 2u);
    EXPECT_FALSE(row[0]->UndoCheck || row[1]->UndoCheck);
    EXPECT_FALSE(s->HandleKey(Qt::Key_Backtab, true, false));
    EXPECT_FALSE(s->HasSelection());
    EXPECT_TRUE(s->HandleKey(Qt::Key_Tab, false, false));
    EXPECT_EQ(s->SelectList(), QList<TPriBase*>{row[0]});
    EXPECT_TRUE(s->HandleKey(Qt::Key_Delete, false, false));
    EXPECT_TRUE(row[0]->UndoCheck);
}
