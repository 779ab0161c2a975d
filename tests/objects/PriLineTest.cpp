#include "objects/PriLine.h"
#include "platform/StreamReader.h"
#include "platform/StreamWriter.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

// A line drawn from a to b at 100 % on a 96-dpi page of 800 × 1100 paper pixels.
std::unique_ptr<TPriLine> Drawn(QPoint a, QPoint b) {
    auto l = std::make_unique<TPriLine>();
    l->SetStartPoint(a);
    l->SetEndPoint(b);
    l->SetBounds(std::min(a.x(), b.x()), std::min(a.y(), b.y()), std::abs(a.x() - b.x()), std::abs(a.y() - b.y()));
    l->ScaleToStore({800, 1100}, {800, 1100}, 96);
    return l;
}

// Records the end points and width each drawing asks for.
class TLineProbe : public TPriLine {
public:
    QPoint From, To;
    int Width = -1;
    void DrawLine(QPainter& canvas, QPoint from, TBltMode mode, int penWidth, const TRect& clip, QPoint to) override {
        From = from;
        To = to;
        Width = penWidth;
        TPriLine::DrawLine(canvas, from, mode, penWidth, clip, to);
    }
};

} // namespace

TEST(PriLineTest, DirectionSurvivesSaveLoadAndZoom) {
    auto l = Drawn({300, 250}, {100, 50}); // bottom-right to top-left
    TStreamWriter w;
    ASSERT_TRUE(l->SaveToStream(w, 6));
    TPriLine back;
    TStreamReader r(w.Bytes());
    ASSERT_TRUE(back.LoadFromStream(r, 6));
    back.ScaleToView({800, 1100}, {800, 1100}, 96);
    EXPECT_EQ(back.StartPoint(), QPoint(300, 250));
    EXPECT_EQ(back.EndPoint(), QPoint(100, 50));
    back.ScaleToView({1600, 2200}, {800, 1100}, 96);
    EXPECT_EQ(back.StartPoint(), QPoint(600, 500));
    EXPECT_EQ(back.EndPoint(), QPoint(200, 100));

    // Rising to the right: start bottom-left.
    auto up = Drawn({100, 250}, {300, 50});
    up->ScaleToView({1600, 2200}, {800, 1100}, 96);
    EXPECT_EQ(up->StartPoint(), QPoint(200, 500));
    EXPECT_EQ(up->EndPoint(), QPoint(600, 100));
}

TEST(PriLineTest, LevelLinesStayLevelAndLeaveTheScreenResolutionAlone) {
    auto h = Drawn({100, 80}, {300, 80});
    h->ScaleToView({1600, 2200}, {800, 1100}, 96);
    EXPECT_EQ(h->Height, 0);
    EXPECT_EQ(h->StartPoint().y(), h->EndPoint().y());
    EXPECT_EQ(h->StartPoint().y(), 160);

    // A stored negative height gives 0, not a negative box.
    TPriLine v;
    v.SetStoreRect(QRect(100, 100, 0, -50));
    v.ScaleToView({800, 1100}, {800, 1100}, 96);
    EXPECT_EQ(v.Height, 0);
}

TEST(PriLineTest, SegmentHitTest) {
    auto h = Drawn({10, 10}, {110, 10});
    auto d = Drawn({10, 10}, {110, 110});
    auto back = Drawn({110, 110}, {10, 10});
    struct Case {
        const TPriLine* line;
        QPoint p;
        bool hit;
    } cases[] = {
        {h.get(), {50, 10}, true},   {h.get(), {50, 9}, false},    {h.get(), {50, 11}, false},
        {h.get(), {111, 10}, false}, {h.get(), {110, 10}, true},   {d.get(), {50, 50}, true},
        {d.get(), {51, 50}, true},   {d.get(), {50, 51}, true},    {d.get(), {55, 50}, false},
        {d.get(), {9, 9}, false},    {back.get(), {51, 50}, true}, {back.get(), {110, 110}, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.line->PtInObject(c.p), c.hit) << c.p.x() << "," << c.p.y();
    d->UndoCheck = true;
    EXPECT_FALSE(d->PtInObject({50, 50}));
}

TEST(PriLineTest, DraggingAnEndPointMakesTheAnchorTheStart) {
    auto l = Drawn({10, 10}, {100, 50});
    l->MakeHandles();
    EXPECT_EQ(l->Handle(0), (TRect{7, 7, 14, 14}));
    EXPECT_EQ(l->Handle(1), (TRect{97, 47, 104, 54}));
    EXPECT_EQ(l->Handle(6), l->Handle(0));
    EXPECT_EQ(l->Handle(7), l->Handle(1));
    EXPECT_EQ(l->GetHandlePoint(2), QPoint(10, 10));
    EXPECT_EQ(l->GetAnchorPoint(2), QPoint(100, 50));

    l->DragEndPoint(0, {200, 0}); // the start point dragged past the end
    EXPECT_EQ(l->StartPoint(), QPoint(100, 50));
    EXPECT_EQ(l->EndPoint(), QPoint(210, 10));
    EXPECT_EQ(l->BoundsRect(), (TRect{100, 10, 210, 50}));
}

TEST(PriLineTest, MoveAndSizeCarryTheEndPoints) {
    QImage page(400, 400, QImage::Format_RGB32);
    auto l = Drawn({10, 10}, {100, 10});
    l->BackImage = &page;
    l->MoveBy({5, 7});
    EXPECT_EQ(l->StartPoint(), QPoint(15, 17));
    EXPECT_EQ(l->EndPoint(), QPoint(105, 17));
    l->MoveBy({500, 0}); // off the page: ignored
    EXPECT_EQ(l->Left, 15);
    EXPECT_EQ(l->StartPoint(), QPoint(15, 17));
    l->SizeBy({10, 4}); // height 0 is not resized, the end point still moves
    EXPECT_EQ(l->Width, 100);
    EXPECT_EQ(l->Height, 0);
    EXPECT_EQ(l->EndPoint(), QPoint(115, 21));
    l->LockCheck = true;
    l->MoveBy({1, 1});
    EXPECT_EQ(l->Left, 15);
}

TEST(PriLineTest, PenWidthsOnScreenAndOnA600DpiPrinter) {
    auto l = Drawn({10, 10}, {100, 100});
    l->SamePSize = 3;
    l->ScaleToView({800, 1100}, {800, 1100}, 96);
    EXPECT_EQ(l->Pen.Width, 3);
    l->ScaleToView({1600, 2200}, {800, 1100}, 96);
    EXPECT_EQ(l->Pen.Width, 6);
    QRect r;
    l->GetPrintRect(true, {600, 600}, r, 0, 0);
    EXPECT_EQ(l->PrintPenSize(), 19);
}

TEST(PriLineTest, PrintedHorizontalLineStaysOnItsRowWithoutMargins) {
    auto l = Drawn({10, 20}, {60, 20});
    QRect target;
    l->GetPrintRect(false, {96, 96}, target, 0, 0);
    EXPECT_EQ(target.height(), 10); // the extra ten device pixels
    QImage device(200, 200, QImage::Format_RGB32);
    device.fill(Qt::white);
    {
        QPainter p(&device);
        l->PrintDraw(p, target, false, {}, {}, QRect(0, 0, 200, 200));
    }
    EXPECT_EQ(device.pixel(30, 20), QColor(Qt::black).rgb());
    EXPECT_EQ(device.pixel(30, 25), QColor(Qt::white).rgb());
}

// On a sheet of several seats the print rectangle is ten device pixels larger than the box; a
// slanted line must still end where it was drawn, at its own slope.
TEST(PriLineTest, PrintedSlantedLineKeepsItsEndsWithAndWithoutMargins) {
    struct Case {
        QPoint a, b;
        bool margins;
        QPoint from, to;
    } cases[] = {
        {{10, 20}, {60, 70}, false, {10, 20}, {60, 70}},
        {{10, 70}, {60, 20}, false, {10, 70}, {60, 20}}, // rising: start bottom-left
        {{60, 70}, {10, 20}, false, {60, 70}, {10, 20}}, // drawn backwards
        {{10, 20}, {60, 70}, true, {10, 20}, {60, 70}},
        {{10, 20}, {10, 90}, false, {10, 20}, {10, 90}}, // vertical
    };
    for (const Case& c : cases) {
        auto drawn = Drawn(c.a, c.b);
        TLineProbe l;
        l.AssignObject(drawn.get());
        l.SamePSize = 1;
        QRect target;
        l.GetPrintRect(c.margins, {96, 96}, target, 0, 0);
        QImage device(200, 200, QImage::Format_RGB32);
        QPainter p(&device);
        l.PrintDraw(p, target, c.margins, {}, {}, QRect(0, 0, 200, 200));
        EXPECT_EQ(l.From, c.from) << c.a.x() << "," << c.a.y() << (c.margins ? " with margins" : "");
        EXPECT_EQ(l.To, c.to) << c.a.x() << "," << c.a.y() << (c.margins ? " with margins" : "");
    }
}

TEST(PriLineTest, OutputPenWidthFollowsSamePSizeAtSmallZoom) {
    QImage page(400, 550, QImage::Format_RGB32);
    TLineProbe l;
    l.BackImage = &page;
    l.SetStoreRect(QRect(100, 100, 500, 300));
    l.SamePSize = 1;
    l.ScaleToView({400, 550}, {800, 1100}, 96); // 50 %: the screen shows 0.5 as 0
    ASSERT_EQ(l.Pen.Width, 0);
    QImage out(1600, 2200, QImage::Format_RGB32);
    QPainter p(&out);
    l.DrawToImage(p, QRect(10, 10, 100, 60), out.size());
    EXPECT_EQ(l.Width, 2);
    EXPECT_EQ(l.Pen.Width, 0);
    QRect r;
    l.GetOutputRect(out.size(), TRect{}, r);
    EXPECT_EQ(l.PrintPenSize(), 2);
}
