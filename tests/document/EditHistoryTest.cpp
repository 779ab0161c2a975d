#include "document/EditHistory.h"

#include "document/ClipboardBlock.h"
#include "document/MouseTracker.h"
#include "document/TemplateFile.h"
#include "objects/PriImage.h"
#include "support/EditSurface.h"

#include <QPainter>
#include <functional>
#include <gtest/gtest.h>

namespace {

QByteArray FileOf(TPriPaint& doc) {
    QByteArray bytes;
    EXPECT_EQ(TTemplateFile::Build(doc.Document(), 0, bytes), TTemplateFile::TResult::Ok);
    return bytes;
}

TPriImage* AddPicture(TEditSurface& s, QRect stored, QColor colour = Qt::green) {
    auto image = std::make_unique<TPriImage>();
    // Not symmetric, so that every mirroring shows.
    QImage picture(60, 40, QImage::Format_RGB32);
    picture.fill(colour);
    QPainter(&picture).fillRect(5, 3, 20, 8, Qt::black);
    image->ImageType = 3;
    image->SetPicture(picture);
    return s.Add(std::move(image), stored);
}

std::vector<TPriBase*> Visible(TPriPaint& doc) {
    std::vector<TPriBase*> shown;
    for (auto& obj : doc.Objects())
        if (!obj->UndoCheck) shown.push_back(obj.get());
    return shown;
}

} // namespace

TEST(EditHistoryTest, HundredMixedStepsBackAndForthRestoreTheFileByteForByte) {
    TEditSurface s;
    s.AddRow(3);
    s.AddText(QRect(100, 600, 600, 200));
    TPriImage* picture = AddPicture(s, QRect(800, 600, 400, 300));
    // Each command works on one of the shown objects, chosen by the step's number.
    const auto pick = [&](int i, bool spareThePicture = false) {
        std::vector<TPriBase*> shown = Visible(*s);
        if (spareThePicture) std::erase(shown, static_cast<TPriBase*>(picture));
        s->DeselectAll();
        s->SelectCheck = mnNone;
        s->Mouse().Reset(); // the print flag follows the object clicked last
        return shown[size_t(i * 7) % shown.size()];
    };
    const std::function<void(int)> commands[] = {
        [&](int i) {
            s.Drag(pick(i)->BoundsRect().ToQRect().center(), pick(i)->BoundsRect().ToQRect().center() + QPoint(7, 3));
        },
        [&](int i) {
            s->SelectObject(pick(i));
            s->TogglePrint();
        },
        [&](int i) {
            s->SelectObject(pick(i, true));
            ASSERT_TRUE(s->DeleteSelection());
        },
        [&](int i) { ASSERT_TRUE(s->PasteBlock(TClipboardBlock::Write({pick(i)}), QPoint(20 + i, 30))); },
        [&](int i) {
            // The bottom-most to the top or the top-most to the bottom: always a change.
            pick(i);
            s->SelectObject(i % 2 ? Visible(*s).back() : Visible(*s).front());
            i % 2 ? s->SendToBack() : s->BringToFront();
        },
        [&](int i) { ASSERT_TRUE(s->ReplacePicture(picture, picture->BltBmp.mirrored(i % 4 == 1, i % 4 == 3))); },
    };
    std::vector<QByteArray> files{FileOf(*s)};
    for (int i = 0; i < TEditHistory::kMaxSteps; ++i) {
        commands[i % std::size(commands)](i);
        ASSERT_EQ(s->History().UndoCount(), i + 1) << "command " << i % std::size(commands);
        files.push_back(FileOf(*s));
        ASSERT_NE(files.back(), files[files.size() - 2]) << "command " << i % std::size(commands);
    }
    for (int i = TEditHistory::kMaxSteps - 1; i >= 0; --i) {
        ASSERT_TRUE(s->History().Undo());
        ASSERT_EQ(FileOf(*s), files[size_t(i)]) << "undo to " << i;
    }
    EXPECT_FALSE(s->CanUndo());
    for (int i = 1; i <= TEditHistory::kMaxSteps; ++i) {
        ASSERT_TRUE(s->History().Redo());
        ASSERT_EQ(FileOf(*s), files[size_t(i)]) << "redo to " << i;
    }
    s->History().Undo();
    s->History().Undo();
    s->SelectObject(Visible(*s)[0]);
    s->TogglePrint(); // a new edit drops the steps taken back
    EXPECT_EQ(s->History().UndoCount(), TEditHistory::kMaxSteps - 1);
    EXPECT_FALSE(s->CanRedo());
}

TEST(EditHistoryTest, OverTheCountOrTheBudgetTheOldestStepsGoNeverTheNewest) {
    // A picture deleted, a shape brought over its place in the order, then changes of another
    // picture: each of these steps keeps picture bytes but the reorder. A run gives the steps kept and their bytes.
    const auto run = [](qint64 budget, int changes) -> std::pair<int, qint64> {
        TEditSurface s;
        s->History().SetByteBudget(budget);
        auto row = s.AddRow(2);
        TPriBase* gone = AddPicture(s, QRect(800, 600, 400, 300), Qt::blue);
        TPriImage* kept = AddPicture(s, QRect(100, 600, 400, 300));
        std::vector<QImage> pictures{kept->BltBmp};
        s->SelectObject(gone);
        EXPECT_TRUE(s->DeleteSelection());
        s->SelectObject(row[0]);
        s->BringToFront();
        pictures.resize(3, kept->BltBmp);
        for (int i = 0; i < changes; ++i) {
            EXPECT_TRUE(s->ReplacePicture(kept, kept->BltBmp.mirrored(i % 2 == 0, i % 2 == 1)));
            pictures.push_back(kept->BltBmp);
        }
        const int total = changes + 2, k = s->History().UndoCount();
        const qint64 bytes = s->History().Bytes();
        EXPECT_TRUE(k == 1 || bytes <= budget) << k << " steps, " << bytes << " bytes";
        // Only the newest steps are left: taking them all back reaches the state after the others.
        while (s->CanUndo())
            s->Undo();
        const int dropped = total - k;
        EXPECT_EQ(kept->BltBmp, pictures[size_t(dropped)]) << dropped;
        const std::vector<int> order = dropped == 0   ? std::vector<int>{0, 1, 2, 3}
                                       : dropped == 1 ? std::vector<int>{0, 1, 3}
                                                      : std::vector<int>{1, 3, 0};
        EXPECT_EQ(OrderOf(*s, {row[0], row[1], gone, kept}), order) << dropped;
        for (int i = 0; i < int(s->Objects().size()); ++i)
            EXPECT_EQ(s->Objects()[size_t(i)]->ListNum, i);
        return {k, bytes};
    };
    const auto [all, bytes] = run(TEditHistory::kDefaultByteBudget, 6);
    EXPECT_EQ(all, 8);
    const int some = run(bytes / 2, 6).first;
    EXPECT_TRUE(some > 1 && some < 7) << some;
    EXPECT_EQ(run(0, 6).first, 1);
    EXPECT_EQ(run(TEditHistory::kDefaultByteBudget, TEditHistory::kMaxSteps + 3).first, TEditHistory::kMaxSteps);
}

TEST(EditHistoryTest, NudgesOfTheSameObjectsWithinASecondAreOneStep) {
    // Each press: when (ms), which of two shapes is selected, and whether Shift resizes instead.
    struct TPress {
        int At;
        int Object;
        bool Shift;
    };
    const struct {
        const char* Name;
        std::vector<TPress> Presses;
        int Steps;
    } cases[] = {
        {"held down", {{0, 0, false}, {400, 0, false}, {1300, 0, false}, {2200, 0, false}}, 1},
        {"a pause", {{0, 0, false}, {1000, 0, false}}, 2},
        {"another object", {{0, 0, false}, {100, 1, false}}, 2},
        {"a resize after a move", {{0, 0, false}, {100, 0, true}, {200, 0, true}}, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TEditSurface s;
        auto row = s.AddRow(2);
        const QByteArray before = FileOf(*s);
        qint64 now = 0;
        s->History().SetClock([&] { return now; });
        for (const TPress& p : c.Presses) {
            now = p.At;
            s->DeselectAll();
            s->SelectObject(row[size_t(p.Object)]);
            ASSERT_TRUE(s->HandleKey(Qt::Key_Right, p.Shift, false));
        }
        EXPECT_EQ(s->History().UndoCount(), c.Steps);
        while (s->CanUndo())
            s->Undo();
        EXPECT_EQ(FileOf(*s), before);
    }
}
