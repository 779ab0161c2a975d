#include "imaging/TrimWindow.h"

#include <gtest/gtest.h>

TEST(TrimWindowTest, ZoomUpStopsAtAQuarterLessTheStep) {
    TTrimWindow trim;
    trim.Reset({40, 40});
    EXPECT_TRUE(trim.ZoomUp());
    EXPECT_EQ(trim.Window(), QRect(5, 5, 30, 30));
    // 5 is not below 40 / 4 - 5.
    EXPECT_FALSE(trim.ZoomUp());
    EXPECT_EQ(trim.Window(), QRect(5, 5, 30, 30));

    // Refused at once on pictures too small to trim, and by the shorter side.
    trim.Reset({10, 10});
    EXPECT_FALSE(trim.ZoomUp());
    trim.Reset({400, 40});
    EXPECT_TRUE(trim.ZoomUp());
    EXPECT_FALSE(trim.ZoomUp());
    EXPECT_EQ(trim.Window(), QRect(5, 5, 390, 30));
}

TEST(TrimWindowTest, ZoomDownStopsAtNothing) {
    TTrimWindow trim;
    trim.Reset({200, 100});
    trim.ZoomUp();
    trim.MoveLeft();
    trim.MoveLeft(); // left inset 5 -> 2 -> 0... after two moves 0, top 5
    EXPECT_EQ(trim.InsetLeft(), 0);
    trim.MoveUp(); // top 2
    EXPECT_EQ(trim.InsetTop(), 2);
    trim.ZoomDown();
    EXPECT_EQ(trim.Window(), QRect(0, 0, 200, 100));
    EXPECT_TRUE(trim.IsWhole());
    trim.ZoomDown();
    EXPECT_EQ(trim.Window(), QRect(0, 0, 200, 100));

    trim.Reset({200, 100});
    trim.ZoomUp();
    trim.MoveRight(); // left 8 -> zoom down leaves 3
    trim.ZoomDown();
    EXPECT_EQ(trim.InsetLeft(), 3);
    EXPECT_EQ(trim.Window(), QRect(3, 0, 194, 100));
}

TEST(TrimWindowTest, MovesNeverLeaveThePicture) {
    TTrimWindow trim;
    trim.Reset({100, 80});
    trim.ZoomUp(); // insets 5, window 90 x 70
    for (int i = 0; i < 10; ++i) {
        trim.MoveRight();
        trim.MoveDown();
        const QRect w = trim.Window();
        EXPECT_LE(w.x() + w.width(), 100);
        EXPECT_LE(w.y() + w.height(), 80);
    }
    EXPECT_EQ(trim.Window(), QRect(10, 10, 90, 70)); // 5 + 3 + 2, stopped at the edge
    for (int i = 0; i < 10; ++i) {
        trim.MoveLeft();
        trim.MoveUp();
    }
    EXPECT_EQ(trim.Window(), QRect(0, 0, 90, 70));
    // The whole picture cannot move.
    trim.Reset({100, 80});
    trim.MoveRight();
    trim.MoveDown();
    EXPECT_EQ(trim.Window(), QRect(0, 0, 100, 80));
}

TEST(TrimWindowTest, SelectionIsNormalisedClampedAndMappedThroughTheWindow) {
    TTrimWindow trim;
    trim.Reset({400, 200});
    const QSize preview(200, 100); // half the picture
    struct Case {
        QRect dragged;
        QRect part;
    } cases[] = {
        {{10, 10, 50, 20}, {20, 20, 100, 40}},
        {{60, 30, -50, -20}, {20, 20, 100, 40}},     // dragged up and left
        {{150, 50, 100, 100}, {300, 100, 100, 100}}, // past the corner: clipped
        {{-30, -30, 40, 40}, {0, 0, 20, 20}},        // from outside
        {{10, 10, 0, 30}, {}},                       // a line
        {{10, 10, 0, 0}, {}},                        // a click
        {{250, 10, 20, 20}, {}},                     // wholly outside
    };
    for (const Case& c : cases)
        EXPECT_EQ(trim.MapSelection(c.dragged, preview), c.part) << c.dragged.x();

    // Zoomed, the preview shows the window: what was dragged is what is cut.
    trim.Reset({400, 400});
    for (int i = 0; i < 4; ++i)
        trim.ZoomUp(); // insets 20, window 360 x 360
    EXPECT_EQ(trim.MapSelection({0, 0, 180, 180}, {180, 180}), QRect(20, 20, 360, 360));
    EXPECT_EQ(trim.MapSelection({0, 0, 10, 10}, {0, 0}), QRect());
}
