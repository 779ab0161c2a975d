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
        page.fill(Qt::white);
        label.Font.setFamily(QStringLiteral("ＭＳ 明朝"));
        label.SameFSize = 20;
        label.SetFontAngle(angle);
        label.Extras.ShrinkToFit = true;
        label.BackImage = &page;
        label.SetStoreRect(QRect(100, 100, 300, 500));
        label.ScaleToView(page.size(), page.size(), 96);
    }
    // Every glyph's cell lies in the box at 100 %.
    bool CellsInside() {
        TTextCanvas m(nullptr, 96);
        label.SetDrawFont(m, label.LayoutSize(), false, bmLayout);
        const QRect box(label.Left, label.Top, label.Width, label.Height);
        for (const TGlyphRec& g : label.Glyphs()) {
            if (g.Text == 0) return false;
            const int w = m.CharWidth(g.Text), h = m.TextHeight();
            const QRect cell = label.Vertical() ? QRect(g.X - h, g.Y, h, w) : QRect(g.X, g.Y, w, h);
            if (!box.contains(cell)) return false;
        }
        return true;
    }
};

// Ink on the one-pixel ring just inside a rectangle: a character cut by the clip leaves some.
int RingInk(const QImage& image, const QRect& r) {
    int n = 0;
    for (int x = r.left(); x <= r.right(); ++x)
        n += (image.pixel(x, r.top()) != qRgb(255, 255, 255)) + (image.pixel(x, r.bottom()) != qRgb(255, 255, 255));
    for (int y = r.top(); y <= r.bottom(); ++y)
        n += (image.pixel(r.left(), y) != qRgb(255, 255, 255)) + (image.pixel(r.right(), y) != qRgb(255, 255, 255));
    return n;
}

} // namespace

TEST(PriLabelFitTest, ShortTextKeepsItsSizeLongTextShrinksInsideTheBox) {
    for (TFontAngle angle : {faSide, faLong}) {
        TFitRig rig(angle);
        rig.label.SetDataString(QStringLiteral("山田"));
        EXPECT_EQ(rig.label.LayoutSize(), 20) << angle; // never grows past the set size
        rig.label.SetDataString(kLong);
        rig.label.UpdateGlyphs(rig.page.size(), rig.page.size(), true, 96);
        const int fitted = rig.label.LayoutSize();
        EXPECT_LT(fitted, 20) << angle;
        EXPECT_GT(fitted, 4) << angle;
        EXPECT_TRUE(rig.CellsInside()) << angle;
        EXPECT_FALSE(TTextOverflow::LostCharacters(rig.label)) << angle;

        // One point more, not shrinking, loses characters: the fit is the largest that fits.
        rig.label.Extras.ShrinkToFit = false;
        rig.label.SameFSize = fitted + 1;
        rig.label.MakeLines();
        rig.label.UpdateGlyphs(rig.page.size(), rig.page.size(), true, 96);
        EXPECT_TRUE(TTextOverflow::LostCharacters(rig.label)) << angle;
    }
}

TEST(PriLabelFitTest, ZoomAndPrintUseTheFittedSize) {
    for (TFontAngle angle : {faSide, faLong}) {
        TFitRig rig(angle);
        rig.label.SetDataString(kLong);
        rig.label.UpdateGlyphs(rig.page.size(), rig.page.size(), true, 96);
        const int fitted = rig.label.LayoutSize();
        const QStringList lines = rig.label.BltStrings();
        EXPECT_EQ(rig.label.DisplayFontSize(), fitted);

        QImage zoomed(800, 800, QImage::Format_RGB32);
        rig.label.BackImage = &zoomed;
        rig.label.ScaleToView(zoomed.size(), rig.page.size(), 96);
        EXPECT_EQ(rig.label.BltStrings(), lines) << angle;
        EXPECT_EQ(rig.label.LayoutSize(), fitted) << angle;
        EXPECT_NEAR(rig.label.DisplayFontSize(), 2 * fitted, 1) << angle;

        QRect target;
        rig.label.GetPrintRect(false, {300, 300}, target, 0, 0);
        QImage device(1250, 1250, QImage::Format_RGB32);
        device.fill(Qt::white);
        QPainter p(&device);
        rig.label.PrintDraw(p, target, false, {0, 0}, TRect{}, device.rect());
        p.end();
        EXPECT_EQ(RingInk(device, target), 0) << angle;
        int ink = 0;
        for (int y = target.top(); y <= target.bottom(); ++y)
            for (int x = target.left(); x <= target.right(); ++x)
                ink += device.pixel(x, y) != qRgb(255, 255, 255);
        EXPECT_GT(ink, 3000) << angle;
    }
}

TEST(PriLabelFitTest, CopiesKeepTheFitAndTheOptionOffChangesNothing) {
    TFitRig rig(faLong);
    rig.label.SetDataString(kLong);
    TPriLabel copy;
    copy.AssignObject(&rig.label);
    EXPECT_EQ(copy.LayoutSize(), rig.label.LayoutSize());
    EXPECT_TRUE(copy.Extras.ShrinkToFit);

    TFitRig off(faLong);
    off.label.Extras.ShrinkToFit = false;
    off.label.SetDataString(kLong);
    EXPECT_EQ(off.label.LayoutSize(), 20);
}
