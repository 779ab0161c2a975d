#include "imaging/ImageCodec.h"
#include "objects/PriBackImage.h"
#include "objects/PriImage.h"
#include "platform/StreamReader.h"
#include "platform/StreamWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

const QString kSozai = QStringLiteral(KOMOREBI_SOURCE_DIR "/data/sozai");

QFileInfoList Pictures(const QString& folder) {
    return QDir(folder).entryInfoList({"*.jpg", "*.png"}, QDir::Files, QDir::Name);
}

enum class TKind { Background, Frame, Decoration };

// The file name says what a picture is for: 背景_MM月_…​.jpg, 枠_….png, 飾り_….png.
std::optional<TKind> KindOf(const QString& name) {
    static const QRegularExpression background(QStringLiteral(R"(^背景_(0[1-9]|1[0-2])月_\S+\.jpg$)"));
    static const QRegularExpression frame(QStringLiteral(R"(^枠_\S+\.png$)"));
    static const QRegularExpression decoration(QStringLiteral(R"(^飾り_\S+\.png$)"));
    if (background.match(name).hasMatch()) return TKind::Background;
    if (frame.match(name).hasMatch()) return TKind::Frame;
    if (decoration.match(name).hasMatch()) return TKind::Decoration;
    return std::nullopt;
}

int Alpha(const QImage& img, int x, int y) {
    return qAlpha(img.pixel(x, y));
}

// Share of pixels in the rectangle whose alpha lies in [lo, hi].
double AlphaShare(const QImage& img, QRect r, int lo, int hi) {
    qint64 hit = 0, all = 0;
    for (int y = r.top(); y <= r.bottom(); y += 2)
        for (int x = r.left(); x <= r.right(); x += 2) {
            const int a = Alpha(img, x, y);
            hit += a >= lo && a <= hi;
            ++all;
        }
    return all ? double(hit) / double(all) : 0;
}

} // namespace

TEST(ShippedSozaiTest, FolderHoldsAMonthOfBackgroundsFramesAndDecorations) {
    const QFileInfoList files = Pictures(kSozai);
    ASSERT_GE(files.size(), 24);
    QSet<QString> months;
    int frames = 0, decorations = 0;
    qint64 bytes = 0;
    for (const QFileInfo& f : files) {
        const auto kind = KindOf(f.fileName());
        ASSERT_TRUE(kind.has_value()) << qPrintable(f.fileName());
        bytes += f.size();
        if (*kind == TKind::Background) {
            const QString month = f.fileName().mid(3, 2);
            EXPECT_FALSE(months.contains(month)) << "two backgrounds for month " << qPrintable(month);
            months.insert(month);
        }
        frames += *kind == TKind::Frame;
        decorations += *kind == TKind::Decoration;
    }
    EXPECT_EQ(months.size(), 12);
    EXPECT_GE(frames, 5);
    EXPECT_GE(decorations, 8);
    // Nothing in the folder but pictures, and the whole set stays a small download.
    EXPECT_EQ(QDir(kSozai).entryList(QDir::Files | QDir::Hidden).size(), files.size());
    EXPECT_LT(bytes, 4 * 1024 * 1024);
    // The build lays the same pictures out in the program folder, where the picture dialogs start.
    QStringList shipped, laidOut;
    for (const QFileInfo& f : files)
        shipped << f.fileName();
    for (const QFileInfo& f : Pictures(QStringLiteral(KOMOREBI_APP_DIR "/sozai")))
        laidOut << f.fileName();
    EXPECT_EQ(laidOut, shipped);
}

TEST(ShippedSozaiTest, EveryPictureDecodesWithOurCodecsAndHasTheShapeOfItsKind) {
    for (const QFileInfo& f : Pictures(kSozai)) {
        SCOPED_TRACE(qPrintable(f.fileName()));
        const auto kind = KindOf(f.fileName());
        ASSERT_TRUE(kind.has_value());
        QFile file(f.filePath());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        // The name's extension and the bytes agree, or the picture dialogs would refuse the file.
        ASSERT_EQ(TImageCodec::FormatFromExtension(f.fileName()), TImageCodec::FormatFromSignature(bytes));
        const QImage img = TImageCodec::Decode(bytes, *TImageCodec::FormatFromExtension(f.fileName()));
        ASSERT_FALSE(TImageCodec::IsEmpty(img));
        const QRect all = img.rect();
        switch (*kind) {
        case TKind::Background: {
            EXPECT_FALSE(img.hasAlphaChannel());
            const int longSide = std::max(img.width(), img.height()), shortSide = std::min(img.width(), img.height());
            EXPECT_GE(longSide, 1200);
            EXPECT_LE(longSide, 1800);
            // Between A4 (1.414) and a postcard (1.48), so either crops only a little.
            const double aspect = double(longSide) / shortSide;
            EXPECT_GT(aspect, 1.38);
            EXPECT_LT(aspect, 1.5);
            break;
        }
        case TKind::Frame: {
            ASSERT_TRUE(img.hasAlphaChannel());
            // The middle half is clear for whatever the frame surrounds; the edges carry the frame.
            const QRect middle(all.width() / 4, all.height() / 4, all.width() / 2, all.height() / 2);
            EXPECT_EQ(AlphaShare(img, middle, 0, 0), 1.0);
            const int band = all.width() / 8;
            for (const QRect& edge :
                 {QRect(0, 0, all.width(), band), QRect(0, all.height() - band, all.width(), band),
                  QRect(0, 0, band, all.height()), QRect(all.width() - band, 0, band, all.height())})
                EXPECT_GT(AlphaShare(img, edge, 250, 255), 0.05);
            break;
        }
        case TKind::Decoration: {
            ASSERT_TRUE(img.hasAlphaChannel());
            for (QPoint corner : {all.topLeft(), all.bottomRight()})
                EXPECT_EQ(Alpha(img, corner.x(), corner.y()), 0);
            const double opaque = AlphaShare(img, all, 250, 255), clear = AlphaShare(img, all, 0, 0);
            // Line ornaments cover little of their square, but never nothing.
            EXPECT_GT(opaque, 0.03);
            EXPECT_GT(clear, 0.2);
            break;
        }
        }
    }
}

// The pictures as a user takes them: frames and decorations placed as image objects keep their
// transparency through a template record, and every background loads and stores as a background.
TEST(ShippedSozaiTest, PicturesSurvivePlacingAndSavingInATemplate) {
    for (const QFileInfo& f : Pictures(kSozai)) {
        SCOPED_TRACE(qPrintable(f.fileName()));
        if (KindOf(f.fileName()) == TKind::Background) {
            TPriBackImage back;
            ASSERT_TRUE(back.LoadBackFile(f.filePath()));
            TStreamWriter out;
            ASSERT_TRUE(back.WriteBack(out, TPriBackImage::kMainBack));
            TPriBackImage again;
            TStreamReader in(out.Bytes());
            ASSERT_TRUE(again.ReadBack(in, TPriBackImage::kMainBack, 6));
            EXPECT_EQ(again.FMainBack.size(), back.FMainBack.size());
            continue;
        }
        TPriImage image;
        ASSERT_TRUE(image.LoadImageFile(f.filePath()));
        EXPECT_EQ(image.ImageType, uint8_t(TImageFormat::Png));
        TStreamWriter out;
        ASSERT_TRUE(image.SaveToStream(out, 6));
        TPriImage again;
        TStreamReader in(out.Bytes());
        ASSERT_TRUE(again.LoadFromStream(in, 6));
        ASSERT_TRUE(again.BaseBmp.hasAlphaChannel());
        ASSERT_EQ(again.BaseBmp.size(), image.BaseBmp.size());
        const QPoint corner(0, 0), middle(again.BaseBmp.width() / 2, again.BaseBmp.height() / 2);
        EXPECT_EQ(Alpha(again.BaseBmp, corner.x(), corner.y()), Alpha(image.BaseBmp, corner.x(), corner.y()));
        EXPECT_EQ(Alpha(again.BaseBmp, middle.x(), middle.y()), Alpha(image.BaseBmp, middle.x(), middle.y()));
    }
}
