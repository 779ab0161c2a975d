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
    image->SetPicture(QImage(16, 16, QImage::Format_RGB32));
    image->SetStoreRect(QRect(0, 0, 100, 100));
    QByteArray block = TClipboardBlock::Write({image.get()});
    EXPECT_TRUE(ClaimInPlace(block, side, side));
    return block;
}

// A background that leaves `left` pixels of the document's budget (1 bit a pixel: 50 MB).
void FillBudget(TPriPaint& doc, qint64 left) {
    const qint64 used = TDocumentLimits::kMaxDocumentPixels - left;
    doc.BackObject.FMainBack = QImage(20000, int(used / 20000), QImage::Format_Mono);
}

// Whatever the program adds must open again: every way a picture enters keeps within what is
// left of the document's picture budget, scaled down with a word or refused with one.
TEST(PictureBudgetTest, PicturesEnteringADocumentKeepWithinItsBudget) {
    std::vector<std::unique_ptr<TPriBase>> read;
    EXPECT_EQ(TClipboardBlock::Read(BlockClaiming(4096), read, 100000), TClipboardBlock::TResult::OverBudget);
    EXPECT_EQ(TClipboardBlock::Read(BlockClaiming(4096), read, 20 << 20), TClipboardBlock::TResult::Ok);

    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("big.png"));
    ASSERT_TRUE(QImage(2000, 2000, QImage::Format_RGB32).save(png));
    const qint64 left = 1000000;
    struct TCase {
        const char* how;
        std::function<bool(TPriPaint&)> add;
        bool added;
    } cases[] = {
        {"insert picture", [&](TPriPaint& d) { return d.AddImageFromFile(png); }, true},
        {"paste picture", [](TPriPaint& d) { return d.PasteImage(QImage(2000, 2000, QImage::Format_RGB32), {}); }, true},
        {"paste block", [](TPriPaint& d) { return d.PasteBlock(BlockClaiming(8192), {}); }, false},
    };
    for (const TCase& c : cases) {
        TEditSurface doc;
        FillBudget(*doc, left);
        const qint64 before = doc->PicturePixelsLeft();
        const bool added = c.add(*doc);
        EXPECT_EQ(added, c.added) << c.how;
        EXPECT_EQ(doc.Host.Messages.size(), 1) << c.how;
        EXPECT_GE(doc->PicturePixelsLeft(), 0) << c.how;
        if (added)
            EXPECT_LT(doc->PicturePixelsLeft(), before) << c.how;
        else
            EXPECT_EQ(doc->PicturePixelsLeft(), before) << c.how;
    }
}

} // namespace
