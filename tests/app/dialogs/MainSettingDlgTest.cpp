#include "app/DisplaySettings.h"
#include "app/dialogs/MainSettingDlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

TDisplaySettings SampleSettings() {
    TDisplaySettings s;
    s.MainColor = RGBColor(1, 2, 3);
    s.RulerBackColor = RGBColor(4, 5, 6);
    s.RulerTextColor = RGBColor(7, 8, 9);
    s.GridColor = RGBColor(10, 11, 12);
    s.MarginColor = RGBColor(13, 14, 15);
    s.RulerStrCheck = true;
    s.FontName = QStringLiteral("ＭＳ 明朝");
    s.FontSize = 12;
    s.FontColor = RGBColor(16, 17, 18);
    return s;
}

// Presses a key in the modal dialog once it runs.
void PressInModal(Qt::Key key, std::function<void(TMainSettingDlg&)> before = {}) {
    QTimer::singleShot(0, [key, before] {
        auto* dlg = qobject_cast<TMainSettingDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        if (before) before(*dlg);
        QTest::keyClick(dlg, key);
    });
}

} // namespace

TEST(MainSettingDlgTest, ShowsTheSettingsAndReturnsTheChoice) {
    TMainSettingDlg dlg;
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("設定ダイアログ"));
    const TDisplaySettings start = SampleSettings();
    dlg.FromSettings(start);
    dlg.Prepare();
    EXPECT_EQ(dlg.FontNameBox()->currentText(), QStringLiteral("ＭＳ 明朝"));
    EXPECT_EQ(dlg.FontSizeBox()->currentText(), QStringLiteral("12"));
    EXPECT_TRUE(dlg.RulerTextBox()->isChecked());
    const TColor swatches[] = {start.GridColor,      start.MarginColor,    start.MainColor,
                               start.RulerBackColor, start.RulerTextColor, start.FontColor};
    const char16_t* captions[] = {u"グリッドの色", u"プリンタ余白線の色", u"メインの背景色",
                                  u"定規の背景色", u"定規の目盛色",       u"フォント色"};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(dlg.SwatchColor(i), swatches[i]) << i;
        EXPECT_EQ(dlg.ColorButton(i)->text(), QString::fromUtf16(captions[i]));
    }

    // Tab walks the colours top to bottom, the check box, then the font group.
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    dlg.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    dlg.ColorButton(0)->setFocus();
    const QWidget* tabOrder[] = {dlg.ColorButton(1), dlg.ColorButton(2), dlg.ColorButton(3), dlg.ColorButton(4),
                                 dlg.RulerTextBox(), dlg.FontNameBox(),  dlg.FontSizeBox(),  dlg.ColorButton(5)};
    for (const QWidget* next : tabOrder) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next);
    }

    // Each colour button asks for a colour: a pick takes it, a cancel leaves the old one.
    std::optional<TColor> answer = RGBColor(200, 100, 50);
    dlg.ColorPicker = [&answer](TColor) { return answer; };
    QTest::mouseClick(dlg.ColorButton(0), Qt::LeftButton);
    EXPECT_EQ(dlg.GridColor(), RGBColor(200, 100, 50));
    answer = RGBColor(9, 9, 9);
    QTest::mouseClick(dlg.ColorButton(5), Qt::LeftButton);
    answer.reset();
    QTest::mouseClick(dlg.ColorButton(3), Qt::LeftButton);
    EXPECT_EQ(dlg.RulerBackColor(), start.RulerBackColor);
    EXPECT_EQ(dlg.SwatchColor(3), start.RulerBackColor);
    dlg.RulerTextBox()->setFocus();
    QTest::keyClick(dlg.RulerTextBox(), Qt::Key_Space);
    dlg.FontSizeBox()->setCurrentIndex(dlg.FontSizeBox()->findText("20"));
    dlg.FontNameBox()->setCurrentIndex(dlg.FontNameBox()->findText(QStringLiteral("ＭＳ Ｐゴシック")));

    // Enter is OK, whichever colour button last had the focus.
    dlg.ColorButton(2)->setFocus();
    QTest::keyClick(dlg.ColorButton(2), Qt::Key_Return);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    TDisplaySettings out = start;
    dlg.ToSettings(out);
    EXPECT_EQ(out.GridColor, RGBColor(200, 100, 50));
    EXPECT_EQ(out.RulerBackColor, start.RulerBackColor);
    EXPECT_EQ(out.MainColor, start.MainColor);
    EXPECT_EQ(out.MarginColor, start.MarginColor);
    EXPECT_EQ(out.RulerTextColor, start.RulerTextColor);
    EXPECT_FALSE(out.RulerStrCheck);
    EXPECT_EQ(out.FontName, QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_EQ(out.FontSize, 20);
    EXPECT_EQ(out.FontColor, RGBColor(9, 9, 9));
}

// A face or size the lists do not hold leaves the box empty; OK keeps the old value instead of
// saving an empty face or a size of 0.
TEST(MainSettingDlgTest, OkWithoutAFaceOrSizeKeepsTheFont) {
    TDisplaySettings s = SampleSettings();
    s.FontName = QStringLiteral("No Such Face");
    s.FontSize = 11;
    PressInModal(Qt::Key_Return, [](TMainSettingDlg& dlg) {
        EXPECT_EQ(dlg.FontNameBox()->currentIndex(), -1);
        EXPECT_EQ(dlg.FontSizeBox()->currentIndex(), -1);
    });
    ASSERT_TRUE(TMainSettingDlg::Edit(nullptr, s));
    EXPECT_EQ(s.FontName, QStringLiteral("No Such Face"));
    EXPECT_EQ(s.FontSize, 11);
    EXPECT_EQ(s.FontColor, RGBColor(16, 17, 18));
}

TEST(MainSettingDlgTest, EscapeChangesNothing) {
    TDisplaySettings s = SampleSettings();
    PressInModal(Qt::Key_Escape, [](TMainSettingDlg& dlg) {
        dlg.FontSizeBox()->setCurrentIndex(0);
        dlg.RulerTextBox()->setChecked(false);
    });
    EXPECT_FALSE(TMainSettingDlg::Edit(nullptr, s));
    EXPECT_EQ(s.FontSize, 12);
    EXPECT_TRUE(s.RulerStrCheck);
}

TEST(MainSettingDlgTest, ListsFacesAndSizes) {
    const QStringList faces = TMainSettingDlg::FaceNames();
    EXPECT_TRUE(faces.contains(QStringLiteral("ＭＳ Ｐゴシック")));
    for (const QString& f : faces)
        EXPECT_FALSE(f.startsWith('@')) << f.toStdString();
    QStringList sorted = faces;
    sorted.sort();
    EXPECT_EQ(faces, sorted);
    EXPECT_EQ(TMainSettingDlg::SizeItems().join(','), "6,7,8,9,10,12,14,16,18,20,22,24,28,30,36,48,72");
}

// A picture to look at: xvfb-run -a env QT_QPA_PLATFORM=xcb build/tests/komorebi_tests
// --gtest_also_run_disabled_tests --gtest_filter='*DialogPicture*' writes /tmp/komorebi-settings.png.
TEST(MainSettingDlgTest, DISABLED_DialogPicture) {
    TMainSettingDlg dlg;
    dlg.setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));
    dlg.FromSettings(TDisplaySettings());
    dlg.Prepare();
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    dlg.grab().save(QStringLiteral("/tmp/komorebi-settings.png"));
}

// The sender tab: a postal code that is not seven digits keeps the dialog open on that tab; a
// valid one is kept as its digits, names beyond CP932 as typed.
TEST(MainSettingDlgTest, SenderTabValidatesThePostalCode) {
    TDisplaySettings s = SampleSettings();
    s.Sender.Name = QStringLiteral("𠮷田 太郎");
    TMainSettingDlg dlg;
    dlg.FromSettings(s);
    dlg.Prepare();
    ASSERT_EQ(dlg.Tabs()->count(), 2);
    EXPECT_EQ(dlg.Tabs()->tabText(0), QStringLiteral("表示"));
    EXPECT_EQ(dlg.Tabs()->tabText(1), QStringLiteral("差出人"));
    EXPECT_EQ(dlg.SenderEdit(3)->text(), QStringLiteral("𠮷田 太郎"));
    const struct {
        const char16_t* Typed;
        bool Accepted;
        const char* Kept;
    } cases[] = {
        {u"12-345", false, ""},
        {u"１２３－４５６７", true, "1234567"},
        {u"", true, ""},
    };
    for (const auto& c : cases) {
        dlg.setResult(QDialog::Rejected);
        dlg.Tabs()->setCurrentIndex(0);
        dlg.SenderEdit(0)->setText(QString::fromUtf16(c.Typed));
        dlg.SenderEdit(1)->setText(QStringLiteral("東京都千代田区 "));
        dlg.accept();
        EXPECT_EQ(dlg.result() == QDialog::Accepted, c.Accepted) << c.Kept;
        EXPECT_EQ(dlg.SenderProblem()->isHidden(), c.Accepted) << c.Kept;
        if (!c.Accepted) {
            EXPECT_EQ(dlg.Tabs()->currentIndex(), 1);
            continue;
        }
        TDisplaySettings out;
        dlg.ToSettings(out);
        EXPECT_EQ(out.Sender.PostalCode, QString::fromLatin1(c.Kept));
        EXPECT_EQ(out.Sender.Address1, QStringLiteral("東京都千代田区"));
        EXPECT_EQ(out.Sender.Name, QStringLiteral("𠮷田 太郎"));
    }
}
