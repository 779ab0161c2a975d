#include "app/dialogs/EffectPreview.h"
#include "app/dialogs/ImageEffectDlg.h"
#include "objects/PriImage.h"
#include "support/EditSurface.h"

#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QImage Solid(int w, int h, QColor c) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(c);
    return image;
}

// Four quarters: red, green / blue, white.
QImage Quarters(int w, int h) {
    QImage image = Solid(w, h, Qt::white);
    QPainter p(&image);
    p.fillRect(0, 0, w / 2, h / 2, Qt::red);
    p.fillRect(w / 2, 0, w - w / 2, h / 2, Qt::green);
    p.fillRect(0, h / 2, w / 2, h - h / 2, Qt::blue);
    return image;
}

QPushButton* Button(QWidget& dlg, const char* name) {
    auto* button = dlg.findChild<QPushButton*>(QLatin1String(name));
    EXPECT_NE(button, nullptr) << name;
    return button;
}

// Shows the dialog as the user would see it, so the preview has its size.
void Show(TImageEffectDlg& dlg) {
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
}

} // namespace

TEST(ImageEffectDlgTest, EachModeShowsItsPageAndPanels) {
    struct Case {
        TEffectMode mode;
        const char16_t* caption;
        bool cutPanel, reset;
    } cases[] = {
        {emExpan, u"画像拡大", true, false},
        {emRGB, u"色調補正", false, true},
        {emMeido, u"明度調整", false, true},
        {emTurn, u"回転編集", false, true},
    };
    TImageEffectDlg dlg;
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("画像編集ダイアログ"));
    dlg.SetBaseBmp(Quarters(60, 40));
    Show(dlg);
    auto* pages = dlg.findChild<QStackedWidget*>(QStringLiteral("PageControl1"));
    ASSERT_NE(pages, nullptr);
    for (const Case& c : cases) {
        dlg.SetEffectMode(c.mode);
        EXPECT_EQ(pages->currentWidget()->windowTitle(), QString::fromUtf16(c.caption));
        EXPECT_EQ(dlg.CutPreview()->isVisibleTo(&dlg), c.cutPanel) << int(c.mode);
        EXPECT_EQ(dlg.ResetButton()->isVisibleTo(&dlg), c.reset) << int(c.mode);
        EXPECT_FALSE(dlg.Preview()->PaintBox().isEmpty());
    }
    EXPECT_EQ(dlg.ResetButton()->toolTip(), QStringLiteral("初期状態に戻します"));
    EXPECT_EQ(Button(dlg, "ZoomDownBtn")->toolTip(), QStringLiteral("ズームダウンします"));
    QStringList groups;
    for (auto* g : dlg.findChildren<QGroupBox*>())
        groups << g->title();
    EXPECT_TRUE(groups.contains(QStringLiteral("　拡大縮小(&Z)　")));
    EXPECT_TRUE(groups.contains(QStringLiteral("  画像移動(&M)　 ")));
    EXPECT_TRUE(groups.contains(QStringLiteral(" RGB補正 ")));
    EXPECT_TRUE(groups.contains(QStringLiteral(" 明度調整 ")));
}

TEST(ImageEffectDlgTest, EditBoxesAndTrackBarsStayEqualAndAdjustTheWholePicture) {
    TImageEffectDlg dlg;
    // Larger than the preview copy, so the result must come from the whole picture.
    dlg.SetBaseBmp(Solid(2000, 1500, QColor(200, 50, 100)));
    dlg.SetEffectMode(emRGB);
    Show(dlg);

    // Typing re-applies at once; a value beyond the range is taken as the limit.
    dlg.OffsetEdit(0)->setFocus();
    dlg.OffsetEdit(0)->selectAll();
    QTest::keyClicks(dlg.OffsetEdit(0), QStringLiteral("150"));
    EXPECT_EQ(dlg.OffsetEdit(0)->text(), QStringLiteral("100"));
    EXPECT_EQ(dlg.OffsetSlider(0)->value(), 100);
    ASSERT_EQ(dlg.TTransBmp().size(), QSize(2000, 1500));
    EXPECT_EQ(dlg.TTransBmp().pixel(1999, 1499), qRgb(255, 50, 100));

    // Letters are refused.
    QTest::keyClicks(dlg.OffsetEdit(1), QStringLiteral("x"));
    EXPECT_EQ(dlg.OffsetEdit(1)->text(), QStringLiteral("0"));

    // A track bar moved with the keyboard settles at once.
    dlg.OffsetSlider(2)->setFocus();
    QTest::keyClick(dlg.OffsetSlider(2), Qt::Key_PageDown); // -10
    EXPECT_EQ(dlg.OffsetEdit(2)->text(), QStringLiteral("-10"));
    EXPECT_EQ(dlg.TTransBmp().pixel(0, 0), qRgb(255, 50, 90));

    // Dragged with the mouse, it shows on the preview at once and reaches the picture on release.
    dlg.OffsetSlider(1)->setSliderDown(true);
    dlg.OffsetSlider(1)->setValue(-60);
    EXPECT_EQ(dlg.OffsetEdit(1)->text(), QStringLiteral("-60"));
    EXPECT_EQ(dlg.Preview()->Picture().pixel(0, 0), qRgb(255, 0, 90));
    EXPECT_EQ(dlg.TTransBmp().pixel(0, 0), qRgb(255, 50, 90));
    dlg.OffsetSlider(1)->setSliderDown(false); // the release
    EXPECT_EQ(dlg.TTransBmp().pixel(0, 0), qRgb(255, 0, 90));
}

TEST(ImageEffectDlgTest, BrightnessAndResetAskFirst) {
    TImageEffectDlg dlg;
    dlg.SetBaseBmp(Solid(30, 20, QColor(100, 100, 100)));
    dlg.SetEffectMode(emMeido);
    dlg.SetOffset(0, -30);
    EXPECT_EQ(dlg.TTransBmp().pixel(5, 5), qRgb(70, 70, 70));

    QString asked;
    bool answer = false;
    dlg.Confirm = [&](const QString& q) {
        asked = q;
        return answer;
    };
    dlg.ResetButton()->click();
    EXPECT_EQ(asked, QStringLiteral("初期状態に戻しますか？"));
    EXPECT_EQ(dlg.TTransBmp().pixel(5, 5), qRgb(70, 70, 70)); // No keeps it
    answer = true;
    dlg.ResetButton()->click();
    EXPECT_EQ(dlg.TTransBmp().pixel(5, 5), qRgb(100, 100, 100));
    EXPECT_EQ(dlg.OffsetEdit(3)->text(), QStringLiteral("0"));
    EXPECT_EQ(dlg.OffsetSlider(3)->value(), 0);
    dlg.accept();
    EXPECT_EQ(dlg.TTransBmp().pixel(5, 5), qRgb(100, 100, 100));
}

TEST(ImageEffectDlgTest, TurnButtonsAccumulateOnTheResult) {
    TImageEffectDlg dlg;
    const QImage start = Quarters(300, 200);
    dlg.SetBaseBmp(start);
    dlg.SetEffectMode(emTurn);
    Button(dlg, "TurnRightBtn")->click();
    ASSERT_EQ(dlg.TTransBmp().size(), QSize(200, 300));
    EXPECT_EQ(dlg.TTransBmp().pixel(199, 0), qRgb(255, 0, 0)); // red top-left went top-right
    EXPECT_EQ(dlg.Preview()->Picture().width() < dlg.Preview()->Picture().height(), true);
    for (int i = 0; i < 3; ++i)
        Button(dlg, "TurnRightBtn")->click();
    EXPECT_EQ(dlg.TTransBmp(), start);
    Button(dlg, "FlipHorizontalBtn")->click();
    EXPECT_EQ(dlg.TTransBmp().pixel(0, 0), qRgb(0, 255, 0));
    Button(dlg, "FlipVerticalBtn")->click();
    EXPECT_EQ(dlg.TTransBmp().pixel(0, 0), qRgb(255, 255, 255));
    Button(dlg, "TurnLeftBtn")->click();
    EXPECT_EQ(dlg.TTransBmp().size(), QSize(200, 300));
}

TEST(ImageEffectDlgTest, TrimmingOkNeverLosesThePicture) {
    const QImage start = Quarters(400, 200);
    {
        // Nothing dragged, nothing zoomed: the picture as it was.
        TImageEffectDlg dlg;
        dlg.SetBaseBmp(start);
        dlg.SetEffectMode(emExpan);
        dlg.accept();
        EXPECT_EQ(dlg.TTransBmp(), start);
    }
    {
        // Zoomed without a drag: the trim window over the picture's size.
        TImageEffectDlg dlg;
        dlg.SetBaseBmp(start);
        dlg.SetEffectMode(emExpan);
        for (int i = 0; i < 8; ++i)
            Button(dlg, "ZoomUpBtn")->click();
        for (int i = 0; i < 30; ++i)
            Button(dlg, "MoveRightBtn")->click();
        EXPECT_EQ(dlg.Trim().Window(), QRect(80, 40, 320, 120));
        dlg.accept();
        ASSERT_EQ(dlg.TTransBmp().size(), QSize(400, 200));
        EXPECT_EQ(dlg.TTransBmp().pixel(399, 0), qRgb(0, 255, 0));
        EXPECT_EQ(dlg.TTransBmp().pixel(399, 199), qRgb(255, 255, 255));
    }
}

TEST(ImageEffectDlgTest, DraggingOnThePreviewCutsWhatWasDragged) {
    TImageEffectDlg dlg;
    dlg.SetBaseBmp(Quarters(400, 200));
    dlg.SetEffectMode(emExpan);
    Show(dlg);
    TEffectPreview* preview = dlg.Preview();
    const QRect box = preview->PaintBox();
    ASSERT_FALSE(box.isEmpty());

    // A click is no cut-out.
    QTest::mouseClick(preview, Qt::LeftButton, {}, box.center());
    EXPECT_TRUE(dlg.CutOut().isNull());

    // From the bottom-right quarter's middle up and left past the panel's corner: normalised and
    // clipped to the picture, so the cut is the top-left three quarters' corner region.
    const QPoint from = box.topLeft() + QPoint(box.width() * 3 / 4, box.height() * 3 / 4);
    QTest::mousePress(preview, Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, QPointF(-50, -50), preview->mapToGlobal(QPointF(-50, -50)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(preview, &move);
    EXPECT_TRUE(preview->HasSelection());
    QTest::mouseRelease(preview, Qt::LeftButton, {}, QPoint(-50, -50));
    const QImage cut = dlg.CutOut();
    ASSERT_FALSE(cut.isNull());
    EXPECT_NEAR(cut.width(), 300, 3);
    EXPECT_NEAR(cut.height(), 150, 3);
    EXPECT_EQ(cut.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(cut.pixel(cut.width() - 1, cut.height() - 1), qRgb(255, 255, 255));
    EXPECT_FALSE(dlg.CutPreview()->PaintBox().isEmpty());
    dlg.accept();
    EXPECT_EQ(dlg.TTransBmp(), cut);
}

TEST(ImageEffectDlgTest, AnEmptyPictureNeverReachesThePreview) {
    QImage empty;
    EXPECT_FALSE(TImageEffectDlg::Execute(empty, emTurn, nullptr));
    QImage zero(0, 0, QImage::Format_RGB32);
    EXPECT_FALSE(TImageEffectDlg::Execute(zero, emExpan, nullptr));

    TImageEffectDlg dlg;
    dlg.SetBaseBmp(QImage());
    dlg.SetEffectMode(emExpan);
    Show(dlg);
    EXPECT_TRUE(dlg.Preview()->PaintBox().isEmpty());
    dlg.ZoomUp();
    dlg.Move(TImageEffectDlg::mvRight);
    Button(dlg, "TurnRightBtn")->click();
    dlg.SelectPart(QRect(0, 0, 10, 10), QSize(10, 10));
    EXPECT_TRUE(dlg.CutOut().isNull());
}

TEST(ImageEffectDlgTest, ATransparentPngShowsClearInThePreviewAndStaysSoThroughSavingAndOpening) {
    QTemporaryDir dir;
    QImage picture(80, 40, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    QPainter(&picture).fillRect(40, 0, 40, 40, QColor(0, 160, 0)); // a clear left half
    ASSERT_TRUE(picture.save(dir.filePath("clear.png"), "PNG"));
    TEditSurface s;
    ASSERT_TRUE(s->AddImageFromFile(dir.filePath("clear.png")));
    auto* image = static_cast<TPriImage*>(s->Objects()[0].get());

    TImageEffectDlg dlg;
    dlg.SetBaseBmp(image->BltBmp);
    dlg.SetEffectMode(emExpan);
    Show(dlg);
    const QRect box = dlg.Preview()->PaintBox();
    const QImage shown = dlg.Preview()->grab().toImage();
    EXPECT_GT(qGray(shown.pixel(box.topLeft() + QPoint(2, box.height() / 2))), 150); // not a dark square
    EXPECT_GT(qGreen(shown.pixel(box.bottomRight() - QPoint(2, 2))), 100);
    dlg.SelectPart(QRect(0, 0, 60, 40), QSize(80, 40));
    dlg.accept();
    image->BltBmp = dlg.TTransBmp();
    ASSERT_TRUE(s->SaveToFile(dir.filePath("a.tda"), 0));

    TEditSurface t;
    ASSERT_TRUE(t->LoadFromFile(dir.filePath("a.tda"), 0));
    const QImage opened = static_cast<TPriImage*>(t->Objects()[0].get())->BltBmp;
    ASSERT_EQ(opened.size(), QSize(60, 40));
    EXPECT_EQ(qAlpha(opened.pixel(5, 5)), 0);
    EXPECT_EQ(opened.pixel(55, 5), qRgb(0, 160, 0));
}
