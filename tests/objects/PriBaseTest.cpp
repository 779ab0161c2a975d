#include "objects/PriBase.h"
#include "platform/StreamReader.h"
#include "platform/StreamWriter.h"
#include "platform/Rounding.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

// A plain box object: the base with nothing added.
class TBox : public TPriBase {};

} // namespace

TEST(PriBaseTest, EdgesOfTheBoundsHitOnePixelBeyondDoesNot) {
    TBox b;
    b.SetBounds(10, 20, 100, 50);
    EXPECT_TRUE(b.PtInObject({110, 70}));
    EXPECT_TRUE(b.PtInObject({10, 20}));
    EXPECT_FALSE(b.PtInObject({111, 70}));
    EXPECT_FALSE(b.PtInObject({110, 71}));
    b.UndoCheck = true;
    EXPECT_FALSE(b.PtInObject({50, 40}));
    EXPECT_FALSE(b.ObjectInRect({0, 0, 1000, 1000}));
}

TEST(PriBaseTest, TrackingFlipsPastTheOppositeEdge) {
    struct TCase {
        int Handle;
        QPoint Delta;
        TRect Expected;
    } cases[] = {
        {0, {150, 0}, {110, 20, 160, 70}},  // left handle 150 to the right of a 100-wide box
        {3, {-10, 99}, {0, 20, 110, 70}},   // middle-left: vertical part ignored
        {7, {-130, -70}, {-20, 0, 10, 20}}, // bottom-right past the top-left corner
        {1, {40, -30}, {10, -10, 110, 70}}, // top-middle: horizontal part ignored
        {6, {0, 10}, {10, 20, 110, 80}},    {8, {5, 5}, {10, 20, 110, 70}}, // no such handle: nothing changes
    };
    for (const TCase& c : cases) {
        TBox b;
        b.SetBounds(10, 20, 100, 50);
        b.SetForcusCheck(true);
        b.BeginTrack();
        b.TrackSize(c.Handle, c.Delta);
        EXPECT_EQ(b.TrackRect(), c.Expected) << "handle " << c.Handle;
        EXPECT_GT(b.TrackRect().Width(), 0);
    }
    // Unselected or locked objects do not track.
    TBox locked;
    locked.SetBounds(10, 20, 100, 50);
    locked.SetForcusCheck(true);
    locked.LockCheck = true;
    locked.BeginTrack();
    locked.TrackMove({5, 5});
    EXPECT_EQ(locked.TrackRect(), (TRect{10, 20, 110, 70}));
}

TEST(PriBaseTest, SizeAndMoveLimits) {
    QImage page(800, 600, QImage::Format_RGB32);
    TBox b;
    b.BackImage = &page;
    b.SetBounds(700, 100, 20, 0);
    b.SizeBy({-500, 30});
    EXPECT_EQ(b.Width, 1);  // never below one pixel
    EXPECT_EQ(b.Height, 0); // a zero size is left alone

    b.SetBounds(700, 100, 20, 20);
    b.MoveBy({101, 50}); // left edge would pass the page width: neither axis moves
    EXPECT_EQ(b.BoundsRect(), (TRect{700, 100, 720, 120}));
    b.MoveBy({100, -120}); // still touching both edges
    EXPECT_EQ(b.BoundsRect(), (TRect{800, -20, 820, 0}));
    b.LockCheck = true;
    b.MoveBy({-10, 0});
    b.SizeBy({10, 10});
    EXPECT_EQ(b.BoundsRect(), (TRect{800, -20, 820, 0}));

    // A tracking rectangle wholly off the page is not adopted.
    TBox t;
    t.BackImage = &page;
    t.SetBounds(10, 10, 50, 50);
    t.SetForcusCheck(true);
    t.BeginTrack();
    t.TrackMove({-100, 0});
    t.ApplyTrack();
    EXPECT_EQ(t.BoundsRect(), (TRect{10, 10, 60, 60}));
    t.TrackMove({40, 5});
    t.ApplyTrack();
    EXPECT_EQ(t.BoundsRect(), (TRect{-50, 15, 0, 65}));
}

TEST(PriBaseTest, ScalingBetweenStoredUnitsAndPixels) {
    TBox b;
    b.SetStoreRect({254, 508, 127, 254});
    b.ScaleToView({1586, 2244}, {793, 1122}, 96);
    EXPECT_EQ(b.BoundsRect(), TRect::FromBounds(192, 384, 96, 192));
    EXPECT_EQ(TPriBase::iScreenInch(), 96);

    // Beyond the page the object comes back to the edge.
    b.SetStoreRect({3000, -900, 100, 100});
    b.ScaleToView({793, 1122}, {793, 1122}, 96);
    EXPECT_EQ(b.Left, 0);
    EXPECT_EQ(b.Top, 0);

    // Halves round to even: 63.5 -> 64, 190.5 -> 190.
    b.SetBounds(24, 72, 24, 72);
    b.ScaleToStore({793, 1122}, {793, 1122}, 120);
    b.ScaleToStore({793, 1122}, {793, 1122}, 96);
    EXPECT_EQ(b.StoreRect(), QRect(64, 190, 64, 190));

    // A page without pixels leaves the bounds alone instead of dividing by zero.
    b.SetBounds(1, 2, 3, 4);
    b.ScaleToView({0, 0}, {0, 0}, 96);
    b.ScaleToStore({0, 0}, {0, 0}, 96);
    EXPECT_EQ(b.BoundsRect(), TRect::FromBounds(1, 2, 3, 4));
    EXPECT_EQ(b.StoreRect(), QRect(64, 190, 64, 190));
}

TEST(PriBaseTest, PrintRectWithAndWithoutMargins) {
    TBox b;
    b.SetStoreRect({254, 508, 2540, 127});
    QRect with, without;
    b.GetPrintRect(true, {600, 300}, with, 5, 10);
    b.GetPrintRect(false, {600, 300}, without, 5, 10);
    EXPECT_EQ(with, QRect(Nearest((254 - 100) / 254.0 * 600), Nearest((508 - 50) / 254.0 * 300), 6000, 150));
    EXPECT_EQ(without, QRect(600, 600, 6010, 160));
}

TEST(PriBaseTest, CommonHeaderReadsLowBytesAndRejectsShortRecords) {
    TStreamWriter w;
    for (int32_t v : {10, 20, 300, 400, 256, 257, 2})
        w.WriteInt32(v);
    TBox b;
    TStreamReader r(w.Bytes());
    ASSERT_TRUE(b.LoadFromStream(r, 6));
    EXPECT_EQ(b.StoreRect(), QRect(10, 20, 300, 400));
    EXPECT_FALSE(b.PrintCheck); // 256: the low byte is 0
    EXPECT_TRUE(b.LockCheck);
    EXPECT_TRUE(b.TransParent);

    TStreamWriter out;
    b.SaveToStream(out, 6);
    EXPECT_EQ(out.Bytes().size(), 28);
    EXPECT_EQ(out.Bytes().mid(16), QByteArray("\0\0\0\0\1\0\0\0\1\0\0\0", 12));

    // Geometry no page can have is a damaged record.
    for (int field = 0; field < 4; ++field) {
        for (int32_t bad : {TPriBase::kMaxStoreCoord + 1, -TPriBase::kMaxStoreCoord - 1, INT32_MIN}) {
            TStreamWriter damaged;
            for (int i = 0; i < 7; ++i)
                damaged.WriteInt32(i == field ? bad : 1);
            TBox box;
            TStreamReader dr(damaged.Bytes());
            EXPECT_FALSE(box.LoadFromStream(dr, 6)) << field << " " << bad;
        }
    }

    TBox fresh;
    TStreamReader shortReader(w.Bytes().left(27));
    EXPECT_FALSE(fresh.LoadFromStream(shortReader, 6));
    EXPECT_TRUE(fresh.PrintCheck);
}

TEST(PriBaseTest, AssignCopiesLayoutButNotKindOrState) {
    QImage page(10, 10, QImage::Format_RGB32);
    TBox src;
    src.SetBounds(1, 2, 3, 4);
    src.SetStoreRect({5, 6, 7, 8});
    src.Tag = 9;
    src.PrintCheck = false;
    src.LockCheck = true;
    src.TransParent = false;
    src.ListNum = 4;
    src.BackImage = &page;
    src.UndoCheck = true;
    src.ObjectNum = 3;
    src.SetForcusCheck(true);
    TBox dst;
    dst.AssignObject(&src);
    EXPECT_EQ(dst.BoundsRect(), src.BoundsRect());
    EXPECT_EQ(dst.StoreRect(), src.StoreRect());
    EXPECT_EQ(dst.Tag, 9);
    EXPECT_FALSE(dst.PrintCheck);
    EXPECT_TRUE(dst.LockCheck);
    EXPECT_FALSE(dst.TransParent);
    EXPECT_EQ(dst.ListNum, 4);
    EXPECT_EQ(dst.BackImage, &page);
    EXPECT_FALSE(dst.UndoCheck);
    EXPECT_FALSE(dst.ForcusCheck());
    EXPECT_EQ(dst.ObjectNum, -1);
}

TEST(PriBaseTest, SelectionFrameCoversTheBoundsAndNoMore) {
    QImage page(100, 100, QImage::Format_RGB32);
    page.fill(Qt::white);
    TBox b;
    b.BackImage = &page;
    b.SetBounds(10, 10, 40, 60);
    b.SetForcusCheck(true);
    {
        QPainter canvas(&page);
        b.DrawFocus(canvas);
    }
    const QColor sky(166, 202, 240), white(Qt::white);
    // Rows and columns away from the handles: the frame's last pixels are Left + width - 1 and
    // Top + height - 1.
    EXPECT_EQ(page.pixelColor(10, 25), sky);
    EXPECT_EQ(page.pixelColor(49, 25), sky);
    EXPECT_EQ(page.pixelColor(50, 25), white);
    EXPECT_EQ(page.pixelColor(20, 10), sky);
    EXPECT_EQ(page.pixelColor(20, 69), sky);
    EXPECT_EQ(page.pixelColor(20, 70), white);
    // Handles straddle the corner: bottom-right square from (47, 67) to (54, 74).
    EXPECT_EQ(page.pixelColor(53, 73), QColor(Qt::black));
}
