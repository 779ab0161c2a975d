#include "objects/PriLabel.h"
#include "objects/VerticalText.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

// Counts pixels that are not white inside and outside a rectangle.
struct TInk {
    int inside = 0;
    int outside = 0;
};

TInk CountInk(const QImage& image, const QRect& box) {
    TInk ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 200) (box.contains(x, y) ? ink.inside : ink.outside)++;
    return ink;
}

// Renders a text object the way the page redraw does and writes the picture beside the build.
QImage RenderSample(TPriLabel& label, const QString& name) {
    QImage page(420, 420, QImage::Format_RGB32);
    page.fill(Qt::white);
    label.BackImage = &page;
    label.ScaleToView(page.size(), page.size(), 96);
    QPainter p(&page);
    label.DrawObject(bmLayout, p);
    p.end();
    label.BackImage = nullptr;
    page.save(QDir(QStringLiteral(KOMOREBI_BINARY_DIR)).filePath(name));
    return page;
}

void SetUpSample(TPriLabel& label, TFontAngle angle) {
    label.Font.setFamily(QStringLiteral("ＭＳ 明朝"));
    label.SameFSize = 20;
    label.SmallCheck = true;
    label.KinsokuCheck = true;
    label.LongKanaCheck = true;
    label.SetFontAngle(angle);
    label.SetStoreRect(QRect(212, 212, 900, 900)); // 20 mm margin, 90 mm box at 96 dpi: 80..420
    label.SetDataString(QStringLiteral("二〇二六年「春」の予定：桜は3月28日(土)に満開、ABC文庫も。\r\n"
                                       "ちょっと－ゃゅょーっ…～（株）Qt6、(月)(a)(b)"));
}

} // namespace

TEST(VerticalTextTest, HalfWidthCharactersLieSidewaysFullWidthOnesStandUpright) {
    struct TCase {
        char32_t c;
        bool sideways;
    } cases[] = {{U'A', true},       {U'7', true},       {U'(', true},       {U'\uFF71', true},  {U'\u3042', false},
                 {U'\u3002', false}, {U'\uFF21', false}, {U'\u30FC', false}, {U'\u00D7', false}, {U'\u00E9', true}};
    for (const TCase& c : cases)
        EXPECT_EQ(TVerticalText::IsSideways(c.c), c.sideways) << std::hex << uint32_t(c.c);
}

TEST(VerticalTextTest, FullWidthCharactersAdvanceOneEmDownTheColumn) {
    QFont f(QStringLiteral("IPAMincho"));
    f.setPixelSize(20);
    auto v = TVerticalText::For(f);
    EXPECT_EQ(v->Advance(U'\u3042'), 20);
    EXPECT_EQ(v->Advance(U'\u300C'), 20); // 「 through its vertical form
    EXPECT_GT(v->Advance(U'i'), 0);
    EXPECT_LT(v->Advance(U'i'), 20); // sideways Latin keeps its proportional width
    EXPECT_EQ(v->Advance(U'\r'), 0);
    EXPECT_EQ(TVerticalText::For(f).get(), v.get());
}

TEST(VerticalTextTest, VerticalSampleStaysInsideItsBoxInRightToLeftColumns) {
    TPriLabel label;
    SetUpSample(label, faLong);
    const QImage page = RenderSample(label, QStringLiteral("label-vertical.png"));
    const TInk ink = CountInk(page, QRect(80, 80, 340, 340));
    EXPECT_GT(ink.inside, 2000);
    EXPECT_EQ(ink.outside, 0);

    ASSERT_GE(label.BltStrings().size(), 2);
    // Kanji numerals stand for the digits in vertical writing.
    EXPECT_TRUE(label.BltStrings()[0].startsWith(QStringLiteral("二〇二六年")));
    EXPECT_TRUE(label.BltStrings().join(QString()).contains(QStringLiteral("三月二八日")));
    int lastColumn = INT_MAX;
    int index = 0;
    for (const QString& line : label.BltStrings()) {
        const int count = int(line.toStdU32String().size());
        int previousY = -1, column = INT_MIN;
        for (int i = 0; i < count; ++i, ++index) {
            const TGlyphRec& g = label.Glyphs()[size_t(index)];
            if (g.Text == 0) continue;
            EXPECT_GT(g.Y, previousY) << "characters run down the column";
            previousY = g.Y;
            if (!g.Small && g.Text != TPriLabel::kUprightChar) {
                if (column == INT_MIN) column = g.X;
                EXPECT_EQ(g.X, column) << "one right edge per column";
            }
        }
        if (column != INT_MIN) {
            EXPECT_LT(column, lastColumn) << "columns run right to left";
            lastColumn = column;
        }
    }
}

TEST(VerticalTextTest, HorizontalSampleStaysInsideItsBoxInTopToBottomLines) {
    TPriLabel label;
    SetUpSample(label, faSide);
    const QImage page = RenderSample(label, QStringLiteral("label-horizontal.png"));
    const TInk ink = CountInk(page, QRect(80, 80, 340, 340));
    EXPECT_GT(ink.inside, 2000);
    EXPECT_EQ(ink.outside, 0);
    // Digits stay digits in horizontal writing.
    EXPECT_TRUE(label.BltStrings()[0].startsWith(QStringLiteral("二〇二六年「春」")));
    EXPECT_TRUE(label.DataString().contains(QStringLiteral("3月28日")));
    EXPECT_TRUE(label.BltStrings().join(QString()).contains(QStringLiteral("3月28日")));
    int index = 0, lastY = INT_MIN;
    for (const QString& line : label.BltStrings()) {
        const int count = int(line.toStdU32String().size());
        int previousX = INT_MIN, baseY = INT_MIN;
        for (int i = 0; i < count; ++i, ++index) {
            const TGlyphRec& g = label.Glyphs()[size_t(index)];
            if (g.Text == 0) continue;
            EXPECT_GT(g.X, previousX);
            previousX = g.X;
            if (!g.Small) {
                if (baseY == INT_MIN) baseY = g.Y;
                EXPECT_EQ(g.Y, baseY);
            }
        }
        if (baseY != INT_MIN) {
            EXPECT_GT(baseY, lastY);
            lastY = baseY;
        }
    }
}

TEST(VerticalTextTest, SizesOfOneFontShareOneShaperFace) {
    QFont small(QStringLiteral("IPAGothic"));
    small.setPixelSize(17);
    TVerticalText first(small);
    const int faces = TVerticalText::SharedFaceCount();
    QFont large = small;
    large.setPixelSize(171);
    TVerticalText second(large);
    EXPECT_EQ(TVerticalText::SharedFaceCount(), faces);
    // The shared face scales: the same character advances ten times as far at ten times the size.
    EXPECT_NEAR(second.Advance(U'あ'), 10 * first.Advance(U'あ'), 10);
    EXPECT_EQ(first.Advance(U'あ'), 17);
}
