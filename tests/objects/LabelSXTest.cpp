#include "objects/LabelSX.h"

#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QImage Render(TLabelSX& label) {
    QImage image(label.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    label.render(&image);
    return image;
}

// The bounding box of the dark pixels.
QRect Ink(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 160) box |= QRect(x, y, 1, 1);
    return box;
}

void Prepare(TLabelSX& label, int angle) {
    QFont f(QStringLiteral("ＭＳ ゴシック"));
    f.setPointSize(12);
    label.setFont(f);
    label.resize(200, 200);
    label.SetBltAngle(angle);
    label.SetCaption(QStringLiteral("ページを作成中"));
}

} // namespace

TEST(LabelSXTest, BltAngleIsNormalised) {
    const int cases[][2] = {{90, 900},    {900, 900}, {180, 1800}, {1800, 1800}, {270, 2700},
                            {2700, 2700}, {45, 0},    {-900, 0},   {0, 0}};
    TLabelSX label;
    for (const auto& c : cases) {
        label.SetBltAngle(c[0]);
        EXPECT_EQ(label.BltAngle(), c[1]) << c[0];
    }
    label.SetBltAngle(1800);
    EXPECT_FALSE(label.Vertical());
    label.SetBltAngle(900);
    EXPECT_TRUE(label.Vertical());
}

TEST(LabelSXTest, CaptionBreaksAtTheWidthOrTheHeight) {
    TLabelSX label;
    Prepare(label, 0);
    label.resize(64, 200); // 16 px characters: four to a line
    EXPECT_EQ(label.Lines(), (QStringList{QStringLiteral("ページを"), QStringLiteral("作成中")}));
    label.SetBltAngle(2700);
    EXPECT_EQ(label.Lines(), (QStringList{QStringLiteral("ページを作成中")}));
}

TEST(LabelSXTest, AlignmentsPlaceTheInk) {
    struct TCase {
        int angle;
        TSidePos side;
        TLongPos lng;
        const char* where;
    } cases[] = {
        {0, psRight, tlBottom, "bottom-right"}, {0, psCenter, tlCenter, "centre"},
        {2700, psRight, tlTop, "top-right"},    {2700, psLeft, tlBottom, "bottom-left"},
        {2700, psKintou, tlKintou, "spread"},
    };
    for (const TCase& c : cases) {
        TLabelSX label;
        Prepare(label, c.angle);
        label.SetSidePos(c.side);
        label.SetLongPos(c.lng);
        const QRect ink = Ink(Render(label));
        const std::string where = c.where;
        ASSERT_FALSE(ink.isEmpty()) << where;
        if (where == "bottom-right") {
            EXPECT_GT(ink.right(), 190);
            EXPECT_GT(ink.bottom(), 185);
        } else if (where == "centre") {
            EXPECT_NEAR(ink.center().x(), 100, 6);
            EXPECT_NEAR(ink.center().y(), 100, 6);
        } else if (where == "top-right") {
            EXPECT_GT(ink.right(), 185);
            EXPECT_LT(ink.top(), 6);
            EXPECT_GT(ink.height(), ink.width() * 3); // one column
        } else if (where == "bottom-left") {
            EXPECT_LT(ink.left(), 10);
            EXPECT_GT(ink.bottom(), 185);
        } else {
            // One column is centred across; its characters are spread from top to bottom.
            EXPECT_NEAR(ink.center().x(), 100, 6);
            EXPECT_LT(ink.top(), 8);
            EXPECT_GT(ink.bottom(), 190);
        }
    }
}

TEST(LabelSXTest, ClickSignalsAndTransparencyKeepsTheBackground) {
    TLabelSX label;
    Prepare(label, 0);
    label.SetTransparent(false);
    label.SetColor(Qt::blue);
    label.SetCaption(QString());
    const QImage image = Render(label);
    EXPECT_EQ(image.pixel(5, 5), qRgb(0, 0, 255));
    QSignalSpy spy(&label, &TLabelSX::clicked);
    QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(spy.count(), 1);
}
