#include "document/ClipboardBlock.h"
#include "document/EditHistory.h"
#include "objects/PriImage.h"
#include "objects/PriLabel.h"
#include "platform/StreamReader.h"
#include "support/EditSurface.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <cstring>
#include <gtest/gtest.h>

namespace {

QByteArray TwoShapesBlock(TEditSurface& s) {
    TPriShape* a = s.AddRect(QRect(100, 100, 300, 200));
    TPriShape* b = s.AddRect(QRect(300, 150, 100, 100));
    return TClipboardBlock::Write({a, b});
}

} // namespace

TEST(ClipboardBlockTest, PositionsAreWrittenFromTheFirstObjectAndPastedAtTheClick) {
    TEditSurface s;
    const QByteArray block = TwoShapesBlock(s);
    // The live objects keep their own positions.
    EXPECT_EQ(s->Objects()[0]->StoreRect(), QRect(100, 100, 300, 200));

    std::vector<std::unique_ptr<TPriBase>> read;
    ASSERT_EQ(TClipboardBlock::Read(block, read), TClipboardBlock::TResult::Ok);
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0]->StoreRect(), QRect(0, 0, 300, 200));
    EXPECT_EQ(read[1]->StoreRect(), QRect(200, 50, 100, 100));

    // Through the real clipboard, pasted after a click at the page origin.
    s->SelectObject(s->Objects()[0].get());
    s->SelectObject(s->Objects()[1].get());
    ASSERT_TRUE(s->CopySelection());
    EXPECT_TRUE(s->CanPaste());
    s.Click(QPoint(0, 0));
    ASSERT_TRUE(s->PasteClipboard());
    ASSERT_EQ(s->Objects().size(), 4u);
    EXPECT_EQ(s->Objects()[2]->GetStorePos(), QPoint(0, 0));
    EXPECT_EQ(s->Objects()[3]->GetStorePos(), QPoint(200, 50));
    EXPECT_EQ(s->SelectList().size(), 2);
    EXPECT_EQ(s->History().UndoKind(), ukPaste);
    s->Undo();
    EXPECT_FALSE(s->HasSelection());
    EXPECT_TRUE(s->Objects()[3]->UndoCheck);
}

TEST(ClipboardBlockTest, DamagedBlocksPasteNothing) {
    TEditSurface s;
    const QByteArray good = TwoShapesBlock(s);
    auto withInt = [&](int at, int32_t value) {
        QByteArray b = good;
        memcpy(b.data() + at, &value, 4);
        return b;
    };
    std::vector<std::pair<const char*, QByteArray>> cases = {
        {"not ours", withInt(0, 1234)},
        {"count beyond the bytes", withInt(4, 1000)},
        {"negative count", withInt(4, -1)},
        {"unknown kind", withInt(8, 77)},
        {"no trailer", good.left(good.size() - 4)},
        {"wrong trailer", withInt(int(good.size()) - 4, 65533)},
    };
    for (qsizetype n = 0; n < good.size(); n += 3)
        cases.push_back({"truncated", good.left(n)});
    for (const auto& [name, bytes] : cases) {
        std::vector<std::unique_ptr<TPriBase>> read;
        EXPECT_NE(TClipboardBlock::Read(bytes, read), TClipboardBlock::TResult::Ok) << name;
        EXPECT_TRUE(read.empty()) << name;
        const size_t before = s->Objects().size();
        EXPECT_FALSE(s->PasteBlock(bytes, QPoint(5, 5))) << name;
        EXPECT_EQ(s->Objects().size(), before) << name;
        EXPECT_FALSE(s->CanUndo()) << name;
    }
    EXPECT_EQ(s.Host.Messages.size(), qsizetype(cases.size())); // each said "失敗"
    EXPECT_EQ(s.Host.Messages.front(), QStringLiteral("失敗"));
}

TEST(ClipboardBlockTest, PicturesTravelAsShown) {
    TEditSurface s;
    auto image = std::make_unique<TPriImage>();
    QImage red(8, 8, QImage::Format_RGB32), blue(8, 8, QImage::Format_RGB32);
    red.fill(Qt::red);
    blue.fill(Qt::blue);
    image->SetPicture(red);
    image->BltBmp = blue; // as the colour dialog leaves it
    image->ImageType = 3;
    image->SetStoreRect(QRect(50, 50, 200, 200));
    TPriBase* placed = s->AppendObject(std::move(image));
    const QByteArray block = TClipboardBlock::Write({placed});
    EXPECT_EQ(static_cast<TPriImage*>(placed)->BaseBmp.pixelColor(0, 0), QColor(Qt::red)); // untouched

    std::vector<std::unique_ptr<TPriBase>> read;
    ASSERT_EQ(TClipboardBlock::Read(block, read), TClipboardBlock::TResult::Ok);
    EXPECT_EQ(static_cast<TPriImage&>(*read[0]).BaseBmp.pixelColor(0, 0), QColor(Qt::blue));
}

TEST(ClipboardBlockTest, OtherProgramsTextAndPictureGiveOneObjectEach) {
    struct TCase {
        const char* Name;
        bool Text, Image;
        int Objects;
    } cases[] = {{"text", true, false, 1}, {"picture", false, true, 1}, {"both", true, true, 2}};
    for (const TCase& c : cases) {
        TEditSurface s;
        auto* data = new QMimeData;
        if (c.Text) {
            data->setText(QStringLiteral("謹賀新年"));
            data->setData("text/plain;charset=utf-8", QStringLiteral("謹賀新年").toUtf8());
        }
        if (c.Image) {
            QImage picture(20, 10, QImage::Format_ARGB32);
            picture.fill(Qt::green);
            data->setImageData(picture);
            data->setData("image/png", QByteArray("ignored"));
        }
        QGuiApplication::clipboard()->setMimeData(data);
        EXPECT_TRUE(s->CanPaste()) << c.Name;
        ASSERT_TRUE(s->PasteClipboard()) << c.Name;
        EXPECT_EQ(int(s->Objects().size()), c.Objects) << c.Name;
        for (auto& obj : s->Objects()) {
            if (obj->ObjectNum == okLabel)
                EXPECT_EQ(static_cast<TPriLabel&>(*obj).DataString(), QStringLiteral("謹賀新年"));
            if (obj->ObjectNum == okImage) EXPECT_EQ(static_cast<TPriImage&>(*obj).BltBmp.size(), QSize(20, 10));
        }
    }
    auto* other = new QMimeData;
    other->setData("application/x-unknown", "x");
    QGuiApplication::clipboard()->setMimeData(other);
    TEditSurface s;
    EXPECT_FALSE(s->CanPaste());
}

TEST(ClipboardBlockTest, CutTakesOnlyTheUnlocked) {
    TEditSurface s;
    TPriShape* locked = s.AddRect(QRect(100, 100, 200, 200));
    TPriShape* free = s.AddRect(QRect(400, 100, 200, 200));
    locked->LockCheck = true;
    s->SelectObject(locked);
    s->SelectObject(free);
    ASSERT_TRUE(s->CutSelection());
    EXPECT_FALSE(locked->UndoCheck);
    EXPECT_TRUE(free->UndoCheck);
    std::vector<std::unique_ptr<TPriBase>> read;
    ASSERT_EQ(TClipboardBlock::Read(QGuiApplication::clipboard()->mimeData()->data(TPriPaint::ClipboardFormat()), read),
              TClipboardBlock::TResult::Ok);
    EXPECT_EQ(read.size(), 2u);
    EXPECT_TRUE(read[0]->LockCheck);
}
