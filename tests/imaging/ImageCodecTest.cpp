#include "imaging/ImageCodec.h"
#include "imaging/JpegCodec.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QImageWriter>
#include <QPainter>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

// Four flat quarters: survives every codec, exactly for the lossless ones.
QImage Quarters(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    QPainter p(&image);
    p.fillRect(0, 0, w / 2, h / 2, QColor(255, 0, 0));
    p.fillRect(w / 2, 0, w - w / 2, h / 2, QColor(0, 255, 0));
    p.fillRect(0, h / 2, w / 2, h - h / 2, QColor(0, 0, 255));
    p.fillRect(w / 2, h / 2, w - w / 2, h - h / 2, QColor(250, 250, 250));
    return image;
}

int MaxChannelDiff(QRgb a, QRgb b) {
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

} // namespace

TEST(CodecTest, FormatsByExtensionInAnyCase) {
    struct Case {
        const char* name;
        int want; // -1: refused
    } cases[] = {
        {"a.bmp", 0}, {"a.JPG", 1},     {"dir.x/photo.Jpeg", 1}, {"a.gif", 2},
        {"a.Png", 3}, {"scan.tif", -1}, {"noext", -1},           {"a.jpg.txt", -1},
    };
    for (const Case& c : cases) {
        const auto f = TImageCodec::FormatFromExtension(QString::fromLatin1(c.name));
        EXPECT_EQ(f ? int(*f) : -1, c.want) << c.name;
    }
}

TEST(CodecTest, EveryFormatRoundTrips) {
    const QImage src = Quarters(32, 16);
    for (TImageFormat f : {TImageFormat::Bmp, TImageFormat::Jpeg, TImageFormat::Gif, TImageFormat::Png}) {
        const QByteArray bytes = TImageCodec::Encode(src, f);
        ASSERT_FALSE(bytes.isEmpty()) << int(f);
        EXPECT_EQ(TImageCodec::FormatFromSignature(bytes), f);
        const QImage back = TImageCodec::Decode(bytes, f);
        ASSERT_EQ(back.size(), src.size()) << int(f);
        const int tolerance = f == TImageFormat::Jpeg ? 12 : 0;
        for (QPoint p : {QPoint(4, 4), QPoint(28, 4), QPoint(4, 12), QPoint(28, 12)})
            EXPECT_LE(MaxChannelDiff(back.pixel(p), src.pixel(p)), tolerance) << int(f) << " at " << p.x();
        EXPECT_TRUE(TImageCodec::DecodeAny(bytes).size() == src.size());
    }
}

TEST(CodecTest, GifOfManyColoursIsReducedNotRefused) {
    QImage src(64, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            src.setPixel(x, y, qRgb(x * 4, y * 4, (x + y) * 2));
    const QImage back = TImageCodec::Decode(TImageCodec::Encode(src, TImageFormat::Gif), TImageFormat::Gif);
    ASSERT_EQ(back.size(), src.size());
    EXPECT_LE(MaxChannelDiff(back.pixel(40, 20), src.pixel(40, 20)), 40);
}

TEST(CodecTest, JpegDctScalingForThumbnails) {
    const QByteArray jpeg = TJpegCodec::Encode(Quarters(64, 48));
    EXPECT_EQ(TJpegCodec::ReadSize(jpeg), QSize(64, 48));
    EXPECT_EQ(TJpegCodec::Decode(jpeg, 4).size(), QSize(16, 12));
    EXPECT_EQ(TJpegCodec::Decode(jpeg, 8).size(), QSize(8, 6));
    EXPECT_EQ(TJpegCodec::DecodeThumbnail(jpeg, QSize(20, 10)).size(), QSize(32, 24));
    EXPECT_LE(MaxChannelDiff(TJpegCodec::Decode(jpeg, 4).pixel(2, 2), qRgb(255, 0, 0)), 12);
}

TEST(CodecTest, BrokenBytesDecodeToNothing) {
    const QByteArray jpeg = TJpegCodec::Encode(Quarters(64, 48));
    const QByteArray png = TImageCodec::Encode(Quarters(8, 8), TImageFormat::Png);
    EXPECT_TRUE(TImageCodec::IsEmpty(TImageCodec::Decode(jpeg.left(20), TImageFormat::Jpeg)));
    EXPECT_TRUE(TImageCodec::IsEmpty(TImageCodec::Decode(QByteArray(300, 'x'), TImageFormat::Jpeg)));
    EXPECT_TRUE(TImageCodec::IsEmpty(TImageCodec::Decode(png, TImageFormat::Jpeg)));
    EXPECT_TRUE(TImageCodec::IsEmpty(TImageCodec::Decode(png.left(10), TImageFormat::Png)));
    EXPECT_TRUE(TImageCodec::IsEmpty(TImageCodec::Decode(QByteArray("GIF89a"), TImageFormat::Gif)));
    EXPECT_TRUE(TImageCodec::IsEmpty(TImageCodec::Decode(QByteArray("BM\0\0", 4), TImageFormat::Bmp)));
    EXPECT_TRUE(TImageCodec::IsEmpty(TImageCodec::Decode({}, TImageFormat::Png)));
    EXPECT_TRUE(TImageCodec::Encode(QImage(), TImageFormat::Jpeg).isEmpty());
    EXPECT_TRUE(TImageCodec::DecodeAny(QByteArray("hello")).isNull());
}

TEST(CodecTest, TransparencyIsKeptInPngAndFlattenedOnWhiteElsewhere) {
    QImage src(4, 4, QImage::Format_ARGB32);
    src.fill(Qt::transparent);
    src.setPixel(1, 1, qRgba(255, 0, 0, 255));
    const QImage png = TImageCodec::Decode(TImageCodec::Encode(src, TImageFormat::Png), TImageFormat::Png);
    EXPECT_TRUE(png.hasAlphaChannel());
    EXPECT_EQ(qAlpha(png.pixel(0, 0)), 0);
    const QImage bmp = TImageCodec::Decode(TImageCodec::Encode(src, TImageFormat::Bmp), TImageFormat::Bmp);
    EXPECT_EQ(bmp.pixel(0, 0) | 0xFF000000u, qRgb(255, 255, 255));
    EXPECT_EQ(bmp.pixel(1, 1) | 0xFF000000u, qRgb(255, 0, 0));
}

TEST(CodecTest, GifKeepsClearPixelsClearWithFewColoursAndWithMany) {
    // GIF has one clear palette entry: pixels more than half clear take it, the others stay opaque.
    for (const bool many : {false, true}) {
        QImage src(64, 64, QImage::Format_ARGB32);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                src.setPixel(x, y,
                             x < 16 ? qRgba(0, 0, 0, x < 8 ? 0 : 100) : qRgba(many ? x * 4 : 200, y * 4, 30, 255));
        const QImage back = TImageCodec::Decode(TImageCodec::Encode(src, TImageFormat::Gif), TImageFormat::Gif);
        ASSERT_EQ(back.size(), src.size()) << many;
        EXPECT_EQ(qAlpha(back.pixel(3, 30)) + qAlpha(back.pixel(12, 30)), 0) << many;
        EXPECT_LE(MaxChannelDiff(back.pixel(40, 20), src.pixel(40, 20)), many ? 40 : 0) << many;
        EXPECT_EQ(qAlpha(back.pixel(40, 20)), 255) << many;
    }
}

TEST(CodecTest, ForgedProgressiveJpegSizeFailsWithoutClaimingGigabytes) {
    QImage small(64, 64, QImage::Format_RGB32);
    small.fill(Qt::darkGreen);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(true);
    ASSERT_TRUE(writer.write(small));
    const qsizetype sof = bytes.indexOf(QByteArray("\xFF\xC2", 2));
    ASSERT_GT(sof, 0);
    ASSERT_FALSE(TJpegCodec::Decode(bytes).isNull());
    // 30000 x 30000: several gigabytes of coefficients before a single row comes out.
    for (int i : {5, 7}) {
        bytes[sof + i] = char(0x75);
        bytes[sof + i + 1] = char(0x30);
    }
    EXPECT_EQ(TJpegCodec::ReadSize(bytes), QSize(30000, 30000));
    EXPECT_TRUE(TJpegCodec::Decode(bytes).isNull());
}

// Insert picture used to wait for ever on a pipe and read a link to /dev/zero without end.
TEST(CodecTest, OnlyPlainFilesAreDecodedFromAPath) {
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("pipe.png"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString zero = dir.filePath(QStringLiteral("zero.bmp"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
    for (const auto& [path, format] : {std::pair{fifo, TImageFormat::Png}, std::pair{zero, TImageFormat::Bmp}})
        EXPECT_TRUE(TImageCodec::IsEmpty(TImageCodec::DecodeFile(path, format))) << qPrintable(path);
}
