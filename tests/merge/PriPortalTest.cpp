#include "merge/PriPortal.h"
#include "platform/StreamReader.h"
#include "platform/StreamWriter.h"

#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

QImage Canvas(int w = 200, int h = 200) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

int CountColour(const QImage& image, QRgb colour, const QRect& area) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += image.pixel(x, y) == colour;
    return n;
}

void MakePortal(TPriPortal& p, int rows, int rowHeight) {
    p.SetBounds(10, 10, 100, rowHeight * rows);
    p.SetRows(rows);
    p.ObjHeight = rowHeight;
    p.Brush.Style = bsClear;
}

// Counts the lines a drawing hands to the paint engine, however long they are.
class TLineEngine : public QPaintEngine {
public:
    TLineEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawLines(const QLine*, int count) override { lines += count; }
    void drawLines(const QLineF*, int count) override { lines += count; }
    void drawRects(const QRect*, int) override {}
    void drawRects(const QRectF*, int) override {}
    void drawPath(const QPainterPath&) override {}
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    void drawPolygon(const QPoint*, int, PolygonDrawMode) override {}
    Type type() const override { return QPaintEngine::User; }
    int lines = 0;
};

class TLineCounter : public QPaintDevice {
public:
    QPaintEngine* paintEngine() const override { return &fEngine; }
    int Lines() const { return fEngine.lines; }

protected:
    int metric(PaintDeviceMetric m) const override {
        switch (m) {
        case PdmWidth:
        case PdmHeight: return 400;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY: return 96;
        case PdmDepth: return 32;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return int(QPaintDevice::devicePixelRatioFScale());
        default: return 0;
        }
    }

private:
    mutable TLineEngine fEngine;
};

} // namespace

TEST(PriPortalTest, OneRowDrawsNoDividerAndNoHatch) {
    for (int rows : {1, 3}) {
        TPriPortal p;
        MakePortal(p, rows, 20);
        QImage image = Canvas();
        QPainter canvas(&image);
        p.DrawObject(bmLayout, canvas);
        canvas.end();
        const QRect inside(11, 11, 98, 20 * rows - 2);
        const int grey = CountColour(image, qRgb(192, 192, 192), inside);
        const int black = CountColour(image, qRgb(0, 0, 0), inside);
        if (rows == 1) {
            EXPECT_EQ(grey, 0);
            EXPECT_EQ(black, 0);
        } else {
            EXPECT_GT(grey, 0);
            // The first row is live and stays clear of the hatch.
            EXPECT_EQ(CountColour(image, qRgb(192, 192, 192), QRect(11, 11, 98, 18)), 0);
            EXPECT_EQ(image.pixel(50, 30), qRgb(0, 0, 0)); // first divider at top + 20
            EXPECT_EQ(image.pixel(50, 50), qRgb(0, 0, 0));
        }
    }
}

TEST(PriPortalTest, PrintUsesHeightPlusOneOverRowsAndFourTimesThePenSize) {
    TPriPortal p;
    MakePortal(p, 10, 10);
    QImage image = Canvas(300, 300);
    QPainter canvas(&image);
    p.PrintDraw(canvas, QRect(20, 20, 200, 99), false, {}, {}, QRect(0, 0, 300, 300));
    canvas.end();
    // Row height (99 + 1) / 10 = 10: dividers at 30, 40, ...; the pen is 4 pixels wide.
    EXPECT_EQ(image.pixel(100, 30), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(100, 110), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(100, 35), qRgb(255, 255, 255));
    // No hatch on paper.
    EXPECT_EQ(CountColour(image, qRgb(192, 192, 192), image.rect()), 0);
    // Nothing outside the clip.
    QImage clipped = Canvas(300, 300);
    QPainter c2(&clipped);
    p.PrintDraw(c2, QRect(20, 20, 200, 99), false, {}, {}, QRect(0, 0, 300, 50));
    c2.end();
    EXPECT_EQ(CountColour(clipped, qRgb(0, 0, 0), QRect(0, 50, 300, 250)), 0);
}

TEST(PriPortalTest, ScalePenWidthTruncatesUpToSevenTenths) {
    struct Case {
        int view, paper, same, width;
    } cases[] = {{250, 100, 1, 2}, {280, 100, 1, 3}, {100, 100, 3, 3}, {50, 100, 1, 0}};
    for (const Case& c : cases) {
        TPriPortal p;
        p.SamePSize = c.same;
        p.ScalePenWidth({c.view, c.view}, {c.paper, c.paper});
        EXPECT_EQ(p.Pen.Width, c.width) << c.view << "/" << c.paper;
    }
}

TEST(PriPortalTest, SizeByKeepsAtLeastOnePixelPerRow) {
    TPriPortal p;
    MakePortal(p, 4, 15);
    p.SizeBy({5, -20});
    EXPECT_EQ(p.ObjHeight, 1);
    EXPECT_EQ(p.Height, 4);
    EXPECT_EQ(p.Width, 105);
    p.SizeBy({0, 9});
    EXPECT_EQ(p.ObjHeight, 10);
    EXPECT_EQ(p.Height, 40);
}

TEST(PriPortalTest, HandlesAndTrackingWorkOnTheFirstRow) {
    TPriPortal p;
    MakePortal(p, 5, 20);
    p.SetForcusCheck(true);
    EXPECT_EQ(p.Handle(5).Top, 10 + 20 - 3);
    EXPECT_EQ(p.Handle(3).Top, 10 + 10 - 3);
    EXPECT_EQ(p.Handle(7).Left, 10 + 100 - 3);
    p.BeginTrack();
    EXPECT_EQ(p.TrackRect(), (TRect{10, 10, 110, 30}));
    p.TrackSize(7, {10, 6});
    EXPECT_EQ(p.TrackRect(), (TRect{10, 10, 120, 36}));
    p.ApplyTrack();
    EXPECT_EQ(p.ObjHeight, 26);
    EXPECT_EQ(p.Height, 26 * 5);
    EXPECT_EQ(p.Width, 110);
    // Dragging the top edge past the bottom swaps them.
    p.BeginTrack();
    p.TrackSize(1, {0, 40});
    EXPECT_EQ(p.TrackRect(), (TRect{10, 36, 120, 50}));
}

TEST(PriPortalTest, ScaleToViewDerivesTheRowHeightFromTheHeight) {
    TPriPortal p;
    p.SetStoreRect(QRect(0, 0, 254, 254)); // one inch
    p.SetRows(4);
    p.ScaleToView({96, 96}, {96, 96}, 96);
    EXPECT_EQ(p.Height, 96);
    EXPECT_EQ(p.ObjHeight, 24);
}

TEST(PriPortalTest, RecordRoundTripsAndZeroRowsBecomeOne) {
    TPriPortal p;
    MakePortal(p, 7, 12);
    p.SetStoreRect(QRect(100, 200, 300, 400));
    p.Dataname = QStringLiteral("明細.CSV");
    p.Pen.Color = 0x00112233;
    p.Pen.Style = psDot;
    p.SamePSize = 3;
    p.Brush.Color = -16;
    p.Brush.Style = bsDiagCross;
    TStreamWriter w;
    ASSERT_TRUE(p.SaveToStream(w, 6));
    // Header 7 * 4, ObjHeight, Rows, name (4 + 8 CP932 bytes), pen colour 8, style, size, brush 8, style.
    EXPECT_EQ(w.Size(), 28 + 4 + 4 + 12 + 8 + 4 + 4 + 8 + 4);

    TStreamReader r(w.Bytes());
    TPriPortal q;
    ASSERT_TRUE(q.LoadFromStream(r, 6));
    EXPECT_TRUE(r.AtEnd());
    EXPECT_EQ(q.Rows, 7);
    EXPECT_EQ(q.ObjHeight, 12);
    EXPECT_EQ(q.Dataname, p.Dataname);
    EXPECT_EQ(q.Pen, p.Pen);
    EXPECT_EQ(q.Brush, p.Brush);
    EXPECT_EQ(q.SamePSize, 3);
    TStreamWriter again;
    q.SaveToStream(again, 6);
    EXPECT_EQ(again.Bytes(), w.Bytes());

    QByteArray zero = w.Bytes();
    const int32_t rows = 0;
    memcpy(zero.data() + 32, &rows, 4);
    TStreamReader zr(zero);
    TPriPortal z;
    ASSERT_TRUE(z.LoadFromStream(zr, 6));
    EXPECT_EQ(z.Rows, 1);
    z.ScaleToView({96, 96}, {96, 96}, 96); // would divide by zero with no rows

    for (qsizetype cut = 0; cut < w.Size(); ++cut) {
        TStreamReader tr(w.Bytes().left(cut));
        TPriPortal t;
        EXPECT_FALSE(t.LoadFromStream(tr, 6)) << cut;
    }
}

TEST(PriPortalTest, CopiesCarryRowsEvenWhenLayoutOnly) {
    TPriPortal source;
    MakePortal(source, 6, 10);
    source.Dataname = QStringLiteral("x.CSV");
    source.SamePSize = 2;
    source.Pen.Color = clRed;
    TPriPortal full, layout;
    full.AssignObject(&source, false);
    layout.AssignObject(&source, true);
    EXPECT_EQ(full.Rows, 6);
    EXPECT_EQ(full.Dataname, "x.CSV");
    EXPECT_EQ(full.SamePSize, 2);
    EXPECT_EQ(full.Pen.Color, clRed);
    EXPECT_EQ(layout.Rows, 6);
    EXPECT_EQ(layout.ObjHeight, 10);
    EXPECT_EQ(layout.Pen.Color, clBlack);
    EXPECT_TRUE(layout.Dataname.isEmpty());
}

TEST(PriPortalTest, HugeRowCountsDrawWithoutEndlessDividers) {
    // A damaged record's row count may not turn into more dividers than the frame has pixel rows.
    const struct {
        int rows;
        int rowHeight;
        int frameHeight;
        int layoutLines; // dividers drawn on the page
    } cases[] = {{2000000000, 50, 50, 1}, {2000000000, 1, 100, 100}, {5, 20, 100, 4}, {2000000000, 0, 100, 0}};
    for (const auto& c : cases) {
        TPriPortal p;
        MakePortal(p, 1, c.rowHeight);
        p.SetRows(c.rows);
        p.ObjHeight = c.rowHeight;
        p.Height = c.frameHeight;
        TLineCounter layout;
        {
            QPainter canvas(&layout);
            p.DrawObject(bmLayout, canvas);
        }
        EXPECT_EQ(layout.Lines(), c.layoutLines) << c.rows << " " << c.rowHeight;
        TLineCounter print;
        {
            QPainter canvas(&print);
            p.PrintDraw(canvas, QRect(0, 0, 100, 100), false, {}, {}, QRect(0, 0, 200, 200));
        }
        EXPECT_LE(print.Lines(), 100) << c.rows;
        if (c.rows == 5) {
            EXPECT_EQ(print.Lines(), 4);
        }
        p.SizeBy({0, 10});
        EXPECT_GT(p.Height, 0);
    }
}

TEST(PriPortalTest, DamagedPenSizeStaysInsideTheFrame) {
    for (int32_t size : {-600000000, -3, 600000000}) {
        TPriPortal p;
        MakePortal(p, 10, 10);
        p.SamePSize = size;
        QImage image = Canvas(300, 300);
        QPainter canvas(&image);
        p.PrintDraw(canvas, QRect(100, 20, 100, 99), false, {}, {}, image.rect());
        p.ScalePenWidth({100, 100}, {100, 100});
        p.DrawObject(bmLayout, canvas);
        canvas.end();
        if (size < 0) {
            // Dividers end at the right edge less the pen width: a negative width must not carry them away.
            EXPECT_EQ(CountColour(image, qRgb(0, 0, 0), QRect(0, 0, 5, 300)), 0) << size;
            EXPECT_EQ(CountColour(image, qRgb(0, 0, 0), QRect(205, 0, 95, 300)), 0) << size;
        }
    }
}
