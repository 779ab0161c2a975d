#include "app/dialogs/Image_Ex.h"
#include "app/StartPanel.h"

#include <QAction>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

// Plain pictures of the right sizes, each in a colour of its own.
std::vector<QImage> Pictures() {
    const QSize sizes[] = {{18, 18}, {18, 18}, {151, 26}, {151, 26}, {211, 610}, {211, 610}, {211, 610}};
    std::vector<QImage> images;
    for (int i = 0; i < 7; ++i) {
        QImage image(sizes[i], QImage::Format_RGB32);
        image.fill(QColor::fromHsv(i * 50, 200, 220));
        images.push_back(image);
    }
    return images;
}

struct TPanelFixture : ::testing::Test {
    TStartPanel panel;
    int scans = 0, prints = 0, closes = 0;
    bool scanResult = false;

    void SetUp() override {
        ASSERT_TRUE(panel.ApplyStartImages(Pictures()));
        panel.OnScan = [this] {
            ++scans;
            return scanResult;
        };
        panel.OnPrint = [this] { ++prints; };
        panel.OnClose = [this] { ++closes; };
    }

    void Click(QWidget* w) {
        QTest::mousePress(w, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(5, 5));
    }

    // The topmost control at a point of the panel where no button lies.
    QWidget* InFront() const { return panel.childAt(100, 140); }
};

} // namespace

TEST(StartPanelTest, StartPicturesNeedTheRestingPictures) {
    for (int missing : {TStartPanel::kCloseUp, TStartPanel::kStep1, TStartPanel::kStep2, TStartPanel::kStep3}) {
        std::vector<QImage> images = Pictures();
        images[size_t(missing)] = QImage();
        TStartPanel panel;
        EXPECT_FALSE(panel.ApplyStartImages(images)) << missing;
    }
    std::vector<QImage> short6 = Pictures();
    short6.pop_back();
    TStartPanel panel;
    EXPECT_FALSE(panel.ApplyStartImages(short6));
    // The pressed pictures are only looks: without them the panel still starts.
    std::vector<QImage> noPressed = Pictures();
    noPressed[1] = noPressed[2] = noPressed[3] = QImage();
    EXPECT_TRUE(panel.ApplyStartImages(noPressed));
    EXPECT_EQ(panel.StepImage(2)->Picture().size(), QSize(211, 610));
    EXPECT_EQ(panel.CloseButton()->Picture().size(), QSize(18, 18));

    // Pictures at twice the size are high-resolution ones and keep their places.
    std::vector<QImage> sharp = Pictures();
    for (QImage& picture : sharp)
        picture = picture.scaled(picture.size() * 2);
    sharp[4] = sharp[4].scaled(211 * 3, 610 * 2); // not a whole multiple in both directions
    ASSERT_TRUE(panel.ApplyStartImages(sharp));
    EXPECT_EQ(panel.StepImage(2)->Picture().deviceIndependentSize(), QSizeF(211, 610));
    EXPECT_EQ(panel.CloseButton()->Picture().deviceIndependentSize(), QSizeF(18, 18));
    EXPECT_EQ(panel.StepImage(1)->Picture().devicePixelRatio(), 1.0);
}

TEST_F(TPanelFixture, BandsFollowThePointer) {
    EXPECT_EQ(panel.CurrentStep(), 4);
    EXPECT_FALSE(panel.ToolBarEnabled());
    const struct {
        int y, step;
    } moves[] = {{200, 4}, {281, 5}, {275, 5}, {270, 5}, {401, 5}, {405, 5}, {412, 6}, {140, 6}, {531, 6},
                 {540, 6}, {269, 4}, {150, 4}, {402, 4}, {300, 5}, {275, 5}, {500, 6}, {275, 6}};
    for (const auto& m : moves) {
        panel.PointerAt(m.y);
        EXPECT_EQ(panel.CurrentStep(), m.step) << "y " << m.y;
        EXPECT_EQ(panel.ToolBarEnabled(), m.step == 5) << "y " << m.y;
        EXPECT_EQ(InFront(), panel.StepImage(m.step - 3)) << "y " << m.y;
    }
}

TEST_F(TPanelFixture, RealPointerMovesOverAnyControlSwitchTheStep) {
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    QTest::mouseMove(&panel, QPoint(100, 320));
    EXPECT_EQ(panel.CurrentStep(), 5);
    // Over the print picture button, which lies on the third band.
    QTest::mouseMove(panel.PrintButton(), QPoint(20, 10));
    EXPECT_EQ(panel.CurrentStep(), 6);
    // Over the scan picture button, on the first band.
    QTest::mouseMove(panel.ScanButton(), QPoint(20, 10));
    EXPECT_EQ(panel.CurrentStep(), 4);
}

TEST_F(TPanelFixture, PrintButtonWorksOnlyOnStepThree) {
    Click(panel.PrintButton());
    EXPECT_EQ(prints, 0);
    EXPECT_FALSE(panel.Pressed());
    panel.PointerAt(450);
    QTest::mousePress(panel.PrintButton(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(panel.Pressed());
    EXPECT_EQ(panel.PrintButton()->Picture().size(), QSize(151, 26));
    // While held, the pointer wandering over another band changes nothing.
    panel.PointerAt(200);
    EXPECT_EQ(panel.CurrentStep(), 6);
    QTest::mouseRelease(panel.PrintButton(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(prints, 1);
    EXPECT_FALSE(panel.Pressed());
    EXPECT_TRUE(panel.PrintButton()->Picture().isNull());
}

TEST_F(TPanelFixture, CancelledScanStaysOnStepOneCompletedMovesToStepTwo) {
    scanResult = false;
    QTest::mousePress(panel.ScanButton(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(panel.ScanButton()->Picture().size(), QSize(151, 26));
    QTest::mouseRelease(panel.ScanButton(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(scans, 1);
    EXPECT_EQ(panel.CurrentStep(), 4);
    EXPECT_FALSE(panel.ToolBarEnabled());
    EXPECT_TRUE(panel.ScanButton()->Picture().isNull());

    scanResult = true;
    Click(panel.ScanButton());
    EXPECT_EQ(scans, 2);
    EXPECT_EQ(panel.CurrentStep(), 5);
    EXPECT_TRUE(panel.ToolBarEnabled());
    EXPECT_EQ(InFront(), panel.StepImage(2));
    // On step two the scan picture is not a button.
    Click(panel.ScanButton());
    EXPECT_EQ(scans, 2);
}

TEST_F(TPanelFixture, CloseButtonHidesTheSideBarOnAnyStep) {
    panel.PointerAt(300);
    QTest::mousePress(panel.CloseButton(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(panel.CloseButton()->Picture().pixel(9, 9), Pictures()[1].pixel(9, 9));
    // Another picture button cannot be pressed meanwhile.
    panel.PointerAt(450);
    QTest::mousePress(panel.PrintButton(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(panel.PrintButton()->Picture().isNull());
    QTest::mouseRelease(panel.CloseButton(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(prints, 0);
    EXPECT_EQ(panel.CloseButton()->Picture().pixel(9, 9), Pictures()[0].pixel(9, 9));
    EXPECT_EQ(panel.CurrentStep(), 5);
}

TEST_F(TPanelFixture, SideToolsAreTheMainWindowsActions) {
    QAction none(QStringLiteral("選択")), text(QStringLiteral("文字列追加")), image(QStringLiteral("画像追加")),
        field(QStringLiteral("フィールド追加")), calendar(QStringLiteral("カレンダー追加"));
    int texts = 0;
    QObject::connect(&text, &QAction::triggered, [&] { ++texts; });
    panel.SetToolActions(&none, &text, &image, &field, &calendar);
    auto* button = panel.findChild<QWidget*>(QStringLiteral("ToolSide_Text"));
    ASSERT_NE(button, nullptr);
    for (const char* name : {"ToolSide_None", "ToolSide_Image", "ToolSide_Field", "ToolSide_Portal"})
        EXPECT_NE(panel.findChild<QWidget*>(QLatin1String(name)), nullptr) << name;
    EXPECT_FALSE(text.icon().isNull()); // given one of ours
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(texts, 0);
    panel.PointerAt(300);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(texts, 1);
    // Every tool fits the tray the artwork leaves for it.
    for (QAction* a : {&none, &text, &image, &field, &calendar}) {
        QToolButton* w = nullptr;
        for (auto* b : panel.SideToolBar()->findChildren<QToolButton*>())
            if (b->defaultAction() == a) w = b;
        ASSERT_NE(w, nullptr);
        EXPECT_TRUE(w->isVisible());
        EXPECT_TRUE(panel.SideToolBar()->rect().contains(w->geometry())) << qPrintable(a->text());
    }
}

TEST(Image_ExTest, DestRectPlacesLikeTheClassicControl) {
    const struct {
        QSize picture, client;
        bool stretch, proportional, center;
        QRect expected;
    } cases[] = {
        {{50, 20}, {100, 100}, false, false, false, {0, 0, 50, 20}},
        {{50, 20}, {100, 100}, false, false, true, {25, 40, 50, 20}},
        {{50, 20}, {100, 100}, true, false, false, {0, 0, 100, 100}},
        {{50, 20}, {100, 100}, true, true, true, {0, 30, 100, 40}},
        // Proportional alone shrinks only a picture larger than the area.
        {{50, 20}, {100, 100}, false, true, false, {0, 0, 50, 20}},
        {{400, 100}, {100, 100}, false, true, true, {0, 37, 100, 25}},
        {{100, 400}, {100, 100}, false, true, true, {37, 0, 25, 100}},
        // A wide picture in a flat area: the long side fits first, then the height limits it.
        {{300, 200}, {345, 100}, true, true, true, {97, 0, 150, 100}},
        {{240, 170}, {345, 345}, true, true, true, {0, 50, 345, 244}},
        {{0, 0}, {120, 120}, true, true, true, {0, 0, 120, 120}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TImage_Ex::DestRect(c.picture, c.client, c.stretch, c.proportional, c.center), c.expected)
            << c.picture.width() << "x" << c.picture.height() << " in " << c.client.width() << "x" << c.client.height();
}

TEST(Image_ExTest, TilesAndTransparentColour) {
    QImage tile(4, 4, QImage::Format_RGB32);
    tile.fill(Qt::white);
    tile.setPixel(0, 3, qRgb(255, 0, 255)); // bottom-left: the transparent colour
    tile.setPixel(1, 1, qRgb(0, 0, 255));
    QWidget back;
    back.resize(10, 10);
    back.setAutoFillBackground(true);
    QPalette pal;
    pal.setColor(QPalette::Window, Qt::green);
    back.setPalette(pal);
    TImage_Ex image(&back);
    image.setGeometry(0, 0, 10, 10);
    image.SetPicture(tile);
    image.SetBltLoop(true);
    image.SetTransparent(true);
    const QImage shot = back.grab().toImage();
    EXPECT_EQ(shot.pixel(5, 5), qRgb(0, 0, 255)); // second tile, second row
    EXPECT_EQ(shot.pixel(6, 6), qRgb(255, 255, 255));
    EXPECT_EQ(shot.pixel(4, 7), QColor(Qt::green).rgb()); // keyed out, the parent shows
    image.SetTransparent(false);
    EXPECT_EQ(back.grab().toImage().pixel(4, 7), qRgb(255, 0, 255));
}
