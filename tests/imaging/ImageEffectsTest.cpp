#include "imaging/ImageEffects.h"

#include <QPainter>
#include <gtest/gtest.h>

using ImageEffects::TTurn;

namespace {

// Every pixel different, so any misplaced pixel shows.
QImage Numbered(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x)
            line[x] = qRgb(x & 255, y & 255, (x * 7 + y * 13) & 255);
    }
    return image;
}

} // namespace

TEST(ImageEffectsTest, OffsetsClampPerChannelAndLeaveTheOthers) {
    struct Case {
        QRgb in;
        int r, g, b;
        QRgb out;
    } cases[] = {
        {qRgb(200, 10, 20), 100, 0, 0, qRgb(255, 10, 20)},      // red saturates high
        {qRgb(50, 10, 20), -100, 0, 0, qRgb(0, 10, 20)},        // and low
        {qRgb(100, 100, 100), -30, -30, -30, qRgb(70, 70, 70)}, // brightness -30
        {qRgb(0, 255, 128), 5, 5, 5, qRgb(5, 255, 133)},
        {qRgb(10, 20, 30), 0, 100, -100, qRgb(10, 120, 0)},
        {qRgb(1, 2, 3), 0, 0, 0, qRgb(1, 2, 3)},
    };
    for (const Case& c : cases) {
        // Odd widths run both the wide path and the tail of each line.
        for (int w : {1, 3, 4, 17}) {
            QImage image(w, 2, QImage::Format_RGB32);
            image.fill(c.in);
            const QImage out = ImageEffects::OffsetColours(image, c.r, c.g, c.b);
            ASSERT_EQ(out.size(), image.size());
            for (int y = 0; y < 2; ++y)
                for (int x = 0; x < w; ++x)
                    EXPECT_EQ(out.pixel(x, y), c.out) << std::hex << c.in << " width " << std::dec << w;
        }
    }
}

TEST(ImageEffectsTest, OffsetsKeepAlphaAndOtherFormatsColours) {
    QImage argb(5, 1, QImage::Format_ARGB32);
    argb.fill(qRgba(10, 20, 30, 255));
    QImage rgb888(5, 1, QImage::Format_RGB888);
    rgb888.fill(QColor(10, 20, 30));
    for (const QImage& in : {argb, rgb888}) {
        const QImage out = ImageEffects::OffsetColours(in, 1, 2, 3);
        EXPECT_EQ(out.hasAlphaChannel(), in.hasAlphaChannel());
        EXPECT_EQ(out.pixel(4, 0), qRgb(11, 22, 33));
    }
    EXPECT_TRUE(ImageEffects::OffsetColours(QImage(), 1, 1, 1).isNull());
}

TEST(ImageEffectsTest, EveryEffectKeepsTransparency) {
    // Half clear all over, premultiplied as a PNG decodes: no effect may make it opaque.
    QImage src(33, 20, QImage::Format_ARGB32_Premultiplied);
    src.fill(qPremultiply(qRgba(200, 100, 50, 128)));
    const QImage results[] = {
        ImageEffects::OffsetColours(src, -100, 0, 255),
        ImageEffects::OffsetColours(src, 0, 0, 0),
        ImageEffects::Turn(src, TTurn::Right90),
        ImageEffects::Turn(src, TTurn::Left90),
        ImageEffects::Turn(src, TTurn::FlipHorizontal),
        ImageEffects::Turn(src, TTurn::FlipVertical),
        ImageEffects::StretchPart(src, QRect(3, 3, 20, 10), QSize(40, 20)),
    };
    for (const QImage& out : results)
        EXPECT_NEAR(qAlpha(out.pixel(7, 7)), 128, 1);
    // Colours move by the offsets themselves, not by the offsets times the alpha.
    EXPECT_NEAR(qRed(results[0].pixel(0, 0)), 100, 2);
    EXPECT_EQ(qBlue(results[0].pixel(0, 0)), 255);
}

TEST(ImageEffectsTest, TurnsMapPixelsAsTheButtonsSay) {
    const QImage src = Numbered(300, 200);
    const int W = src.width(), H = src.height();
    struct Case {
        TTurn turn;
        QSize size;
        std::function<QPoint(int x, int y)> from; // source pixel of destination (x, y)
    } cases[] = {
        {TTurn::Right90, {200, 300}, [&](int x, int y) { return QPoint(y, H - 1 - x); }},
        {TTurn::Left90, {200, 300}, [&](int x, int y) { return QPoint(W - 1 - y, x); }},
        {TTurn::FlipVertical, {300, 200}, [&](int x, int y) { return QPoint(x, H - 1 - y); }},
        {TTurn::FlipHorizontal, {300, 200}, [&](int x, int y) { return QPoint(W - 1 - x, y); }},
    };
    for (const Case& c : cases) {
        const QImage out = ImageEffects::Turn(src, c.turn);
        ASSERT_EQ(out.size(), c.size) << int(c.turn);
        int wrong = 0;
        for (int y = 0; y < out.height(); ++y)
            for (int x = 0; x < out.width(); ++x)
                if (out.pixel(x, y) != src.pixel(c.from(x, y))) ++wrong;
        EXPECT_EQ(wrong, 0) << int(c.turn);
    }
}

TEST(ImageEffectsTest, TurnsAccumulateBackToTheStart) {
    const QImage src = Numbered(131, 67); // not a multiple of the tile size
    QImage right = src, left = src;
    for (int i = 0; i < 4; ++i) {
        right = ImageEffects::Turn(right, TTurn::Right90);
        left = ImageEffects::Turn(left, TTurn::Left90);
    }
    EXPECT_EQ(right, src);
    EXPECT_EQ(left, src);
    EXPECT_EQ(ImageEffects::Turn(ImageEffects::Turn(src, TTurn::Right90), TTurn::Left90), src);
    EXPECT_EQ(ImageEffects::Turn(ImageEffects::Turn(src, TTurn::FlipVertical), TTurn::FlipVertical), src);
    // Two mirrors make a half turn.
    EXPECT_EQ(ImageEffects::Turn(ImageEffects::Turn(src, TTurn::FlipVertical), TTurn::FlipHorizontal),
              ImageEffects::Turn(ImageEffects::Turn(src, TTurn::Right90), TTurn::Right90));
    EXPECT_TRUE(ImageEffects::Turn(QImage(), TTurn::Right90).isNull());
}

TEST(ImageEffectsTest, FitRectKeepsTheShapeAndCentres) {
    struct Case {
        QSize picture, area;
        QRect fit;
    } cases[] = {
        {{400, 200}, {300, 300}, {0, 75, 300, 150}},
        {{200, 400}, {300, 300}, {75, 0, 150, 300}},
        {{100, 100}, {300, 200}, {50, 0, 200, 200}},
        {{1000, 100}, {300, 20}, {50, 0, 200, 20}}, // wide, reduced to the height
        {{100, 1000}, {20, 300}, {0, 50, 20, 200}}, // tall, reduced to the width
        {{10000, 1}, {300, 300}, {0, 149, 300, 1}}, // a sliver keeps one pixel
        {{0, 0}, {300, 300}, {}},
        {{300, 0}, {300, 300}, {}},
        {{30, 30}, {0, 300}, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ImageEffects::FitRect(c.picture, c.area), c.fit) << c.picture.width();
}

TEST(ImageEffectsTest, StretchPartClipsTheWindowToThePicture) {
    QImage src(40, 40, QImage::Format_RGB32);
    src.fill(Qt::white);
    QPainter(&src).fillRect(20, 0, 20, 40, Qt::red);
    const QImage right = ImageEffects::StretchPart(src, QRect(20, 0, 30, 40), QSize(10, 10));
    ASSERT_EQ(right.size(), QSize(10, 10));
    EXPECT_EQ(right.pixel(5, 5), qRgb(255, 0, 0));
    EXPECT_TRUE(ImageEffects::StretchPart(src, QRect(50, 50, 5, 5), QSize(10, 10)).isNull());
    EXPECT_TRUE(ImageEffects::StretchPart(src, QRect(0, 0, 5, 5), QSize(0, 10)).isNull());
}
