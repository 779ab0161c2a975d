#include "objects/PriLabel.h"
#include "objects/TextOverflow.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

const QString kLong = QStringLiteral("東京都千代田区千代田一丁目一番一号　皇居東御苑管理事務所気付　"
                                     "とても長い建物の名前の三階");

// A shrinking text on a 96-dpi page bitmap.
struct TFitRig {
    QImage page{400, 400, QImage::Format_RGB32};
    TPriLabel label;
    explicit TFitRig(TFontAngle angle) {
        label.Font.setFamily(QStringLiteral("ＭＳ 明朝"));
        label.SameFSize = 20;
        label.SetFontAngle(angle);
        label.Extras.ShrinkToFit = true;
        label.BackImage = &page;
        label.SetStoreRect(QRect(100, 100, 300, 500));
        label.ScaleToView(page.size(), page.size(), 96);
    }
    void Show(const QString& text) {
        label.SetDataString(text);
        label.UpdateGlyphs(page.size(), page.size(), true, 96);
    }
};

} // namespace

TEST(PriLabelFitTest, LongTextShrinksToTheLargestSizeThatFitsShortTextKeepsItsSize) {
    for (TFontAngle angle : {faSide, faLong}) {
        TFitRig rig(angle);
        rig.Show(QStringLiteral("山田"));
        EXPECT_EQ(rig.label.LayoutSize(), 20) << angle; // never grows past the set size
        rig.Show(kLong);
        const int fitted = rig.label.LayoutSize();
        EXPECT_LT(fitted, 20) << angle;
        EXPECT_GT(fitted, 4) << angle;
        EXPECT_EQ(rig.label.DisplayFontSize(), fitted) << angle;
        TTextCanvas m(nullptr, 96);
        rig.label.SetDrawFont(m, fitted, false, bmLayout);
        const QRect box(rig.label.Left, rig.label.Top, rig.label.Width, rig.label.Height);
        for (const TGlyphRec& g : rig.label.Glyphs()) {
            const int w = m.CharWidth(g.Text), h = m.TextHeight();
            EXPECT_TRUE(box.contains(angle == faLong ? QRect(g.X - h, g.Y, h, w) : QRect(g.X, g.Y, w, h))) << angle;
        }
        EXPECT_FALSE(TTextOverflow::LostCharacters(rig.label)) << angle;
        TPriLabel copy;
        copy.AssignObject(&rig.label);
        EXPECT_EQ(copy.LayoutSize(), fitted);

        // One point more without shrinking loses characters.
        rig.label.Extras.ShrinkToFit = false;
        rig.label.SameFSize = fitted + 1;
        rig.Show(kLong);
        EXPECT_EQ(rig.label.LayoutSize(), fitted + 1);
        EXPECT_TRUE(TTextOverflow::LostCharacters(rig.label)) << angle;
    }
}

TEST(PriLabelFitTest, ZoomAndPrintAt300DpiUseTheFittedSizeAndCutNothing) {
    for (TFontAngle angle : {faSide, faLong}) {
        TFitRig rig(angle);
        rig.Show(kLong);
        const int fitted = rig.label.LayoutSize();
        const QStringList lines = rig.label.BltStrings();
        QImage zoomed(800, 800, QImage::Format_RGB32);
        rig.label.BackImage = &zoomed;
        rig.label.ScaleToView(zoomed.size(), rig.page.size(), 96);
        EXPECT_EQ(rig.label.BltStrings(), lines) << angle;
        EXPECT_NEAR(rig.label.DisplayFontSize(), 2 * fitted, 1) << angle;

        QRect target;
        rig.label.GetPrintRect(false, {300, 300}, target, 0, 0);
        QImage device(1250, 1250, QImage::Format_RGB32);
        device.fill(Qt::white);
        QPainter p(&device);
        rig.label.PrintDraw(p, target, false, {0, 0}, TRect{}, device.rect());
        p.end();
        // A character cut by the box would leave ink on its edge.
        int ink = 0, edge = 0;
        for (int y = target.top(); y <= target.bottom(); ++y)
            for (int x = target.left(); x <= target.right(); ++x) {
                const bool dark = device.pixel(x, y) != qRgb(255, 255, 255);
                ink += dark;
                edge +=
                    dark && (x == target.left() || x == target.right() || y == target.top() || y == target.bottom());
            }
        EXPECT_EQ(edge, 0) << angle;
        EXPECT_GT(ink, 3000) << angle;
    }
}
