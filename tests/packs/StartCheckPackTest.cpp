#include "PackDriver.h"

#include "platform/PackLibrary.h"

#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QPushButton* ButtonWithText(QDialog& dialog, const QString& text) {
    for (QPushButton* b : dialog.findChildren<QPushButton*>())
        if (b->text() == text) return b;
    return nullptr;
}

} // namespace

TEST(StartCheckPackTest, ChoicesFromButtonsAndKeys) {
    const QString templ = QStringLiteral("テンプレートを開く"), saved = QStringLiteral("保存データを開く");
    struct TCase {
        const char* Name;
        std::function<void(QDialog&)> Act;
        bool Confirmed;
        int32_t Choice;
    };
    const TCase cases[] = {
        {"template button", [&](QDialog& d) { QTest::mouseClick(ButtonWithText(d, templ), Qt::LeftButton); }, true, 1},
        {"saved button", [&](QDialog& d) { QTest::mouseClick(ButtonWithText(d, saved), Qt::LeftButton); }, true, 2},
        {"Enter", [](QDialog& d) { QTest::keyClick(&d, Qt::Key_Return); }, true, 1},
        {"Tab then space",
         [](QDialog& d) {
             QTest::keyClick(d.focusWidget(), Qt::Key_Tab);
             QTest::keyClick(d.focusWidget(), Qt::Key_Space);
         },
         true, 2},
        {"Escape", [](QDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }, false, 0},
        {"終了", [](QDialog& d) { QTest::mouseClick(ButtonWithText(d, QStringLiteral("終了")), Qt::LeftButton); },
         false, 0},
    };
    TPackLibrary packs(BuiltAppPath());
    for (const TCase& c : cases) {
        int32_t choice = 9;
        TPackDriver driver([&](QDialog& d) {
            ASSERT_NE(ButtonWithText(d, templ), nullptr);
            ASSERT_NE(ButtonWithText(d, saved), nullptr);
            c.Act(d);
        });
        const TDlgAnswer a = packs.StartCheckDlg(choice, templ, saved);
        EXPECT_TRUE(driver.Seen()) << c.Name;
        EXPECT_TRUE(a.Called) << c.Name;
        EXPECT_EQ(bool(a), c.Confirmed) << c.Name;
        EXPECT_EQ(choice, c.Choice) << c.Name;
        // The dialog is gone when the entry returns.
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << c.Name;
        EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty()) << c.Name;
    }
}

TEST(StartCheckPackTest, OpensOverTheActiveWindowAndLeavesNothingInIt) {
    QWidget* parentSeen = nullptr;
    TPackDriver driver([&](QDialog& d) {
        parentSeen = d.parentWidget();
        QTest::keyClick(&d, Qt::Key_Escape);
    });
    QWidget host; // destroyed before the driver checks for windows left behind
    host.show();
    QApplication::setActiveWindow(&host);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
    int32_t choice = 5;
    EXPECT_FALSE(bool(TPackLibrary(BuiltAppPath()).StartCheckDlg(choice, "a", "b")));
    EXPECT_EQ(choice, 0);
    EXPECT_EQ(parentSeen, &host);
    EXPECT_TRUE(host.findChildren<QObject*>().isEmpty());
}
