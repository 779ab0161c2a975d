#include "merge/PostalCode.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

constexpr double kDpi = 300;
double Px(double mm) {
    return mm * kDpi / 25.4;
}

// A white 300-dpi picture with the field at 10 mm, 10 mm; store is the field's size in 0.1 mm.
struct TCard {
    QImage Image{int(Px(80)), int(Px(30)), QImage::Format_RGB32};
    QSize Store;
    QRectF Target;
    explicit TCard(QSize store = QSize(477, 80)) : Store(store) {
        Image.fill(Qt::white);
        Target = QRectF(Px(10), Px(10), Px(store.width() / 10.0), Px(store.height() / 10.0));
    }
    bool Ink(int x, int y) const { return qGray(Image.pixel(x, y)) < 128; }
    bool Red(double xMm, double yMm) const {
        const QColor c = Image.pixelColor(int(Px(xMm)), int(Px(yMm)));
        return c.red() > 200 && c.green() < 80 && c.blue() < 80;
    }
    // The ink's bounds inside r (device pixels), null when there is none.
    QRect InkIn(const QRectF& r) const {
        QRect b;
        const QRect area = r.toAlignedRect().intersected(Image.rect());
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (Ink(x, y)) b |= QRect(x, y, 1, 1);
        return b;
    }
};

} // namespace

TEST(PostalCodeTest, DigitsAcceptSevenDigitsInTheUsualSpellings) {
    const struct {
        const char16_t* Value;
        const char* Digits;
    } cases[] = {
        {u"123-4567", "1234567"},
        {u"1234567", "1234567"},
        {u"１２３４５６７", "1234567"},
        {u"１２３－４５６７", "1234567"},
        {u" 123-4567 ", "1234567"},
        {u"12-345", ""},
        {u"12345678", ""},
        {u"123-45a7", ""},
        {u"", ""},
        {u"〒123-4567", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TPostalCode::Digits(QString::fromUtf16(c.Value)), QString::fromLatin1(c.Digits))
            << QString::fromUtf16(c.Value).toStdString();
}

// The boxes keep Japan Post's millimetres whatever size the field was drawn at.
TEST(PostalCodeTest, BoxesLieAtTheirMillimetresAt300Dpi) {
    const double lefts[] = {0, 7.0, 14.0, 21.6, 28.4, 35.2, 42.0};
    for (const QSize store : {QSize(477, 80), QSize(600, 120), QSize(300, 50)}) {
        const TCard card(store);
        const auto boxes = TPostalCode::Boxes(card.Target, store);
        for (int i = 0; i < 7; ++i) {
            const QRectF& b = boxes[size_t(i)];
            const double tol = Px(0.1);
            EXPECT_NEAR(b.left(), card.Target.left() + Px(lefts[i]), tol) << i;
            EXPECT_NEAR(b.top(), card.Target.top(), tol) << i;
            EXPECT_NEAR(b.width(), Px(5.7), tol) << i;
            EXPECT_NEAR(b.height(), Px(8.0), tol) << i;
        }
        EXPECT_NEAR(boxes[6].right() - boxes[0].left(), Px(47.7), Px(0.1));
    }
    EXPECT_TRUE(TPostalCode::Boxes(QRectF(0, 0, 10, 10), QSize())[0].isNull());
}

TEST(PostalCodeTest, EachDigitIsInkedUprightInsideItsBox) {
    for (const char16_t* value : {u"123-4567", u"９８７６５４３"}) {
        TCard card;
        QPainter p(&card.Image);
        TPostalCode::DrawValue(p, card.Target, card.Store, QString::fromUtf16(value),
                               TObjectExtras::TPostalLayout::Boxes, QFont(QStringLiteral("IPAGothic")), Qt::black, 10);
        p.end();
        const auto boxes = TPostalCode::Boxes(card.Target, card.Store);
        QRect inBoxes;
        for (int i = 0; i < 7; ++i) {
            const QRect ink = card.InkIn(boxes[size_t(i)]);
            ASSERT_FALSE(ink.isNull()) << i;
            inBoxes |= ink;
            // About 5 mm tall and centred in its box.
            EXPECT_NEAR(ink.height(), Px(5.0), Px(0.4)) << i;
            EXPECT_NEAR(ink.center().x(), boxes[size_t(i)].center().x(), Px(0.3)) << i;
            EXPECT_NEAR(ink.center().y(), boxes[size_t(i)].center().y(), Px(0.3)) << i;
        }
        // No ink outside the boxes.
        EXPECT_EQ(card.InkIn(QRectF(card.Image.rect())), card.InkIn(QRectF(inBoxes)));
    }
}

TEST(PostalCodeTest, OtherValuesPrintAsGivenOnOneCentredLine) {
    for (const auto layout : {TObjectExtras::TPostalLayout::Boxes, TObjectExtras::TPostalLayout::EvenPitch}) {
        TCard card;
        QPainter p(&card.Image);
        TPostalCode::DrawValue(p, card.Target, card.Store, QStringLiteral("12-345 (旧番号のまま届く住所です)"), layout,
                               QFont(QStringLiteral("IPAGothic")), Qt::black, 10);
        p.end();
        const QRect ink = card.InkIn(QRectF(card.Image.rect()));
        ASSERT_FALSE(ink.isNull());
        EXPECT_TRUE(card.Target.adjusted(-1, -1, 1, 1).contains(QRectF(ink)));
        EXPECT_NEAR(ink.center().x(), card.Target.center().x(), Px(1));
        EXPECT_NEAR(ink.center().y(), card.Target.center().y(), Px(1));
    }
}

TEST(PostalCodeTest, EvenPitchSpreadsSevenDigitsOverTheField) {
    TCard card(QSize(350, 60));
    QPainter p(&card.Image);
    TPostalCode::DrawValue(p, card.Target, card.Store, QStringLiteral("1000001"),
                           TObjectExtras::TPostalLayout::EvenPitch, QFont(QStringLiteral("IPAGothic")), Qt::black, 12);
    p.end();
    const double pitch = card.Target.width() / 7;
    for (int i = 0; i < 7; ++i) {
        const QRectF cell(card.Target.left() + pitch * i, card.Target.top(), pitch, card.Target.height());
        const QRect ink = card.InkIn(cell);
        ASSERT_FALSE(ink.isNull()) << i;
        EXPECT_NEAR(ink.center().x(), cell.center().x(), Px(0.3)) << i;
        EXPECT_NEAR(ink.center().y(), cell.center().y(), Px(0.3)) << i;
    }
}

// Japan Post measures from the inside of the lines: the nominal box stays clear, the lines lie outside.
TEST(PostalCodeTest, PrintedFramesLieOutsideTheBoxesWithTheHyphenBetween3And4) {
    TCard card;
    QPainter p(&card.Image);
    TPostalCode::DrawBoxes(p, card.Target, card.Store, true);
    p.end();
    const double left = 10, top = 10;
    const struct {
        double X, Y;
        bool Red;
    } probes[] = {
        {left + 0.1, top + 4, false},         {left - 0.25, top + 4, true},        {left - 0.6, top + 4, false},
        {left + 2.85, top + 0.1, false},      {left + 2.85, top - 0.25, true},     {left + 5.6, top + 4, false},
        {left + 5.95, top + 4, true},         {left + 28.4 + 0.1, top + 4, false}, {left + 28.4 - 0.15, top + 4, true},
        {left + 28.4 - 0.45, top + 6, false}, {left + 20.6, top + 4, true},        {left + 20.6, top + 4.5, false},
        {left + 20.6, top + 3.5, false},
    };
    for (const auto& c : probes)
        EXPECT_EQ(card.Red(c.X, c.Y), c.Red) << c.X << "," << c.Y;
}

TEST(PostalCodeTest, WarningNamesTheRecordAndTheValue) {
    EXPECT_EQ(TPostalCode::Warning(QStringLiteral("K012"), QStringLiteral("12-345")),
              QStringLiteral("レコード「K012」の郵便番号「12-345」は7桁ではありません"));
    EXPECT_EQ(TPostalCode::Warning(QStringLiteral("K013"), QString()),
              QStringLiteral("レコード「K013」の郵便番号が空です"));
}
