#include "app/mainwindow/PriRuler.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

constexpr int kA4Width = 2100;      // paper units
constexpr int kA4WidthPixels = 793; // Trunc(2100 / 254 × 96)
const QColor kBack(200, 210, 220);  // ruler background in the pixel tests
const QColor kInk(255, 0, 0);       // ticks, numbers and marker

TRulerScale A4Scale(TBltUnit unit, int zoom = 1, int start = 0) {
    return TRulerScale{unit, start, kA4WidthPixels * zoom, kA4WidthPixels, kA4Width, 96};
}

bool IsInk(QRgb c) {
    return qRed(c) > 150 && qGreen(c) < 120 && qBlue(c) < 130;
}

// A ruler as the main window sets it up, drawn into an image.
struct TRulerFixture {
    TPriRuler ruler;
    explicit TRulerFixture(TBltVec vec, QSize size) {
        ruler.SetBltVec(vec);
        ruler.SetColor(QColorToColor(kBack));
        ruler.SetTextColor(QColorToColor(kInk));
        ruler.resize(size);
    }
    void SetScale(const TRulerScale& s) {
        ruler.SetBltUnit(s.Unit);
        ruler.SetBltStart(s.BltStart);
        ruler.SetBackSize(s.BackSize);
        ruler.SetBltSameSize(s.BltSameSize);
        ruler.SetBltmmSize(s.BltmmSize);
    }
    QImage Draw() {
        QImage image(ruler.size(), QImage::Format_RGB32);
        image.fill(Qt::white);
        ruler.render(&image);
        return image;
    }
};

QRect InkBounds(const QImage& image, QRect area) {
    QRect bounds;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (IsInk(image.pixel(x, y))) bounds |= QRect(x, y, 1, 1);
    return bounds;
}

} // namespace

// Every spacing over an A4 width: tick count, long/medium/short counts, the centimetre numbers,
// and the 10 mm and last ticks at their pixels.
TEST(PriRulerTest, TicksOverAnA4WidthForEachUnit) {
    struct TCase {
        TBltUnit Unit;
        int Ticks, Long, Medium, Short;
    };
    const TCase cases[] = {
        {bu10mm, 211, 22, 21, 168}, {bu20mm, 106, 22, 0, 84}, {bu25mm, 85, 22, 21, 42},
        {bu50mm, 43, 22, 21, 0},    {bu100mm, 22, 22, 0, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(TPriRuler::UnitSpacing(c.Unit));
        const std::vector<TRulerTick> ticks = TPriRuler::ComputeTicks(A4Scale(c.Unit, 1, 35));
        ASSERT_EQ(int(ticks.size()), c.Ticks);
        int levels[4] = {};
        QStringList numbers;
        for (const TRulerTick& t : ticks) {
            ++levels[t.Level];
            if (!t.Text.isEmpty()) {
                numbers << t.Text;
                EXPECT_EQ(t.Level, 1) << "numbers stand on long ticks";
            }
        }
        EXPECT_EQ(levels[1], c.Long);
        EXPECT_EQ(levels[2], c.Medium);
        EXPECT_EQ(levels[3], c.Short);
        QStringList expected;
        for (int cm = 0; cm <= 21; ++cm)
            expected << QString::number(cm);
        EXPECT_EQ(numbers, expected);

        const int tenMm = 100 / TPriRuler::UnitSpacing(c.Unit);
        EXPECT_EQ(ticks[tenMm].Pos, 35 + 37);
        EXPECT_EQ(ticks[tenMm].Text, "1");
        EXPECT_EQ(ticks.back().Pos, 35 + 793);
        EXPECT_EQ(TPriRuler::ComputeTicks(A4Scale(c.Unit, 2, 35))[tenMm].Pos, 35 + 75);
    }
}

TEST(PriRulerTest, NoTicksWithoutSizesAndBoundedWorkForDamagedSizes) {
    for (int zero = 0; zero < 3; ++zero) {
        TRulerScale s = A4Scale(bu25mm);
        (zero == 0 ? s.BltSameSize : zero == 1 ? s.BltmmSize : s.BackSize) = 0;
        EXPECT_TRUE(TPriRuler::ComputeTicks(s).empty());
        (zero == 0 ? s.BltSameSize : zero == 1 ? s.BltmmSize : s.BackSize) = -5;
        EXPECT_TRUE(TPriRuler::ComputeTicks(s).empty());
    }
    // A page of two hundred kilometres squeezed into 700 pixels: only the ticks inside the ruler,
    // and never more than a bounded number of them.
    const TRulerScale huge{bu10mm, 0, 700, 800000000, 2000000000, 96};
    const std::vector<TRulerTick> ticks = TPriRuler::ComputeTicks(huge, -40, 700);
    ASSERT_FALSE(ticks.empty());
    EXPECT_LE(ticks.size(), 100000u);
    for (const TRulerTick& t : ticks)
        EXPECT_TRUE(t.Pos >= -40 && t.Pos <= 700);
    // Scrolled far along a normal page: the window starts at the first tick inside it.
    const std::vector<TRulerTick> tail = TPriRuler::ComputeTicks(A4Scale(bu25mm, 2, -1000), 0, 500);
    ASSERT_FALSE(tail.empty());
    EXPECT_GE(tail.front().Pos, 0);
    EXPECT_LT(TPriRuler::ComputeTicks(A4Scale(bu25mm, 2, -1000), INT_MIN, -1).back().Pos, 0);
    EXPECT_EQ(tail.front().N, TPriRuler::ComputeTicks(A4Scale(bu25mm, 2, -1000), INT_MIN, -1).back().N + 1);
}

TEST(PriRulerTest, PaintsTicksBorderAndMarker) {
    TRulerFixture f(bvHorz, QSize(400, 25));
    f.SetScale(A4Scale(bu25mm, 1, 35));
    f.ruler.SetBltStrCheck(false);
    QImage image = f.Draw();
    // Raised edge: light top and left, dark bottom and right.
    EXPECT_GT(qGray(image.pixel(100, 0)), qGray(image.pixel(100, 24)));
    EXPECT_GT(qGray(image.pixel(0, 12)), qGray(image.pixel(399, 12)));
    // The 10 mm tick is long (from a quarter of the height down), the 2.5 mm one short.
    for (int y = 6; y < 24; ++y)
        EXPECT_TRUE(IsInk(image.pixel(35 + 37, y))) << y;
    EXPECT_FALSE(IsInk(image.pixel(35 + 37, 5)));
    const int short25 = TPriRuler::ComputeTicks(A4Scale(bu25mm, 1, 35))[1].Pos;
    EXPECT_TRUE(IsInk(image.pixel(short25, 18)));
    EXPECT_FALSE(IsInk(image.pixel(short25, 17)));

    // No sizes: background, border and marker only; no marker at (−1, −1).
    f.ruler.SetBltSameSize(0);
    image = f.Draw();
    EXPECT_FALSE(InkBounds(image, image.rect()).isValid());
    f.ruler.SetPointerMark(QPoint(100, -1));
    image = f.Draw();
    EXPECT_EQ(InkBounds(image, image.rect()), QRect(135, 0, 1, 25));

    TRulerFixture v(bvVert, QSize(25, 300));
    v.SetScale(A4Scale(bu25mm, 1, 35));
    v.ruler.SetBltSameSize(0);
    v.ruler.SetPointerMark(QPoint(100, 40)); // the vertical ruler follows y only
    image = v.Draw();
    EXPECT_EQ(InkBounds(image, image.rect()), QRect(0, 75, 25, 1));
}

// The numbers run along the ruler: across on the horizontal one, down the vertical one in the
// vertical face, and stay so after many repaints.
TEST(PriRulerTest, NumbersRunAlongTheRuler) {
    // The 10 cm tick at 20 pixels, the 11 cm one at 58: the number lies between them.
    const TRulerScale scale{bu100mm, 20 - 377, 793, 793, 2100, 96};
    TRulerFixture h(bvHorz, QSize(60, 25));
    h.ruler.setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック")));
    h.SetScale(scale);
    const QRect across = InkBounds(h.Draw(), QRect(22, 0, 34, 25));
    ASSERT_TRUE(across.isValid());
    EXPECT_GE(across.left(), 25);
    EXPECT_GT(across.width(), across.height());

    TRulerFixture v(bvVert, QSize(25, 60));
    v.ruler.setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック")));
    v.SetScale(scale);
    const QImage first = v.Draw();
    const QRect down = InkBounds(first, QRect(0, 22, 25, 34));
    ASSERT_TRUE(down.isValid());
    EXPECT_GE(down.top(), 25);
    EXPECT_GE(down.left(), 6);
    EXPECT_LT(down.right(), 25);
    EXPECT_GT(down.height(), down.width());

    for (int i = 0; i < 30; ++i)
        v.Draw();
    EXPECT_EQ(v.Draw(), first);
    EXPECT_EQ(v.ruler.LastNumberFace(), QStringLiteral("@ＭＳ Ｐゴシック"));
    EXPECT_EQ(h.ruler.LastNumberFace(), QStringLiteral("ＭＳ Ｐゴシック"));
    // A control font that already names the vertical face gains no second at sign.
    v.ruler.setFont(QFont(QStringLiteral("@ＭＳ Ｐゴシック")));
    v.Draw();
    EXPECT_EQ(v.ruler.LastNumberFace(), QStringLiteral("@ＭＳ Ｐゴシック"));

    // Without BltStrCheck only the tick remains.
    v.ruler.SetBltStrCheck(false);
    EXPECT_FALSE(InkBounds(v.Draw(), QRect(0, 22, 25, 34)).isValid());
}

// Pictures to look at: build/tests/komorebi_tests --gtest_also_run_disabled_tests
// --gtest_filter='*RulerPictures*' writes them to /tmp/komorebi-rulers.
TEST(PriRulerTest, DISABLED_RulerPictures) {
    const TBltUnit units[] = {bu25mm, bu20mm, bu10mm, bu100mm};
    const int zooms[] = {1, 2, 3, 0};
    const char* names[] = {"25mm", "20mm", "10mm", "100mm"};
    for (int scale : {1, 2}) {
        for (int i = 0; i < 4; ++i) {
            const int back = zooms[i] ? kA4WidthPixels * zooms[i] : 520;
            const TRulerScale s{units[i], 35, back, kA4WidthPixels, kA4Width, 96};
            for (TBltVec vec : {bvHorz, bvVert}) {
                TPriRuler ruler;
                ruler.setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック")));
                ruler.SetBltVec(vec);
                ruler.SetBltUnit(s.Unit);
                ruler.SetBltStart(s.BltStart);
                ruler.SetBackSize(s.BackSize);
                ruler.SetBltSameSize(s.BltSameSize);
                ruler.SetBltmmSize(s.BltmmSize);
                ruler.SetPointerMark(QPoint(100, 100));
                ruler.resize(vec == bvHorz ? QSize(620, 25) : QSize(25, 620));
                QImage image(ruler.size() * scale, QImage::Format_RGB32);
                image.setDevicePixelRatio(scale);
                ruler.render(&image);
                image.save(QStringLiteral("/tmp/komorebi-rulers-%1-%2-x%3.png")
                               .arg(names[i], vec == bvHorz ? "h" : "v")
                               .arg(scale));
            }
        }
    }
}
