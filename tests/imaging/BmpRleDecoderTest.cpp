#include "imaging/BmpRleDecoder.h"
#include "imaging/ImageCodec.h"

#include <QtEndian>
#include <gtest/gtest.h>
#include <vector>

namespace {

const QRgb kPalette[4] = {qRgb(10, 20, 30), qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)};

void Put32(QByteArray& b, uint32_t v) {
    char d[4];
    qToLittleEndian(v, d);
    b.append(d, 4);
}

void Put16(QByteArray& b, uint16_t v) {
    char d[2];
    qToLittleEndian(v, d);
    b.append(d, 2);
}

// A whole BMP file around the given RLE data, with the four-colour palette above.
QByteArray RleBmp(int width, int height, int bits, const std::vector<uint8_t>& data) {
    QByteArray info;
    Put32(info, 40);
    Put32(info, uint32_t(width));
    Put32(info, uint32_t(height));
    Put16(info, 1);
    Put16(info, uint16_t(bits));
    Put32(info, bits == 8 ? 1 : 2);
    Put32(info, uint32_t(data.size()));
    Put32(info, 2835);
    Put32(info, 2835);
    Put32(info, 4);
    Put32(info, 0);
    for (QRgb c : kPalette)
        Put32(info, uint32_t(qBlue(c)) | uint32_t(qGreen(c)) << 8 | uint32_t(qRed(c)) << 16);
    QByteArray file("BM");
    const uint32_t offset = 14 + uint32_t(info.size());
    Put32(file, offset + uint32_t(data.size()));
    Put32(file, 0);
    Put32(file, offset);
    file.append(info);
    file.append(reinterpret_cast<const char*>(data.data()), qsizetype(data.size()));
    return file;
}

// Rows as seen on screen, top row first, as palette indices.
void ExpectPixels(const QImage& image, const std::vector<std::vector<int>>& rows) {
    ASSERT_EQ(image.height(), int(rows.size()));
    for (int y = 0; y < image.height(); ++y) {
        ASSERT_EQ(image.width(), int(rows[size_t(y)].size()));
        for (int x = 0; x < image.width(); ++x)
            EXPECT_EQ(image.pixel(x, y) | 0xFF000000u, kPalette[rows[size_t(y)][size_t(x)]])
                << "pixel " << x << "," << y;
    }
}

} // namespace

TEST(BmpRleDecoderTest, Rle8RunsAbsoluteDeltaAndEndOfLine) {
    // Bottom-up, 6 x 3. Row 0 (bottom): run of 2 x index1, absolute 3,2,1 (odd: padded), then
    // end of line after 5 pixels. Row 1: delta (2 right, 1 up) skips the rest of row 1 and
    // two pixels of row 2, then 2 x index3 and end of bitmap.
    const QByteArray file = RleBmp(6, 3, 8,
                                   {2, 1, 0, 3, 3, 2, 1, 0, 0, 0, //
                                    0, 2, 2, 1,                   //
                                    2, 3, 0, 1});
    ASSERT_TRUE(TBmpRleDecoder::IsRleBmp(file));
    const QImage image = TImageCodec::Decode(file, TImageFormat::Bmp);
    ExpectPixels(image, {{0, 0, 3, 3, 0, 0}, //
                         {0, 0, 0, 0, 0, 0},
                         {1, 1, 3, 2, 1, 0}});
}

TEST(BmpRleDecoderTest, Rle4NibblesAbsoluteDeltaAndEndOfLine) {
    // 5 x 3. Row 0: run of 3 alternating 1,2; absolute 3 pixels 3,0,1 (2 bytes, even); EOL.
    // Row 1: run 5 of index 3 (3,3,3,3,3 from nibbles 3,3), EOL. Row 2: delta (3, 0) then
    // run 2 of nibbles 2,1. No end-of-bitmap marker at all.
    const QByteArray file = RleBmp(5, 3, 4,
                                   {3, 0x12, 0, 3, 0x30, 0x10, 0, 0, //
                                    5, 0x33, 0, 0,                   //
                                    0, 2, 3, 0, 2, 0x21});
    const QImage image = TImageCodec::Decode(file, TImageFormat::Bmp);
    ExpectPixels(image, {{0, 0, 0, 2, 1}, //
                         {3, 3, 3, 3, 3},
                         {1, 2, 1, 3, 0}});
}

TEST(BmpRleDecoderTest, RunsPastTheRightEdgeAndRowsPastTheTopAreCut) {
    const QByteArray file = RleBmp(3, 2, 8, {9, 1, 0, 0, 0, 2, 0, 9, 4, 2, 0, 1});
    const QImage image = TBmpRleDecoder::Decode(file);
    ExpectPixels(image, {{0, 0, 0}, {1, 1, 1}});
}

TEST(BmpRleDecoderTest, BrokenFilesGiveNothingOrStopEarly) {
    // Truncated absolute run: what was decoded stays, the rest keeps index 0.
    ExpectPixels(TBmpRleDecoder::Decode(RleBmp(4, 1, 8, {1, 2, 0, 4, 1})), {{2, 0, 0, 0}});
    // Absurd dimensions are refused before any allocation.
    EXPECT_TRUE(TBmpRleDecoder::Decode(RleBmp(100000, 100000, 8, {0, 1})).isNull());
    EXPECT_TRUE(TBmpRleDecoder::Decode(RleBmp(0, 5, 8, {0, 1})).isNull());
    QByteArray cut = RleBmp(4, 1, 8, {4, 1, 0, 1});
    EXPECT_TRUE(TBmpRleDecoder::Decode(cut.left(30)).isNull());
    EXPECT_FALSE(TBmpRleDecoder::IsRleBmp(QByteArray("BM")));
}

TEST(BmpRleDecoderTest, EveryTruncationDecodesWithoutReadingPastTheEnd) {
    const QByteArray file = RleBmp(6, 3, 8, {2, 1, 0, 3, 3, 2, 1, 0, 0, 0, 0, 2, 2, 1, 2, 3, 0, 1});
    const QByteArray file4 = RleBmp(5, 3, 4, {3, 0x12, 0, 3, 0x30, 0x10, 0, 0, 5, 0x33, 0, 0, 0, 2, 3, 0, 2, 0x21});
    for (const QByteArray& f : {file, file4}) {
        for (qsizetype n = 0; n <= f.size(); ++n) {
            const QImage image = TBmpRleDecoder::Decode(f.left(n));
            // Headers and palette end at the data offset; from there on a shorter file is a
            // shorter picture, never a failure.
            const qsizetype offset = qFromLittleEndian<quint32>(f.constData() + 10);
            EXPECT_EQ(image.isNull(), n <= offset) << n;
        }
    }
}

// Runs that never end their row push the column far past the right edge; the column must not
// wrap round to a negative index and write before the picture.
TEST(BmpRleDecoderTest, EndlessRowOfRunsStaysInsideThePicture) {
    constexpr size_t kRuns = (size_t(1) << 31) / 255 + 2000;
    std::vector<uint8_t> data;
    data.reserve(kRuns * 2 + 4);
    data.push_back(1);
    data.push_back(2); // the one visible pixel: green
    for (size_t i = 0; i < kRuns; ++i) {
        data.push_back(255);
        data.push_back(3);
    }
    data.push_back(0);
    data.push_back(1);
    const QImage image = TBmpRleDecoder::Decode(RleBmp(2, 1, 8, data));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.pixel(0, 0), kPalette[2]);
    EXPECT_EQ(image.pixel(1, 0), kPalette[3]);
}
