#include "document/ClipboardBlock.h"
#include "imaging/ImageCodec.h"
#include "objects/PriImage.h"
#include "platform/DocumentLimits.h"
#include "support/ClaimingJpeg.h"
#include "support/EditSurface.h"

#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace {

// A clipboard block with one JPEG picture whose header claims side x side pixels.
QByteArray BlockClaiming(int side) {
    auto image = std::make_unique<TPriImage>();
    image->ImageType = 1;
    QImage scan(16, 16, QImage::Format_RGB32);
    scan.fill(Qt::gray);
    image->SetPicture(scan);
    image->SetStoreRect(QRect(0, 0, 100, 100));
    QByteArray block = TClipboardBlock::Write({image.get()});
    EXPECT_TRUE(ClaimInPlace(block, side, side));
    return block;
}

// A document with `left` pixels of its picture budget left: a budget of that size.
void FillBudget(TPriPaint& doc, qint64 left) {
    doc.SetPictureBudget(left);
}

// Whatever the program adds must open again: every way a picture enters keeps within what is
// left of the document's picture budget, scaled down (saying so where the user chose the picture)
// or refused with a message.
TEST(PictureBudgetTest, PicturesEnteringADocumentKeepWithinItsBudget) {
    std::vector<std::unique_ptr<TPriBase>> read;
    EXPECT_EQ(TClipboardBlock::Read(BlockClaiming(4096), read, 0), TClipboardBlock::TResult::OverBudget);
    ASSERT_EQ(TClipboardBlock::Read(BlockClaiming(4096), read, 100000), TClipboardBlock::TResult::Ok);
    const QImage& decoded = static_cast<const TPriImage&>(*read.at(0)).BaseBmp;
    EXPECT_LE(qint64(decoded.width()) * decoded.height(), 100000);

    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("big.png"));
    ASSERT_TRUE(QImage(2000, 2000, QImage::Format_RGB32).save(png));
    const qint64 some = 1000000, full = 0;
    {
        // Backgrounds and pictures already in the document count against it.
        TEditSurface doc;
        FillBudget(*doc, some);
        doc->BackObject.FMainBack = QImage(100, 50, QImage::Format_RGB32);
        EXPECT_EQ(doc->PicturePixelsLeft(), some - 5000);
    }
    struct TCase {
        const char* how;
        qint64 left;
        std::function<bool(TPriPaint&)> add;
        bool added;
        int messages;
    } cases[] = {
        {"insert picture", some, [&](TPriPaint& d) { return d.AddImageFromFile(png); }, true, 1},
        {"paste picture", some, [](TPriPaint& d) { return d.PasteImage(QImage(2000, 2000, QImage::Format_RGB32), {}); },
         true, 1},
        {"paste block", some, [](TPriPaint& d) { return d.PasteBlock(BlockClaiming(8192), {}); }, true, 0},
        {"background", some, [&](TPriPaint& d) { return d.SetBackgroundFromFile(png); }, true, 1},
        {"background into a full document", full, [&](TPriPaint& d) { return d.SetBackgroundFromFile(png); }, false, 1},
        {"insert picture into a full document", full, [&](TPriPaint& d) { return d.AddImageFromFile(png); }, false, 1},
        {"paste picture into a full document", full,
         [](TPriPaint& d) { return d.PasteImage(QImage(20, 20, QImage::Format_RGB32), {}); }, false, 1},
        {"paste block into a full document", full, [](TPriPaint& d) { return d.PasteBlock(BlockClaiming(8192), {}); },
         false, 1},
    };
    for (const TCase& c : cases) {
        TEditSurface doc;
        FillBudget(*doc, c.left);
        const qint64 before = doc->PicturePixelsLeft();
        EXPECT_EQ(before, c.left) << c.how;
        EXPECT_EQ(c.add(*doc), c.added) << c.how;
        EXPECT_EQ(doc.Host.Messages.size(), c.messages) << c.how;
        EXPECT_GE(doc->PicturePixelsLeft(), 0) << c.how;
        if (c.added)
            EXPECT_LT(doc->PicturePixelsLeft(), before) << c.how;
        else
            EXPECT_EQ(doc->PicturePixelsLeft(), before) << c.how;
    }
}

} // namespace
