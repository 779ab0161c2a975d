#include "objects/Region.h"
#include "platform/StreamReader.h"
#include "platform/StreamWriter.h"

#include <array>
#include <gtest/gtest.h>
#include <vector>

namespace {

QByteArray RegionData(int32_t count, const std::vector<std::array<int32_t, 4>>& rects) {
    TStreamWriter w;
    for (int32_t v : {32, 1, count, count * 16, 0, 0, 0, 0})
        w.WriteInt32(v);
    for (const auto& r : rects)
        for (int32_t v : r)
            w.WriteInt32(v);
    return w.Bytes();
}

} // namespace

TEST(RegionTest, LoadsRectanglesAndRefusesClaimsBeyondTheData) {
    TRegion region;
    TStreamReader r(RegionData(2, {{0, 0, 10, 10}, {20, 0, 30, 5}}));
    region.LoadFromStream(r);
    EXPECT_EQ(region.Handle().boundingRect(), QRect(0, 0, 30, 10));
    EXPECT_TRUE(region.Handle().contains(QPoint(25, 2)));
    EXPECT_FALSE(region.Handle().contains(QPoint(15, 2)));

    TRegion bad;
    TStreamReader huge(RegionData(100000000, {{0, 0, 1, 1}}));
    EXPECT_THROW(bad.LoadFromStream(huge), ERgnError);
    TStreamReader shortHeader(QByteArray(20, '\0'));
    try {
        bad.LoadFromStream(shortHeader);
        FAIL();
    } catch (const ERgnError& e) {
        EXPECT_STREQ(e.what(), "TRegion.LoadFromStream: Cannot Create Region");
    }
}

TEST(RegionTest, CombineModesAndBitmapRuns) {
    TRegion region;
    region.AddRect(0, 0, 10, 10, rcCopy);
    region.AddRect(5, 5, 15, 15, rcAnd);
    EXPECT_EQ(region.Handle().boundingRect(), QRect(5, 5, 5, 5));
    region.AddRect(0, 0, 2, 2, rcCopy);
    EXPECT_EQ(region.Handle().boundingRect(), QRect(0, 0, 2, 2));

    QImage bmp(4, 2, QImage::Format_RGB32);
    bmp.fill(Qt::white);
    bmp.setPixel(1, 0, qRgb(0, 0, 0));
    bmp.setPixel(2, 0, qRgb(9, 9, 9));
    bmp.setPixel(3, 1, qRgb(1, 0, 0));
    TRegion fromBitmap;
    fromBitmap.MakeRgnFromBitmap(bmp, qRgb(255, 255, 255));
    EXPECT_EQ(fromBitmap.Handle(), QRegion(1, 0, 2, 1).united(QRegion(3, 1, 1, 1)));

    QImage indexed(2, 2, QImage::Format_Indexed8);
    EXPECT_THROW(fromBitmap.MakeRgnFromBitmap(indexed, 0), ERgnError);
}

TEST(RegionTest, OverlappingAndUnorderedRectanglesGiveTheirTrueUnion) {
    // Region data from a stream need not be banded: rectangles may overlap and come in any order.
    const std::vector<std::array<int32_t, 4>> rects{{5, 5, 15, 15}, {0, 0, 10, 10}, {20, 0, 30, 5}, {0, 0, 10, 10}};
    TRegion region;
    TStreamReader r(RegionData(int32_t(rects.size()), rects));
    region.LoadFromStream(r);
    QRegion expected;
    for (const auto& v : rects)
        expected = expected.united(QRegion(v[0], v[1], v[2] - v[0], v[3] - v[1]));
    EXPECT_EQ(region.Handle(), expected);
    // Combining afterwards works on the true area: the overlap is gone once the first square is cut out.
    region.AddRect(0, 0, 10, 10, rcDiff);
    EXPECT_FALSE(region.Handle().contains(QPoint(7, 7)));
    EXPECT_TRUE(region.Handle().contains(QPoint(12, 12)));
    EXPECT_TRUE(region.Handle().contains(QPoint(25, 2)));
}
