#include "imaging/PackedDib.h"
#include "platform/SaneDevice.h"

#include <QtEndian>
#include <gtest/gtest.h>

namespace {

// A packed bitmap header of the given kind, followed by enough zero bytes for palette and pixels.
QByteArray Header(int headerSize, int width, int height, int bits, int compression = 0, int colorsUsed = 0,
                  int extra = 4096) {
    QByteArray dib(headerSize + extra, '\0');
    char* d = dib.data();
    qToLittleEndian<quint32>(headerSize, d);
    if (headerSize == 12) {
        qToLittleEndian<quint16>(width, d + 4);
        qToLittleEndian<quint16>(height, d + 6);
        qToLittleEndian<quint16>(1, d + 8);
        qToLittleEndian<quint16>(bits, d + 10);
    } else {
        qToLittleEndian<qint32>(width, d + 4);
        qToLittleEndian<qint32>(height, d + 8);
        qToLittleEndian<quint16>(1, d + 12);
        qToLittleEndian<quint16>(bits, d + 14);
        qToLittleEndian<quint32>(compression, d + 16);
        qToLittleEndian<quint32>(colorsUsed, d + 32);
    }
    return dib;
}

TSaneFrame Frame(bool color, int depth, int w, int h) {
    TSaneFrame f;
    f.Color = color;
    f.Depth = depth;
    f.Width = w;
    f.Height = h;
    f.BytesPerLine = int((qint64(w) * (color ? 3 : 1) * depth + 7) / 8);
    f.Data = QByteArray(qint64(f.BytesPerLine) * h, '\0');
    return f;
}

} // namespace

TEST(PackedDibTest, PixelOffsetCountsHeaderMasksAndPalette) {
    struct Case {
        QByteArray dib;
        qint64 offset;
    } cases[] = {
        {Header(40, 8, 8, 1), 62},             // two colours of four bytes
        {Header(40, 8, 8, 8), 14 + 40 + 1024}, // 256 colours
        {Header(40, 8, 8, 8, 0, 16), 14 + 40 + 64},
        {Header(40, 8, 8, 24), 54},           // no palette
        {Header(40, 8, 8, 24, 0, 2), 62},     // an optional palette on a true-colour picture
        {Header(12, 8, 8, 8), 14 + 12 + 768}, // core palette entries are three bytes
        {Header(12, 8, 8, 1), 14 + 12 + 6},
        {Header(40, 8, 8, 32, 3), 14 + 40 + 12}, // bit-field masks after the 40-byte header
        {Header(108, 8, 8, 32, 3), 14 + 108},    // inside the longer ones
        {Header(124, 8, -8, 24), 14 + 124},      // top-down
    };
    for (const Case& c : cases)
        EXPECT_EQ(TPackedDib::PixelOffset(c.dib), c.offset) << c.dib.toHex().left(40).data();
}

TEST(PackedDibTest, SizesThatDoNotFitTheBytesAreRefused) {
    const QByteArray good = Header(40, 8, 8, 24, 0, 0, 8 * 24);
    QString error;
    ASSERT_FALSE(TPackedDib::FileImage(good, &error).isEmpty()) << error.toStdString();
    const QByteArray bad[] = {
        QByteArray(),
        QByteArray(3, '\0'),
        Header(41, 8, 8, 24),                   // no such header
        Header(40, 8, 8, 24).left(39),          // cut inside the header
        Header(40, 8, 8, 24, 0, 0, 8 * 24 - 1), // one pixel byte short
        Header(40, 8, 8, 8, 0, 0, 1000),        // the palette alone is 1024
        Header(40, 8, 8, 8, 0, 300),            // more colours than 8 bits hold
        Header(40, 8, 8, 1, 0, 3),
        Header(40, 0, 8, 24),
        Header(40, 8, 0, 24),
        Header(40, -8, 8, 24),
        Header(40, 8, 8, 7),            // no such bit count
        Header(40, 8, 8, 24, 3),        // masks on 24 bits
        Header(40, 8, 8, 24, 4),        // JPEG inside
        Header(40, 60000, 60000, 1),    // 3.6 billion pixels
        Header(12, 8, 8, 8, 0, 0, 700), // core palette short
        Header(40, 8, 8, 32, 3, 0, 12 + 8 * 32 - 1),
    };
    for (const QByteArray& dib : bad) {
        error.clear();
        EXPECT_TRUE(TPackedDib::FileImage(dib, &error).isEmpty()) << dib.toHex().left(40).data();
        EXPECT_TRUE(TPackedDib::Decode(dib, &error).isNull());
        EXPECT_FALSE(error.isEmpty());
    }
}

TEST(PackedDibTest, FileImageHeaderFollowsTheBitmap) {
    QByteArray dib = Header(40, 8, 2, 1, 0, 0, 8 + 8);
    const QByteArray file = TPackedDib::FileImage(dib, nullptr);
    ASSERT_EQ(file.size(), dib.size() + 14);
    EXPECT_EQ(file.left(2), QByteArray("BM"));
    EXPECT_EQ(qFromLittleEndian<quint32>(file.constData() + 2), quint32(dib.size() + 14));
    EXPECT_EQ(qFromLittleEndian<quint32>(file.constData() + 6), 0u);
    EXPECT_EQ(qFromLittleEndian<quint32>(file.constData() + 10), 62u);
    EXPECT_EQ(file.mid(14), dib);
}

TEST(PackedDibTest, FramesBecomeBitmapsThatDecodeToTheSamePixels) {
    // Colour, 8 bits: red, green, blue, white in the first row, black below.
    TSaneFrame rgb = Frame(true, 8, 4, 2);
    const unsigned char row[] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};
    memcpy(rgb.Data.data(), row, sizeof(row));
    QString error;
    QImage image = TPackedDib::Decode(TPackedDib::FromFrame(rgb, &error), &error);
    ASSERT_EQ(image.size(), QSize(4, 2)) << error.toStdString();
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(1, 0), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(2, 0), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(3, 0), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(3, 1), qRgb(0, 0, 0));

    // Grey, 16 bits in the machine's order: the high byte counts.
    TSaneFrame grey = Frame(false, 16, 3, 1);
    const quint16 samples[] = {0xffff, 0x8000, 0x00ff};
    memcpy(grey.Data.data(), samples, sizeof(samples));
    image = TPackedDib::Decode(TPackedDib::FromFrame(grey, &error), &error);
    ASSERT_EQ(image.size(), QSize(3, 1));
    EXPECT_EQ(qGray(image.pixel(0, 0)), 255);
    EXPECT_EQ(qGray(image.pixel(1, 0)), 128);
    EXPECT_EQ(qGray(image.pixel(2, 0)), 0);

    // Line art: a set bit is black; rows are padded to four bytes.
    TSaneFrame art = Frame(false, 1, 10, 2);
    art.Data[0] = char(0x80); // first pixel black
    art.Data[2] = char(0x40); // second row, second pixel black
    const QByteArray dib = TPackedDib::FromFrame(art, &error);
    EXPECT_EQ(TPackedDib::PixelOffset(dib), 62);
    EXPECT_EQ(dib.size(), 40 + 8 + 4 * 2);
    image = TPackedDib::Decode(dib, &error);
    ASSERT_EQ(image.size(), QSize(10, 2));
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(1, 0), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(1, 1), qRgb(0, 0, 0));

    // Frames that do not add up.
    TSaneFrame shortData = Frame(true, 8, 4, 2);
    shortData.Data.chop(1);
    TSaneFrame narrowLine = Frame(true, 8, 4, 2);
    narrowLine.BytesPerLine = 11;
    TSaneFrame colourLineArt = Frame(true, 1, 4, 2);
    for (const TSaneFrame& f : {shortData, narrowLine, colourLineArt, TSaneFrame()}) {
        error.clear();
        EXPECT_TRUE(TPackedDib::FromFrame(f, &error).isEmpty());
        EXPECT_EQ(error, QStringLiteral("スキャナから受け取った画像の大きさが合いません"));
    }
}
