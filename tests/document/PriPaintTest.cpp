#include "calendar/PriCarendar.h"
#include "document/OutMessage.h"
#include "document/EditHistory.h"
#include "document/EditStep.h"
#include "document/PriPaint.h"
#include "support/BoxObject.h"
#include "support/EditSurface.h"
#include "support/FixedPrinter.h"
#include "platform/Rounding.h"

#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <map>
#include <gtest/gtest.h>

namespace {

class TRecordingHost : public TPaintHost {
public:
    QStringList Messages;
    QString Position;
    void ShowMessage(const QString& text) override { Messages << text; }
    void ShowPositionText(const QString& text) override { Position = text; }
};

struct TSurfaceFixture {
    TFixedPrinter* Printer;
    std::unique_ptr<TPriPaint> Surface;

    explicit TSurfaceFixture(std::array<int32_t, 16> paper = {0, 0, 1, 0, 2100, 2970, 0, 0, 0, 0, 0, 0, 1, 1, 2100,
                                                              2970}) {
        auto printer = std::make_unique<TFixedPrinter>();
        Printer = printer.get();
        Surface = std::make_unique<TPriPaint>(nullptr, QString(), 96, std::move(printer));
        Surface->PrintPaper.SetFields(paper);
    }
    TPriPaint& operator*() { return *Surface; }
    TPriPaint* operator->() { return Surface.get(); }
};

TBoxObject* AddBox(TPriPaint& s, QRect stored, QColor fill = Qt::red) {
    auto box = std::make_unique<TBoxObject>(fill);
    box->SetStoreRect(stored);
    return static_cast<TBoxObject*>(s.AppendObject(std::move(box)));
}

} // namespace

TEST(PriPaintTest, PagePixelsAtEveryZoom) {
    struct TCase {
        TBltSize Zoom;
        QSize View;
    } cases[] = {{bsNormal, {793, 1122}}, {bs200, {1586, 2244}}, {bs300, {2379, 3366}}, {bs400, {3172, 4488}}};
    for (const TCase& c : cases) {
        TSurfaceFixture s;
        s->BltSizeCheck = c.Zoom;
        s->SetPageLayout({10, 10}, {600, 400});
        EXPECT_EQ(s->PaperPixels(), QSize(793, 1122));
        EXPECT_EQ(s->ViewSize(), c.View);
        EXPECT_EQ(s->PageBitmap().size(), c.View);
        EXPECT_EQ(s->pos(), QPoint(10, 10)); // larger than the area: placed at the origin
    }
}

TEST(PriPaintTest, PagePlacementInTheArea) {
    struct TCase {
        const char* Name;
        TBltSize Zoom;
        std::array<int32_t, 16> Paper;
        QPoint Origin;
        QSize Area;
        QRect Expected;
    } cases[] = {
        // Stretch, portrait 1000 x 1480: height 495, width 1000 * 500 / 1480.
        {"stretch portrait",
         bsStretch,
         {0, 0, 1, 0, 1000, 1480, 0, 0, 0, 0, 0, 0, 1, 1, 1000, 1480},
         {10, 10},
         {700, 500},
         {191, 10, 337, 495}},
        // Stretch, landscape card 1480 x 1000 on a 2 x 1 sheet: width first.
        {"stretch landscape",
         bsStretch,
         {0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 1, 1480, 1000},
         {10, 10},
         {700, 500},
         {10, 10 + (500 - 472) / 2, 695, 472}},
        // Stretch, landscape too tall for the area: height limited.
        {"stretch landscape tall",
         bsStretch,
         {0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 1, 1100, 1000},
         {10, 10},
         {700, 500},
         {10 + (700 - 550) / 2, 10, 550, 500}},
        // 100 %: centred only when half the free space exceeds the origin offset.
        {"normal centred",
         bsNormal,
         {0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 1, 1000, 1000},
         {10, 10},
         {600, 600},
         {10 + (600 - 377) / 2, 10 + (600 - 377) / 2, 377, 377}},
        {"normal not centred",
         bsNormal,
         {0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 1, 1000, 1000},
         {10, 10},
         {377 + 15, 377 + 15},
         {10, 10, 377, 377}},
    };
    for (const TCase& c : cases) {
        TSurfaceFixture s(c.Paper);
        s->BltSizeCheck = c.Zoom;
        s->SetPageLayout(c.Origin, c.Area);
        EXPECT_EQ(QRect(s->pos(), s->ViewSize()), c.Expected) << c.Name;
    }
}

TEST(PriPaintTest, ObjectsFollowTheZoom) {
    TSurfaceFixture s;
    TBoxObject* box = AddBox(*s, {254, 508, 254, 127});
    s->BltSizeCheck = bs200;
    s->SetPageLayout({10, 10}, {600, 400});
    EXPECT_EQ(box->BoundsRect(), (TRect{192, 384, 384, 480}));
    EXPECT_EQ(box->Handle(7), (TRect{381, 477, 388, 484}));
    EXPECT_EQ(box->BackImage, &s->PageBitmap());
}

TEST(PriPaintTest, MarginFrameOnlyOnSingleSeats) {
    for (bool single : {true, false}) {
        TSurfaceFixture s;
        if (!single) s->PrintPaper.FSeatColumns = 2;
        s.Printer->Metrics = TFixedPrinter::A4At600();
        s->SetPageLayout({10, 10}, {600, 400});
        // 118 of 4961 device pixels on a 793-pixel view.
        EXPECT_EQ(s->MarginPixels(), (TRect{18, 18, 18, 18}));
        s->RedrawPage(nullptr, false, true);
        int red = 0;
        for (int y = 0; y < s->ViewSize().height(); ++y)
            if (s->PageBitmap().pixelColor(18, y) == QColor(Qt::red)) ++red;
        if (single)
            EXPECT_GT(red, 300);
        else
            EXPECT_EQ(red, 0);
    }
}

TEST(PriPaintTest, GridHasALineEveryFiveMillimetres) {
    TSurfaceFixture s;
    s->SetPageLayout({10, 10}, {600, 400});
    const TRect whole{0, 0, 793, 1122};
    const auto cols = s->GridColumns(whole);
    ASSERT_EQ(cols.size(), 43u); // 0, 5, ... 210 mm
    EXPECT_EQ(cols[0], (TPriPaint::TGridLine{0, true}));
    EXPECT_EQ(cols[1], (TPriPaint::TGridLine{18, false}));
    EXPECT_EQ(cols[2], (TPriPaint::TGridLine{37, true}));
    EXPECT_EQ(cols[42], (TPriPaint::TGridLine{793, true}));
    EXPECT_EQ(s->GridRows(whole).size(), 60u); // 0 ... 295 mm
    // Only the lines inside the redrawn area are drawn.
    EXPECT_EQ(s->GridColumns({30, 0, 60, 100}).size(), 2u);

    s->SetBltGridCheck(true);
    s->GridColor = RGBColor(0, 0, 255);
    s->RedrawPage(nullptr, false, true);
    int blue = 0;
    for (int y = 0; y < 1122; ++y)
        if (s->PageBitmap().pixelColor(37, y) == QColor(Qt::blue)) ++blue;
    EXPECT_EQ(blue, 1122); // a solid centimetre line runs the whole height
}

TEST(PriPaintTest, RedrawSkipsDeletedObjectsAndObjectsOutsideTheArea) {
    TSurfaceFixture s;
    TBoxObject* inside = AddBox(*s, {0, 0, 254, 254});
    TBoxObject* deleted = AddBox(*s, {300, 0, 254, 254}, Qt::green);
    TBoxObject* outside = AddBox(*s, {1500, 2500, 254, 254});
    deleted->UndoCheck = true;
    s->SetPageLayout({10, 10}, {600, 400});
    s->SetVisibleRect(0, 0, 400, 300);
    s->RedrawPage(nullptr, false, false);
    EXPECT_EQ(inside->Draws, 1);
    EXPECT_EQ(deleted->Draws, 0);
    EXPECT_EQ(outside->Draws, 0);
    EXPECT_EQ(s->PageBitmap().pixelColor(150, 50), QColor(Qt::white));

    s->RedrawPage(nullptr, false, true);
    EXPECT_EQ(outside->Draws, 1);
    EXPECT_EQ(deleted->Draws, 0);
    EXPECT_TRUE(s->HasVisibleObjects());
}

TEST(PriPaintTest, VisibleRectIsClippedToTheView) {
    TSurfaceFixture s;
    s->SetPageLayout({10, 10}, {600, 400});
    s->SetVisibleRect(700, 1000, 400, 400);
    EXPECT_EQ(s->VisibleRect(), (TRect{700, 1000, 793, 1122}));
}

TEST(PriPaintTest, StartMonthArithmetic) {
    struct TCase {
        int Year, Stored, Start, OutYear, OutMonth;
    } cases[] = {{2024, 3, 11, 2025, 1},
                 {2024, 1, 11, 2024, 11},
                 {2024, 12, 1, 2024, 12},
                 {2024, 12, 12, 2025, 11},
                 {2025, 2, 12, 2026, 1}};
    for (const TCase& c : cases) {
        int y, m;
        TPriDocument::ShiftMonth(c.Year, c.Stored, c.Start, y, m);
        EXPECT_EQ(y, c.OutYear) << c.Stored << "+" << c.Start;
        EXPECT_EQ(m, c.OutMonth) << c.Stored << "+" << c.Start;
    }
}

TEST(PriPaintTest, PaperWithoutSizeIsSafe) {
    for (TBltSize zoom : {bsNormal, bsStretch, bs200}) {
        TSurfaceFixture s({0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 0, 0});
        TBoxObject* box = AddBox(*s, {10, 10, 100, 100});
        s->BltSizeCheck = zoom;
        s->SetBltGridCheck(true);
        s->SetPageLayout({10, 10}, {600, 400});
        s->SetVisibleRect(0, 0, 600, 400);
        s->RedrawPage(nullptr, true, true);
        s->RedrawPage(nullptr, true, false);
        EXPECT_EQ(s->ViewSize(), QSize(0, 0));
        EXPECT_EQ(box->Draws, 0);
    }
}

TEST(PriPaintTest, PrinterPaperIsMatchedWithinOneTenthMillimetre) {
    {
        TSurfaceFixture s;
        s.Printer->Papers = {{5, 2160, 2790, "Letter"}, {9, 2101, 2969, "A4"}, {10, 2100, 2970, "A4 exact"}};
        s->ApplyPaperToPrinter();
        EXPECT_EQ(s.Printer->SelectedPaper, 9); // the first within one unit, in the driver's order
        EXPECT_TRUE(s.Printer->SelectedPortrait);
    }
    {
        TSurfaceFixture s({0, 0, 0, 0, 1480, 1000, 0, 0, 0, 0, 0, 0, 1, 1, 1000, 1480});
        s.Printer->Papers = {{9, 2100, 2970, "A4"}, {256, 0, 0, "User"}};
        s->ApplyPaperToPrinter();
        EXPECT_EQ(s.Printer->SelectedPaper, 256);
        EXPECT_EQ(s.Printer->CustomSize, QSize(1480, 1000));
        EXPECT_FALSE(s.Printer->SelectedPortrait);
    }
    {
        TSurfaceFixture s;
        TRecordingHost host;
        s->SetHost(&host);
        s.Printer->Papers = {{256, 0, 0, "User"}};
        s.Printer->CustomSucceeds = false;
        s->PrintPaper.FSheetWidth = 1000;
        s->ApplyPaperToPrinter();
        EXPECT_EQ(s.Printer->SelectedPaper, -1);
        EXPECT_EQ(host.Messages, QStringList{QStringLiteral("ユーザー定義サイズセット失敗")});
    }
    {
        TSurfaceFixture s;
        s.Printer->Papers = {{9, 2000, 2970, "Other"}};
        s->ApplyPaperToPrinter();
        EXPECT_EQ(s.Printer->SelectedPaper, -1);
    }
}

TEST(PriPaintTest, PositionTextOfTheFirstSelectedObject) {
    TSurfaceFixture s;
    TRecordingHost host;
    s->SetHost(&host);
    TBoxObject* box = AddBox(*s, {125, 259, 1000, 509});
    s->SetPageLayout({10, 10}, {600, 400});
    s->RedrawPage(nullptr, false, true);
    EXPECT_EQ(host.Position, QString());
    s->SelectList().append(box);
    box->SetForcusCheck(true);
    s->RedrawPage(nullptr, false, true);
    EXPECT_EQ(host.Position, QStringLiteral("X : 12mm   Y : 25mm   W : 100mm   H : 50mm"));
}

TEST(PriPaintTest, ClearAndRenumber) {
    TSurfaceFixture s;
    AddBox(*s, {0, 0, 10, 10});
    TBoxObject* second = AddBox(*s, {0, 0, 10, 10});
    EXPECT_EQ(second->ListNum, 1);
    std::swap(s->Objects()[0], s->Objects()[1]);
    s->RenumberObjects();
    EXPECT_EQ(second->ListNum, 0);
    s->SelectList().append(second);
    EXPECT_TRUE(s->HasSelection());
    s->ClearDocument();
    EXPECT_FALSE(s->HasSelection());
    EXPECT_FALSE(s->HasVisibleObjects());
}

TEST(PriPaintTest, EndingTheHistoryDestroysOnlyWhatItsStepsLeftHidden) {
    // e edit in force, u the edit taken back; a deletion, an addition or a move of the middle box.
    struct TCase {
        TUndoKind Kind;
        bool Undone;
        size_t Left;
    } cases[] = {{ukDelete, false, 2}, {ukDelete, true, 3}, {ukAdd, false, 4}, {ukAdd, true, 3}, {ukMove, false, 3}};
    for (const TCase& c : cases) {
        TSurfaceFixture s;
        AddBox(*s, {0, 0, 10, 10});
        TBoxObject* target = AddBox(*s, {0, 0, 10, 10});
        AddBox(*s, {0, 0, 10, 10});
        {
            TEditStep step(*s, c.Kind);
            step.Record(c.Kind == ukAdd ? s->AppendObject(std::make_unique<TBoxObject>()) : target);
            if (c.Kind == ukMove) target->MoveBy({5, 0});
        }
        if (c.Undone) s->Undo();
        s->History().Clear();
        EXPECT_EQ(s->Objects().size(), c.Left) << int(c.Kind) << " " << c.Undone;
        EXPECT_FALSE(s->CanUndo());
        EXPECT_FALSE(s->CanRedo());
        EXPECT_EQ(s->Objects().back()->ListNum, int(c.Left) - 1);
    }
}

TEST(PriPaintTest, GiantPaperGetsNoPage) {
    TSurfaceFixture s({0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 2000000000, 2000000000});
    s->BltSizeCheck = bs400;
    s->SetPageLayout({10, 10}, {600, 400});
    EXPECT_EQ(s->ViewSize(), QSize(0, 0));
    EXPECT_TRUE(s->PageBitmap().isNull());
    s->RedrawPage(nullptr, false, true);
}

TEST(PriPaintTest, GridOfAHugePaperFittedToTheWindowHasAtMostALinePerPixel) {
    TSurfaceFixture s({0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 2000000000, 2000000000});
    s->BltSizeCheck = bsStretch;
    s->SetBltGridCheck(true);
    s->SetPageLayout({10, 10}, {600, 400});
    ASSERT_EQ(s->ViewSize(), QSize(400, 395));
    const TRect whole{0, 0, 400, 395};
    const auto cols = s->GridColumns(whole);
    EXPECT_LE(cols.size(), 401u);
    EXPECT_EQ(cols.front().Pos, 0);
    for (size_t i = 1; i < cols.size(); ++i)
        EXPECT_EQ(cols[i].Pos, cols[i - 1].Pos + 1);
    EXPECT_LE(s->GridRows(whole).size(), 396u);
    s->SetVisibleRect(100, 100, 50, 50);
    EXPECT_LE(s->GridColumns(s->VisibleRect()).size(), 51u);
    s->RedrawPage(nullptr, false, true);
    s->RedrawPage(nullptr, false, false);

    // A paper just a little denser than the pixels: every pixel gets the style of the last line on it.
    TSurfaceFixture a4;
    a4->BltSizeCheck = bsStretch;
    a4->SetPageLayout({10, 10}, {60, 60});
    const QSize v = a4->ViewSize();
    const auto got = a4->GridColumns({0, 0, v.width(), v.height()});
    const double scale = double(v.width()) / a4->PaperPixels().width();
    std::vector<TPriPaint::TGridLine> expected;
    for (int i = 0; i <= 2100 / 50; ++i) {
        const int x = Trunc(scale * (i * 50 / 254.0 * 96));
        if (!expected.empty() && expected.back().Pos == x)
            expected.back().Solid = i % 2 == 0;
        else
            expected.push_back({x, i % 2 == 0});
    }
    EXPECT_EQ(got, expected);
}

TEST(PriPaintTest, StartMonthRedatesCalendarsInSequence) {
    TSurfaceFixture s;
    std::vector<TPriCarendar*> cals;
    for (int stored : {1, 2, 3}) {
        auto cal = std::make_unique<TPriCarendar>();
        cal->SetMonth(stored);
        cals.push_back(static_cast<TPriCarendar*>(s->AppendObject(std::move(cal))));
    }
    s->ApplyStartMonth(2025, 11);
    EXPECT_EQ(std::make_pair(cals[0]->Year(), cals[0]->Month()), std::make_pair(2025, 11));
    EXPECT_EQ(std::make_pair(cals[1]->Year(), cals[1]->Month()), std::make_pair(2025, 12));
    EXPECT_EQ(std::make_pair(cals[2]->Year(), cals[2]->Month()), std::make_pair(2026, 1));
    s->ApplyStartMonth(-1, 4); // nothing happens without a start
    EXPECT_EQ(cals[0]->Month(), 11);
}

TEST(PriPaintTest, AddingAPictureFromAFile) {
    QTemporaryDir dir;
    QImage picture(40, 20, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    const QString png = dir.filePath("scan.png"), bad = dir.filePath("bad.png");
    ASSERT_TRUE(picture.save(png));
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a picture");
    f.close();

    TOutMessage messages;
    messages.LoadFromBytes("0:a\r\n1:b\r\n2:c\r\n3:unreadable\r\n4:raised\r\n");
    TSurfaceFixture s;
    TRecordingHost host;
    s->SetHost(&host);
    s->OutMess = &messages;
    s->SetPageLayout({10, 10}, {600, 400});

    EXPECT_FALSE(s->AddImageFromFile(QString()));
    EXPECT_FALSE(s->AddImageFromFile(bad));
    EXPECT_EQ(host.Messages, (QStringList{QStringLiteral("失敗しました"), QStringLiteral("unreadable")}));
    EXPECT_FALSE(s->HasVisibleObjects());

    ASSERT_TRUE(s->AddImageFromFile(png));
    ASSERT_EQ(s->Objects().size(), 1u);
    EXPECT_EQ(s->Objects()[0]->ObjectNum, okImage);
    EXPECT_EQ(s->Objects()[0]->BoundsRect(), TRect::FromBounds(0, 0, 793 / 3, 1122 / 3));
    EXPECT_TRUE(s->CanUndo());
    EXPECT_EQ(s->SelectList().size(), 1);
    EXPECT_EQ(s->SelectCheck, mnSearchOn);
    EXPECT_EQ(s->PageBitmap().pixelColor(100, 187), QColor(Qt::blue));

    s->SetBackgroundFromFile(png);
    EXPECT_FALSE(s->BackObject.IsEmpty());
    EXPECT_EQ(s->PageBitmap().pixelColor(700, 1000), QColor(Qt::blue));
}

TEST(PriPaintTest, ChoosingAToolSetsTheScrollBoxCursor) {
    QWidget scrollBox;
    auto* s = new TPriPaint(&scrollBox, QString(), 96, std::make_unique<TFixedPrinter>());
    s->SetObjectMode(omLabel);
    EXPECT_EQ(s->ObjectMode(), omLabel);
    EXPECT_EQ(scrollBox.cursor().shape(), Qt::ForbiddenCursor); // no handle under the pointer
    const Qt::CursorShape shapes[] = {Qt::SizeFDiagCursor, Qt::SizeVerCursor,  Qt::SizeBDiagCursor,
                                      Qt::SizeHorCursor,   Qt::SizeHorCursor,  Qt::SizeBDiagCursor,
                                      Qt::SizeVerCursor,   Qt::SizeFDiagCursor};
    for (int h = 0; h < 8; ++h)
        EXPECT_EQ(TPriPaint::CursorForHandle(h), shapes[h]) << h;
    EXPECT_EQ(TPriPaint::CursorForHandle(-100), Qt::ForbiddenCursor);
}

// A screen of two device pixels per view pixel: the bitmap doubles, everything else keeps view pixels.
TEST(PriPaintTest, HighDensityPageKeepsViewPixelsForObjects) {
    TSurfaceFixture s;
    TBoxObject* box = AddBox(*s, {254, 508, 254, 127}, Qt::blue);
    s->SetDevicePixelRatio(2);
    s->SetPageLayout({10, 10}, {600, 400});
    EXPECT_EQ(s->ViewSize(), QSize(793, 1122));
    EXPECT_EQ(s->PageBitmap().size(), QSize(1586, 2244));
    EXPECT_EQ(s->PageBitmap().devicePixelRatio(), 2.0);
    EXPECT_EQ(box->PageSize(), QSize(793, 1122));
    EXPECT_EQ(box->BoundsRect(), (TRect{96, 192, 192, 240}));
    s->SetBltGridCheck(true);
    s->GridColor = RGBColor(255, 0, 0);
    s->RedrawPage(nullptr, false, true);
    // The box covers device pixels 192..383 across; the grid line at view pixel 37 covers two
    // neighbouring device pixels, crisp rather than smeared over more.
    EXPECT_EQ(s->PageBitmap().pixelColor(200, 400), QColor(Qt::blue));
    EXPECT_EQ(s->PageBitmap().pixelColor(382, 478), QColor(Qt::blue));
    EXPECT_EQ(s->PageBitmap().pixelColor(386, 478), QColor(Qt::white));
    int red = 0;
    for (int x = 60; x < 90; ++x)
        if (s->PageBitmap().pixelColor(x, 1000) == QColor(Qt::red)) ++red;
    EXPECT_EQ(red, 2);
    EXPECT_EQ(s->PageBitmap().pixelColor(73, 1000), QColor(Qt::red));
    EXPECT_EQ(s->PageBitmap().pixelColor(74, 1000), QColor(Qt::red));

    // Back at one pixel per view pixel the page is drawn exactly as before.
    TSurfaceFixture plain;
    AddBox(*plain, {254, 508, 254, 127}, Qt::blue);
    plain->SetPageLayout({10, 10}, {600, 400});
    plain->RedrawPage(nullptr, false, true);
    s->SetDevicePixelRatio(1);
    s->SetBltGridCheck(false);
    s->RedrawPage(nullptr, false, true);
    EXPECT_EQ(s->PageBitmap(), plain->PageBitmap());
}

TEST(PriPaintTest, KeysTheEditorDoesNotKnowAreHandedBack) {
    TSurfaceFixture s;
    // The window's own shortcuts and typed letters must go on to normal processing.
    for (auto [key, ctrl] :
         {std::pair{int(Qt::Key_F5), false}, {int(Qt::Key_A), false}, {int(Qt::Key_Q), true}, {int(Qt::Key_S), true}})
        EXPECT_FALSE(s->HandleKey(key, false, ctrl)) << key;
}

namespace {

bool AllPlaced(const TPriLabel& l) {
    return !l.Glyphs().empty() && std::all_of(l.Glyphs().begin(), l.Glyphs().end(), [](auto& g) { return g.Text; });
}

TPriLabel* AddSized(TEditSurface& s, QRect stored, const QString& text, int points, TFontAngle angle = faSide) {
    auto label = std::make_unique<TPriLabel>();
    label->Font.setFamily(QStringLiteral("ＭＳ ゴシック"));
    label->SameFSize = points;
    label->SetFontAngle(angle);
    label->SetDataString(text);
    return s.Add(std::move(label), stored);
}

int RedPixels(const QImage& image, const QRect& area) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            n += c.red() > 200 && c.green() < 80 && c.blue() < 80;
        }
    return n;
}

} // namespace

// The size box asked for a size the box cannot hold: the box grows from the side its alignment holds,
// in the writing direction, as one step that undo takes back with the size.
TEST(PriPaintTest, SizeBoxGrowsTheBoxOfATextItNoLongerFits) {
    struct TCase {
        const char* Name;
        QRect Stored;
        const char16_t* Text;
        TFontAngle Angle;
        TSidePos Side;
        TLongPos Long;
        int From, To;
        int HeldX, HeldY; // the point of each axis that stays: 0 start, 1 middle, 2 end; -1 no growth
    } cases[] = {
        {"CALENDAR in a 7 mm box", {100, 100, 700, 70}, u"CALENDAR", faSide, psLeft, tlTop, 10, 20, 0, 0},
        {"year heading centred", {300, 300, 400, 150}, u"2027", faSide, psCenter, tlCenter, 36, 72, 1, 1},
        {"right-aligned line", {300, 500, 300, 100}, u"こよみ", faSide, psRight, tlBottom, 10, 36, 2, 2},
        {"vertical column", {1500, 300, 70, 600}, u"こよみ", faLong, psRight, tlTop, 10, 20, 2, 0},
        {"vertical against the left edge", {1500, 300, 70, 300}, u"こよみ印刷", faLong, psLeft, tlTop, 10, 24, 0, 0},
        {"already too small before", {100, 1200, 700, 70}, u"CALENDAR", faSide, psLeft, tlTop, 20, 24, -1, -1},
    };
    const auto point = [](int start, int size, int held) { return 2 * start + held * size; };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TEditSurface s;
        TPriLabel* text = AddSized(s, c.Stored, QString::fromUtf16(c.Text), c.From, c.Angle);
        text->SidePos = c.Side;
        text->LongPos = c.Long;
        text->ScaleToView(s->ViewSize(), s->PaperPixels(), 96);
        const bool grows = c.HeldX >= 0;
        ASSERT_EQ(AllPlaced(*text), grows);
        s->SelectObject(text);
        s->SetFontSize(c.To);
        s->SetFontSize(c.To); // the same size again is no new step
        EXPECT_EQ(text->SameFSize, c.To);
        const QRect b = c.Stored, a = text->StoreRect();
        EXPECT_EQ(AllPlaced(*text), grows);
        EXPECT_EQ(a != b, grows);
        if (grows) {
            EXPECT_TRUE(a.width() >= b.width() && a.height() >= b.height());
            EXPECT_NEAR(point(a.x(), a.width(), c.HeldX), point(b.x(), b.width(), c.HeldX), 2);
            EXPECT_NEAR(point(a.y(), a.height(), c.HeldY), point(b.y(), b.height(), c.HeldY), 2);
        }
        s->Undo();
        EXPECT_EQ(text->SameFSize, c.From);
        EXPECT_EQ(text->StoreRect(), b);
        EXPECT_EQ(AllPlaced(*text), grows);
    }
}

// A text that lost characters shows a red mark at its lower right on screen; print and export leave
// the characters out without any mark.
TEST(PriPaintTest, TextsThatLostCharactersAreMarkedOnScreenOnly) {
    TEditSurface s;
    TPriLabel* lost = AddSized(s, {100, 100, 700, 70}, QStringLiteral("CALENDAR"), 20);
    TPriLabel* fits = AddSized(s, {100, 400, 700, 70}, QStringLiteral("CALENDAR"), 10);
    ASSERT_FALSE(AllPlaced(*lost));
    ASSERT_TRUE(AllPlaced(*fits));
    s->RedrawPage(nullptr, false, true);
    const auto corner = [](const TPriLabel* l) {
        return QRect(l->Left + l->Width / 2, l->Top, l->Width - l->Width / 2, l->Height);
    };
    EXPECT_GT(RedPixels(s->PageBitmap(), corner(lost)), 10);
    EXPECT_EQ(RedPixels(s->PageBitmap(), corner(fits)), 0);

    QImage paper(1654, 2339, QImage::Format_RGB32); // A4 at 200 dpi
    paper.fill(Qt::white);
    {
        QPainter p(&paper);
        QRect r;
        lost->GetPrintRect(false, {200, 200}, r, 0, 0);
        lost->PrintDraw(p, r, false, {0, 0}, TRect{}, paper.rect());
        lost->DrawToImage(p, paper.rect(), paper.size());
    }
    EXPECT_EQ(RedPixels(paper, paper.rect()), 0);
}

TEST(PriPaintTest, UnsavedChangesFollowEditStepsUndoAndSaves) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("m.tda"));
    // n nudge, u undo, r redo, s save, l load, c click without movement, a alignment cancelled, b background hidden.
    // Back at the saved point is unmodified again; two nudges within a second are one step.
    const struct {
        const char* Steps;
        bool Modified;
    } cases[] = {{"", false},   {"n", true},   {"nu", false},   {"nur", true},   {"nuu", false},
                 {"nbu", true}, {"ns", false}, {"nsnu", false}, {"c", false},    {"nscu", false},
                 {"a", false},  {"b", true},   {"snl", false},  {"nusr", false}, {"nnu", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Steps);
        TEditSurface s;
        s.AddRow(3);
        bool told = false; // what the window was told last is what its title shows
        QObject::connect(s.Surface.get(), &TPriPaint::ModifiedChanged, [&](bool modified) { told = modified; });
        for (const char* step = c.Steps; *step; ++step) {
            s->DeselectAll();
            s->SelectObject(s->Objects()[0].get());
            const std::map<char, std::function<void()>> act = {
                {'n', [&] { s->NudgeSelection(1, 0); }},
                {'u', [&] { s->Undo(); }},
                {'r', [&] { s->Redo(); }},
                {'s', [&] { ASSERT_TRUE(s->SaveToFile(file, 0)); }},
                {'l', [&] { ASSERT_TRUE(s->LoadFromFile(file, 0)); }},
                {'c', [&] { s.Click(s->Objects()[2]->BoundsRect().ToQRect().center()); }},
                {'a', [&] { s->SelectAll(), s->AlignObjects(); }},
                {'b', [&] { s->ToggleBackground(); }}};
            act.find(*step)->second();
        }
        EXPECT_EQ(s->IsModified(), c.Modified);
        EXPECT_EQ(told, c.Modified);
    }
}
