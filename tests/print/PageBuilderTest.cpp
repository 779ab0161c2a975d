#include "document/PriDocument.h"
#include "document/PriPaint.h"
#include "print/PageBuilder.h"
#include "print/OutputJob.h"
#include "support/BoxObject.h"
#include "support/FixedPrinter.h"

#include <QPainter>
#include <array>
#include <climits>
#include <gtest/gtest.h>

namespace {

// Records where the print drawing placed it.
class TPrintProbe : public TBoxObject {
public:
    std::vector<QRect> Targets;
    std::vector<QRect> Clips;
    std::vector<TRect> Margins;
    void PrintDraw(QPainter&, const QRect& target, bool, QPoint, const TRect& margins, const QRect& clip) override {
        Targets.push_back(target);
        Clips.push_back(clip);
        Margins.push_back(margins);
    }
};

} // namespace

TEST(PageBuilderTest, SeatsOfACardSheetAndTheSingleSeatOrigin) {
    TPriDocument doc{QString()};
    // Business cards: 2 columns x 5 rows of 91 x 55 mm with 10 mm and 0 mm gaps.
    doc.PrintPaper.SetFields({0, 0, 1, 0, 2100, 2970, 140, 110, 0, 0, 100, 0, 2, 5, 910, 550});
    auto probe = std::make_unique<TPrintProbe>();
    probe->SetStoreRect({254, 127, 508, 254});
    TPrintProbe* p = static_cast<TPrintProbe*>(doc.AppendObject(std::move(probe)));
    auto hidden = std::make_unique<TPrintProbe>();
    hidden->PrintCheck = false;
    TPrintProbe* h = static_cast<TPrintProbe*>(doc.AppendObject(std::move(hidden)));

    TPrinterMetrics m = TFixedPrinter::A4At600();
    TPageBuilder builder(doc, m);
    EXPECT_EQ(builder.SeatSize(), QSize(2149, 1299)); // Trunc(910 / 254 * 600), Trunc(550 / 254 * 600)
    EXPECT_EQ(builder.SeatStep(), QSize(2149 + 236, 1299));

    QImage page(10, 10, QImage::Format_RGB32);
    QPainter canvas(&page);
    builder.DrawPlainSheet(canvas);
    ASSERT_EQ(p->Targets.size(), 10u);
    EXPECT_TRUE(h->Targets.empty());
    // Not a single seat: no margins, ten device pixels of slack.
    EXPECT_EQ(p->Targets[0], QRect(600, 300, 1210, 610));
    EXPECT_EQ(p->Targets[3], QRect(600 + 2385, 300 + 1299, 1210, 610));
    EXPECT_EQ(p->Clips[3], QRect(QPoint(2385, 1299), QSize(2149, 1299)));
}

TEST(PageBuilderTest, SingleSeatIsPlacedFromTheSheetEdge) {
    TPriDocument doc{QString()};
    doc.PrintPaper.SetFields({0, 0, 1, 0, 2100, 2970, 0, 0, 0, 0, 0, 0, 1, 1, 2100, 2970});
    auto probe = std::make_unique<TPrintProbe>();
    probe->SetStoreRect({254, 254, 254, 254});
    TPrintProbe* p = static_cast<TPrintProbe*>(doc.AppendObject(std::move(probe)));
    TPrinterMetrics m = TFixedPrinter::A4At600(); // 118 device pixels = 4.99 mm offsets
    TPageBuilder builder(doc, m);
    EXPECT_EQ(builder.SeatSize(), QSize(4961 - 236, 7016 - 236));
    QImage page(10, 10, QImage::Format_RGB32);
    QPainter canvas(&page);
    builder.DrawPlainSheet(canvas);
    ASSERT_EQ(p->Targets.size(), 1u);
    // One inch from the sheet edge is 600 - 118 pixels from the printable origin.
    EXPECT_NEAR(p->Targets[0].x(), 600 - 118, 1);
    EXPECT_NEAR(p->Targets[0].y(), 600 - 118, 1);
    EXPECT_EQ(p->Targets[0].size(), QSize(600, 600));
}

TEST(PageBuilderTest, DamagedPaperPrintsNothing) {
    TPriDocument doc{QString()};
    doc.PrintPaper.SetFields({0, 0, 1, 0, 2100, 2970, 0, 0, 0, 0, 2000000000, 0, 3, 1, 2000000000, 550});
    auto probe = std::make_unique<TPrintProbe>();
    TPrintProbe* p = static_cast<TPrintProbe*>(doc.AppendObject(std::move(probe)));
    TPageBuilder builder(doc, TFixedPrinter::A4At600());
    EXPECT_FALSE(builder.IsPrintable());
    QImage page(10, 10, QImage::Format_RGB32);
    QPainter canvas(&page);
    builder.DrawPlainSheet(canvas);
    EXPECT_TRUE(p->Targets.empty());
}

TEST(PageBuilderTest, SeatsOffTheSheetAreSkippedAndSeatArithmeticStaysInRange) {
    struct TCase {
        const char* Name;
        std::array<int32_t, TPriPaper::kFieldCount> Paper;
        size_t Drawn;
    } cases[] = {
        // 2 x 5 cards on A4: every seat starts on the sheet.
        {"business cards", {0, 0, 1, 0, 2100, 2970, 140, 110, 0, 0, 100, 0, 2, 5, 910, 550}, 10},
        // Ten columns of 50 mm from 10 mm: columns 5 to 9 start beyond the 210 mm sheet.
        {"grid wider than the sheet", {0, 0, 1, 0, 2100, 2970, 100, 0, 0, 0, 0, 0, 10, 2, 500, 500}, 8},
        // Landscape card sheet: the 297 mm side lies across.
        {"landscape sheet", {0, 0, 0, 0, 2100, 2970, 100, 0, 0, 0, 0, 0, 10, 2, 500, 500}, 12},
        // A first seat beyond the sheet leaves nothing to draw.
        {"first seat off the sheet", {0, 0, 1, 0, 2100, 2970, 3000, 0, 0, 0, 0, 0, 2, 2, 500, 500}, 0},
        // Steps of 2 m: only the first of 1000 columns lies on the sheet.
        {"1000 columns of 2 m steps", {0, 0, 1, 0, 2100, 2970, 0, 0, 0, 0, 20000, 0, 1000, 1, 10, 10}, 1},
    };
    for (const TCase& c : cases) {
        TPriDocument doc{QString()};
        doc.PrintPaper.SetFields(c.Paper);
        auto* p = static_cast<TPrintProbe*>(doc.AppendObject(std::make_unique<TPrintProbe>()));
        TPageBuilder builder(doc, TFixedPrinter::A4At600());
        QImage page(10, 10, QImage::Format_RGB32);
        QPainter canvas(&page);
        builder.DrawPlainSheet(canvas);
        EXPECT_EQ(p->Targets.size(), c.Drawn) << c.Name;
        for (const QRect& t : p->Targets)
            EXPECT_LT(t.x(), 7016) << c.Name;
    }
    // Seat origins of a damaged grid saturate instead of wrapping round.
    TPriDocument doc{QString()};
    doc.PrintPaper.SetFields({0, 0, 1, 0, 2100, 2970, 0, 0, 0, 0, 1000000, 1000000, 1000, 1000, 10, 10});
    const QPoint far = TPageBuilder(doc, TFixedPrinter::A4At600()).SeatOrigin(999, 999);
    EXPECT_EQ(far, QPoint(INT_MAX, INT_MAX));
}

TEST(PageBuilderTest, TextIsPlacedByTheMarginsOfTheDeviceThePageIsBuiltFor) {
    auto printer = std::make_unique<TFixedPrinter>();
    printer->Metrics = TFixedPrinter::A4At600();
    TPriPaint doc(nullptr, QString(), 96, std::move(printer));
    doc.PrintPaper.SetFields({0, 0, 1, 0, 2100, 2970, 0, 0, 0, 0, 0, 0, 1, 1, 2100, 2970});
    doc.SetPageLayout({0, 0}, {794, 1123});
    doc.RecomputeMargins();
    auto* p = static_cast<TPrintProbe*>(doc.AppendObject(std::make_unique<TPrintProbe>()));
    QImage page(10, 10, QImage::Format_RGB32);
    QPainter canvas(&page);
    // For the printer the page shows, then for a PDF of the sheet, which has no unprintable edges.
    TPageBuilder(doc.Document(), TFixedPrinter::A4At600()).DrawPlainSheet(canvas);
    TPageBuilder(doc.Document(), TOutputJob::SheetMetrics(doc.Document(), 300)).DrawPlainSheet(canvas);
    ASSERT_EQ(p->Margins.size(), 2u);
    EXPECT_GT(p->Margins[0].Left, 0);
    EXPECT_EQ(p->Margins[0], doc.MarginPixels());
    EXPECT_EQ(p->Margins[1], TRect{});
}
