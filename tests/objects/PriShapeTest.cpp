#include "objects/PriShape.h"
#include "platform/StreamReader.h"
#include "platform/StreamWriter.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;

QImage Page(int w, int h, QColor fill = Qt::white) {
    QImage page(w, h, QImage::Format_RGB32);
    page.fill(fill);
    return page;
}

// A filled RoundRect in one colour, so that any pixel inside the corner arc is coloured.
std::unique_ptr<TPriShape> BlueRoundRect(QImage& page) {
    auto s = std::make_unique<TPriShape>();
    s->Shape = TBltShape::RoundRect;
    s->Pen.Color = clBlue;
    s->Brush.Color = clBlue;
    s->BackImage = &page;
    return s;
}

} // namespace

TEST(PriShapeTest, RoundRectCornerStaysTenPixelsAtZoomAndIsConvertedOnPaper) {
    QImage page = Page(400, 400);
    auto s = BlueRoundRect(page);
    // 200 %: a view twice the paper pixels. The corner must not grow with the zoom.
    s->SetStoreRect(QRect(0, 0, 254, 254));
    s->ScaleToView(QSize(400, 400), QSize(200, 200), 96);
    s->SetBounds(10, 10, 100, 100);
    {
        QPainter p(&page);
        s->DrawObject(bmLayout, p);
    }
    // (12,12) lies inside a 10-pixel corner ellipse, outside a 20-pixel one.
    EXPECT_NE(page.pixel(12, 12), kWhite);
    EXPECT_EQ(page.pixel(10, 10), kWhite);

    // On a 600 dpi page the corner is RoundNum in device pixels: Nearest(600 / 96 × 10) = 62.
    QRect r;
    s->GetPrintRect(true, QPoint(600, 600), r, 0, 0);
    EXPECT_EQ(s->PrintRound(), 62);
    QImage device = Page(600, 600);
    {
        QPainter p(&device);
        s->PrintDraw(p, QRect(100, 100, 400, 400), true, {}, {}, QRect(0, 0, 600, 600));
    }
    EXPECT_EQ(device.pixel(104, 104), kWhite); // outside the 31-pixel arc and its 6-pixel pen
    EXPECT_NE(device.pixel(120, 120), kWhite);
    EXPECT_NE(device.pixel(300, 300), kWhite);
}

TEST(PriShapeTest, EraserBlanksTheBackgroundOnScreenAndOnPaper) {
    QImage page = Page(100, 100, Qt::red);
    TPriShape s;
    s.Shape = TBltShape::Eraser;
    s.BackImage = &page;
    s.SetBounds(10, 10, 30, 30);
    {
        QPainter p(&page);
        s.DrawObject(bmLayout, p);
    }
    EXPECT_EQ(page.pixel(10, 10), kWhite);
    EXPECT_EQ(page.pixel(39, 39), kWhite);
    EXPECT_EQ(page.pixel(40, 40), QColor(Qt::red).rgb());

    QImage device = Page(100, 100, Qt::red);
    {
        QPainter p(&device);
        s.PrintDraw(p, QRect(50, 50, 80, 80), true, {}, {}, QRect(0, 0, 90, 90));
    }
    EXPECT_EQ(device.pixel(60, 60), kWhite);
    // The page clip holds on paper: nothing beyond it is touched.
    EXPECT_EQ(device.pixel(95, 95), QColor(Qt::red).rgb());
}

TEST(PriShapeTest, PenWidthFollowsZoomWithThePointSevenRule) {
    struct Case {
        int same;
        QSize view, paper;
        int want;
    } cases[] = {
        {3, {100, 100}, {100, 100}, 3}, // 100 %
        {3, {200, 200}, {100, 100}, 6}, // 200 %
        {1, {18, 18}, {10, 10}, 2},     // 1.8 rounds up
        {1, {17, 17}, {10, 10}, 1},     // 1.7 truncates
    };
    for (const Case& c : cases) {
        TPriShape s;
        s.SamePSize = c.same;
        s.ScaleToView(c.view, c.paper, 96);
        EXPECT_EQ(s.Pen.Width, c.want) << c.same << " at " << c.view.height() << "/" << c.paper.height();
    }
    TPriShape s;
    s.SamePSize = 3;
    s.ScaleToView({100, 100}, {100, 100}, 96);
    QRect r;
    s.GetPrintRect(true, QPoint(600, 600), r, 0, 0);
    EXPECT_EQ(s.PrintPenSize(), 19); // Nearest(600 / 96 × 3) = Nearest(18.75)
}

TEST(PriShapeTest, RecordKeepsRoundNumFromVersionFiveOnly) {
    TPriShape s;
    s.SetStoreRect(QRect(10, 20, 300, 400));
    s.Shape = TBltShape::Ellipse;
    s.Pen = TPriPen{RGBColor(1, 2, 3), 4, psDashDot};
    s.Brush = TPriBrush{RGBColor(200, 100, 50), bsCross};
    s.SamePSize = 4;
    s.RoundNum = 25;

    TStreamWriter w6, w4;
    ASSERT_TRUE(s.SaveToStream(w6, 6));
    ASSERT_TRUE(s.SaveToStream(w4, 4));
    EXPECT_EQ(w6.Size(), 7 * 4 + 4 + 8 + 4 + 4 + 8 + 4 + 4);
    EXPECT_EQ(w4.Size(), w6.Size() - 4);

    TPriShape back;
    TStreamReader r6(w6.Bytes());
    ASSERT_TRUE(back.LoadFromStream(r6, 6));
    TStreamWriter again;
    back.SaveToStream(again, 6);
    EXPECT_EQ(again.Bytes(), w6.Bytes());
    EXPECT_EQ(back.RoundNum, 25);
    EXPECT_EQ(back.Shape, TBltShape::Ellipse);

    TPriShape old;
    TStreamReader r4(w4.Bytes());
    ASSERT_TRUE(old.LoadFromStream(r4, 4));
    EXPECT_EQ(old.RoundNum, 10);
    EXPECT_EQ(old.Brush.Style, bsCross);
    EXPECT_TRUE(r4.AtEnd());

    // A record cut short fails.
    TStreamReader cut(w6.Bytes().left(w6.Size() - 2));
    TPriShape broken;
    EXPECT_FALSE(broken.LoadFromStream(cut, 6));
}

TEST(PriShapeTest, LayoutOnlyCopyLeavesThePenAndShape) {
    TPriShape a, b, c;
    a.SetBounds(1, 2, 3, 4);
    a.Shape = TBltShape::RectAngle;
    a.RoundNum = 30;
    b.AssignObject(&a, true);
    EXPECT_EQ(b.BoundsRect(), a.BoundsRect());
    EXPECT_EQ(b.Shape, TBltShape::Nothing);
    EXPECT_EQ(b.RoundNum, 10);
    c.AssignObject(&a);
    EXPECT_EQ(c.Shape, TBltShape::RectAngle);
    EXPECT_EQ(c.RoundNum, 30);
}

namespace {

// Records the pen width each drawing asks for.
class TWidthProbe : public TPriShape {
public:
    int Drawn = -1;
    void DrawShape(QPainter& canvas, const TRect& rect, TBltMode mode, int penWidth, const TRect& clip) override {
        Drawn = penWidth;
        TPriShape::DrawShape(canvas, rect, mode, penWidth, clip);
    }
};

} // namespace

// Exported pictures scale the pen from SamePSize: a zoom below 100 % has already cut the displayed
// width (1.5 to 1, 0.5 to 0), and scaling that up again would thin every outline of the export.
TEST(PriShapeTest, OutputPenWidthFollowsSamePSizeNotTheRoundedScreenWidth) {
    struct Case {
        int same;
        int zoomPercent;
        int outputScale; // output size over the page bitmap
        int want;
    } cases[] = {
        {3, 50, 4, 6},  // displayed 1 (1.5 truncated)
        {1, 50, 4, 2},  // displayed 0
        {3, 100, 2, 6}, // no rounding on screen: the same either way
        {2, 200, 1, 4},
    };
    for (const Case& c : cases) {
        const QSize paper(800, 1100);
        const QSize view(paper.width() * c.zoomPercent / 100, paper.height() * c.zoomPercent / 100);
        QImage page = Page(view.width(), view.height());
        TWidthProbe s;
        s.Shape = TBltShape::RectAngle;
        s.SamePSize = c.same;
        s.BackImage = &page;
        s.SetStoreRect(QRect(100, 100, 500, 300));
        s.ScaleToView(view, paper, 96);
        const QSize output = view * c.outputScale;
        QImage out(output, QImage::Format_RGB32);
        QPainter p(&out);
        s.DrawToImage(p, QRect(10, 10, 100, 60), output);
        EXPECT_EQ(s.Drawn, c.want) << c.same << " at " << c.zoomPercent << "%";
        EXPECT_EQ(s.Pen.Width, std::max(0, c.same * c.zoomPercent / 100)) << "displayed width restored";
        QRect r;
        s.GetOutputRect(output, TRect{}, r);
        EXPECT_EQ(s.PrintPenSize(), c.want) << c.same << " at " << c.zoomPercent << "%";
    }
}
