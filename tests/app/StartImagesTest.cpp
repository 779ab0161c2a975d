#include "app/StartImages.h"
#include "app/StartPanel.h"
#include "imaging/JpegCodec.h"
#include "support/ClaimingJpeg.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray Jpeg(int width, int height, QColor color) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return TJpegCodec::Encode(image);
}

std::vector<QByteArray> ThreeJpegs() {
    return {Jpeg(18, 18, Qt::red), Jpeg(151, 26, Qt::green), Jpeg(40, 60, Qt::blue)};
}

QString WriteFile(const QTemporaryDir& dir, const QByteArray& bytes) {
    const QString path = dir.filePath(QStringLiteral("stImage.ims"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

} // namespace

TEST(StartImagesTest, MissingFileOrFolderInItsPlaceIsMissing) {
    QTemporaryDir dir;
    std::vector<QImage> images{QImage(1, 1, QImage::Format_RGB32)};
    QString error;
    EXPECT_EQ(LoadStartImages(dir.filePath(QStringLiteral("stImage.ims")), images, &error),
              TStartImagesResult::Missing);
    EXPECT_TRUE(images.empty());
    EXPECT_FALSE(error.isEmpty());
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.ims")));
    EXPECT_EQ(LoadStartImages(dir.filePath(QStringLiteral("folder.ims")), images, nullptr),
              TStartImagesResult::Missing);
}

TEST(StartImagesTest, CompleteFileDecodesEveryPicture) {
    QTemporaryDir dir;
    std::vector<QImage> images;
    ASSERT_EQ(LoadStartImages(WriteFile(dir, BuildStartImages(ThreeJpegs())), images, nullptr), TStartImagesResult::Ok);
    ASSERT_EQ(images.size(), 3u);
    EXPECT_EQ(images[0].size(), QSize(18, 18));
    EXPECT_EQ(images[1].size(), QSize(151, 26));
    EXPECT_EQ(images[2].size(), QSize(40, 60));
    EXPECT_GT(qRed(images[0].pixel(9, 9)), 200);
    EXPECT_GT(qBlue(images[2].pixel(20, 30)), 200);
}

// A damaged file keeps the pictures decoded before the damage; one without any is missing.
TEST(StartImagesTest, DamageKeepsWhatDecoded) {
    const QByteArray whole = BuildStartImages(ThreeJpegs());
    QByteArray hugeCount = whole;
    hugeCount[0] = char(0xFF);
    hugeCount[1] = char(0xFF);
    hugeCount[2] = char(0xFF);
    hugeCount[3] = char(0x7F);
    QByteArray negativeLength = BuildStartImages({Jpeg(8, 8, Qt::red), Jpeg(8, 8, Qt::red)});
    negativeLength.replace(4 + 8 + Jpeg(8, 8, Qt::red).size(), 8, QByteArray(8, char(0xFF)));
    const struct {
        const char* name;
        QByteArray bytes;
        TStartImagesResult result;
        std::vector<bool> decoded;
    } cases[] = {
        {"cut inside the third picture",
         whole.left(whole.size() - 40),
         TStartImagesResult::Damaged,
         {true, true, false}},
        {"cut inside the third length",
         whole.left(whole.size() - Jpeg(40, 60, Qt::blue).size() - 4),
         TStartImagesResult::Damaged,
         {true, true, false}},
        {"count far beyond the bytes", hugeCount, TStartImagesResult::Damaged, {true, true, true}},
        {"undecodable picture between good ones",
         BuildStartImages({Jpeg(8, 8, Qt::red), QByteArray("not a jpeg"), Jpeg(8, 8, Qt::blue)}),
         TStartImagesResult::Damaged,
         {true, false, true}},
        {"negative length", negativeLength, TStartImagesResult::Damaged, {true, false}},
        {"nothing decodable",
         BuildStartImages({QByteArray("xx"), QByteArray()}),
         TStartImagesResult::Missing,
         {false, false}},
        {"first picture cut", whole.left(30), TStartImagesResult::Missing, {false, false, false}},
        {"zero count", BuildStartImages({}), TStartImagesResult::Missing, {}},
        {"negative count", QByteArray("\xFF\xFF\xFF\xFF", 4), TStartImagesResult::Missing, {}},
        {"empty file", QByteArray(), TStartImagesResult::Missing, {}},
    };
    for (const auto& c : cases) {
        std::vector<QImage> images;
        QString error;
        EXPECT_EQ(ParseStartImages(c.bytes, images, &error), c.result) << c.name;
        // Slots beyond the pictures read stay empty.
        ASSERT_GE(images.size(), c.decoded.size()) << c.name;
        for (size_t i = 0; i < images.size(); ++i)
            if (i >= c.decoded.size()) {
                EXPECT_TRUE(images[i].isNull()) << c.name << " picture " << i;
            }
        for (size_t i = 0; i < c.decoded.size(); ++i)
            EXPECT_EQ(!images[i].isNull(), c.decoded[i]) << c.name << " picture " << i;
        EXPECT_FALSE(error.isEmpty()) << c.name;
    }
}

TEST(StartImagesTest, ShippedFileFitsThePanel) {
    std::vector<QImage> images;
    QString error;
    ASSERT_EQ(LoadStartImages(QStringLiteral(KOMOREBI_SOURCE_DIR "/data/settings/stImage.ims"), images, &error),
              TStartImagesResult::Ok)
        << qPrintable(error);
    const QSize sizes[] = {{18, 18}, {18, 18}, {151, 26}, {151, 26}, {211, 610}, {211, 610}, {211, 610}};
    ASSERT_EQ(images.size(), std::size(sizes));
    for (size_t i = 0; i < images.size(); ++i)
        EXPECT_EQ(images[i].size(), sizes[i]) << "picture " << i;
    // The step pictures differ where their band is lit.
    EXPECT_NE(images[4].copy(0, 150, 211, 120), images[5].copy(0, 150, 211, 120));
    EXPECT_NE(images[5].copy(0, 281, 211, 120), images[6].copy(0, 281, 211, 120));
    // The button pictures are cut from the panel at their places: their corners, where the
    // background shows past the rounded button, meet the step picture without a seam.
    auto seam = [](const QImage& button, const QImage& panel, QRect place) {
        int worst = 0;
        for (int x : {0, 1, place.width() - 2, place.width() - 1})
            for (int y : {0, place.height() - 1}) {
                const QColor a = button.pixelColor(x, y), b = panel.pixelColor(place.x() + x, place.y() + y);
                worst = std::max({worst, std::abs(a.red() - b.red()), std::abs(a.green() - b.green()),
                                  std::abs(a.blue() - b.blue())});
            }
        return worst;
    };
    EXPECT_LT(seam(images[0], images[4], QRect(190, 1, 18, 18)), 24);
    EXPECT_LT(seam(images[2], images[4], QRect(47, 230, 151, 26)), 24);
    EXPECT_LT(seam(images[3], images[6], QRect(47, 492, 151, 26)), 24);
    // The close button sits on a heading that is the same on every step.
    EXPECT_LT(seam(images[0], images[5], QRect(190, 1, 18, 18)), 24);
    EXPECT_LT(seam(images[0], images[6], QRect(190, 1, 18, 18)), 24);
    TStartPanel panel;
    EXPECT_TRUE(panel.ApplyStartImages(images));
}

// A start picture file of a few kilobytes used to claim gigabytes: only the pictures the panel
// shows are decoded, each within a small size whatever its header claims.
TEST(StartImagesTest, OnlyThePanelsPicturesAreDecodedAndEachStaysSmall) {
    const std::vector<QByteArray> claims(20, ClaimingJpeg(8192, 8192));
    std::vector<QImage> images;
    ParseStartImages(BuildStartImages(claims), images, nullptr);
    EXPECT_EQ(images.size(), size_t(kStartImagesUsed));
    for (const QImage& image : images)
        EXPECT_LE(qint64(image.width()) * image.height(), kStartImageMaxPixels);
}
