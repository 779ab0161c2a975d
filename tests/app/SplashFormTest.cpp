#include "app/SplashForm.h"

#include <QDialog>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Distinct colours in a band; a blank or single-colour picture has one.
int Colours(const QImage& image, const QRect& band) {
    QSet<QRgb> seen;
    for (int y = band.top(); y <= band.bottom(); ++y)
        for (int x = band.left(); x <= band.right(); x += 3)
            seen.insert(image.pixel(x, y));
    return int(seen.size());
}

} // namespace

TEST(SplashFormTest, PictureHasItsSizeAtEveryPixelRatio) {
    for (qreal dpr : {1.0, 2.0}) {
        const QImage picture = TSplashForm::RenderPicture(dpr);
        EXPECT_EQ(picture.size(), QSize(qRound(450 * dpr), qRound(226 * dpr)));
        EXPECT_EQ(picture.deviceIndependentSize(), QSizeF(450, 226));
        // The title band carries white text over the gradient.
        const QRect title(QPoint(int(150 * dpr), int(72 * dpr)), QPoint(int(440 * dpr), int(116 * dpr)));
        EXPECT_GT(Colours(picture, title), 50) << dpr;
        int white = 0;
        for (int y = title.top(); y <= title.bottom(); ++y)
            for (int x = title.left(); x <= title.right(); ++x)
                white += picture.pixel(x, y) == qRgb(255, 255, 255);
        EXPECT_GT(white, 200) << dpr;
    }
}

TEST(SplashFormTest, ShowsCentredBorderlessAndClosesItself) {
    QPointer<TSplashForm> form = TSplashForm::ShowSplash(100);
    ASSERT_TRUE(form);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->size(), QSize(450, 226));
    EXPECT_TRUE(form->windowFlags() & Qt::FramelessWindowHint);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        EXPECT_LE((form->geometry().center() - screen->geometry().center()).manhattanLength(), 2);
    // The event loop keeps running while the picture is up, and the form goes away on its own.
    EXPECT_TRUE(QTest::qWaitFor([&] { return form.isNull(); }, 5000));
}

TEST(SplashFormTest, GivesWayToTheFirstWindowOfTheProgram) {
    QPointer<TSplashForm> form = TSplashForm::ShowSplash(60000);
    QDialog startChoice;
    startChoice.show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return form.isNull(); }));
}
