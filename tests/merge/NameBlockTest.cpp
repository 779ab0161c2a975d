#include "merge/NameBlock.h"
#include "merge/PriField.h"
#include "objects/TextOverflow.h"

#include <QImage>
#include <QMap>
#include <QPainter>
#include <gtest/gtest.h>
#include <set>

namespace {

enum { kFamily = 4, kGiven = 5, kJoint1 = 6, kJoint2 = 7, kHonorific = 8 };

// A name block field on a 96-dpi page, 30 × 90 mm, vertical unless told.
struct TNameRig {
    QImage page{800, 800, QImage::Format_RGB32};
    TPriField field;
    explicit TNameRig(TFontAngle angle = faLong) {
        page.fill(Qt::white);
        field.BackImage = &page;
        field.Font.setFamily(QStringLiteral("ＭＳ 明朝"));
        field.SameFSize = 28;
        field.SetFontAngle(angle);
        field.CategoryNum = kFamily;
        field.Extras.NameBlock = true;
        field.Extras.GivenCategory = kGiven;
        field.Extras.Joint1Category = kJoint1;
        field.Extras.Joint2Category = kJoint2;
        field.Extras.HonorificCategory = kHonorific;
        field.SetStoreRect(angle == faLong ? QRect(200, 100, 300, 900) : QRect(100, 200, 900, 300));
        field.ScaleToView(page.size(), page.size(), 96);
        field.SetCategoryName(QStringLiteral("姓"));
    }
    void Show(const QMap<int, QString>& values) {
        field.SetRecordValues([&values](int c) { return values.value(c); }, 1, 1);
    }
    std::vector<TGlyphRec> Glyphs(QChar c) const {
        std::vector<TGlyphRec> out;
        for (const TGlyphRec& g : field.Glyphs())
            if (g.Text == c.unicode()) out.push_back(g);
        return out;
    }
    std::set<int> Columns() const {
        std::set<int> across;
        for (const TGlyphRec& g : field.Glyphs())
            across.insert(field.Vertical() ? g.X : g.Y);
        return across;
    }
};

} // namespace

TEST(NameBlockTest, JointNamesAlignWithTheMainGivenNameAndHonorific) {
    for (TFontAngle angle : {faLong, faSide}) {
        TNameRig rig(angle);
        rig.Show({{kFamily, "山田"}, {kGiven, "太郎"}, {kJoint1, "花子"}, {kJoint2, "一"}, {kHonorific, "殿"}});
        EXPECT_EQ(rig.field.BltStrings(), QStringList({"山田太郎殿", "花子殿", "一殿"})) << angle;
        const bool v = angle == faLong;
        const auto along = [v](const TGlyphRec& g) { return v ? g.Y : g.X; };
        const auto across = [v](const TGlyphRec& g) { return v ? g.X : g.Y; };
        const TGlyphRec main = rig.Glyphs(u'太')[0], joint1 = rig.Glyphs(u'花')[0], joint2 = rig.Glyphs(u'一')[0];
        EXPECT_EQ(along(main), along(joint1)) << angle;
        EXPECT_EQ(along(main), along(joint2)) << angle;
        const auto honorifics = rig.Glyphs(u'殿');
        ASSERT_EQ(honorifics.size(), 3u);
        for (const TGlyphRec& h : honorifics)
            EXPECT_EQ(along(h), along(honorifics[0])) << angle;
        // Joint columns to the left of the main one; joint rows below it.
        if (v) {
            EXPECT_LT(across(joint1), across(main));
            EXPECT_LT(across(joint2), across(joint1));
        } else {
            EXPECT_GT(across(joint1), across(main));
            EXPECT_GT(across(joint2), across(joint1));
        }
        EXPECT_FALSE(TTextOverflow::LostCharacters(rig.field));
    }
}

TEST(NameBlockTest, EmptyJointNamesTakeNoColumnAndTheMainColumnIsCentred) {
    TNameRig rig;
    rig.Show({{kFamily, "山田"}, {kGiven, "太郎"}});
    EXPECT_EQ(rig.field.BltStrings(), QStringList({"山田太郎様"}));
    EXPECT_EQ(rig.Columns().size(), 1u);
    TTextCanvas m(nullptr, 96);
    rig.field.SetDrawFont(m, rig.field.LayoutSize(), false, bmLayout);
    const int right = *rig.Columns().begin();
    EXPECT_NEAR(right - m.TextHeight() / 2.0, rig.field.Left + rig.field.Width / 2.0, 1);

    rig.Show({{kFamily, "山田"}, {kGiven, "太郎"}, {kJoint2, "花子"}});
    EXPECT_EQ(rig.Columns().size(), 2u);
    rig.Show({{kFamily, "山田"}, {kGiven, "太郎"}, {kJoint1, "　"}});
    EXPECT_EQ(rig.Columns().size(), 1u);
}

TEST(NameBlockTest, LongNamesShrinkInsideTheBoxOnScreenAndAt300Dpi) {
    for (TFontAngle angle : {faLong, faSide}) {
        TNameRig rig(angle);
        rig.Show({{kFamily, "勅使河原小比類巻"},
                  {kGiven, "寿限無五劫の擦り切れ"},
                  {kJoint1, "海砂利水魚の水行末"},
                  {kJoint2, "雲来末風来末"},
                  {kHonorific, "御中"}});
        EXPECT_LT(rig.field.LayoutSize(), 28) << angle;
        EXPECT_EQ(rig.Columns().size(), 3u) << angle;
        TTextCanvas m(nullptr, 96);
        rig.field.SetDrawFont(m, rig.field.LayoutSize(), false, bmLayout);
        const QRect box(rig.field.Left, rig.field.Top, rig.field.Width, rig.field.Height);
        for (const TGlyphRec& g : rig.field.Glyphs()) {
            const int w = m.CharWidth(g.Text), h = m.TextHeight();
            const QRect cell = angle == faLong ? QRect(g.X - h, g.Y, h, w) : QRect(g.X, g.Y, w, h);
            EXPECT_TRUE(box.contains(cell)) << angle;
        }

        QRect target;
        rig.field.GetPrintRect(false, {300, 300}, target, 0, 0);
        QImage device(2500, 2500, QImage::Format_RGB32);
        device.fill(Qt::white);
        QPainter p(&device);
        rig.field.PrintDraw(p, target, false, {0, 0}, TRect{}, device.rect());
        p.end();
        int ring = 0, ink = 0;
        for (int y = target.top(); y <= target.bottom(); ++y)
            for (int x = target.left(); x <= target.right(); ++x) {
                const bool dark = device.pixel(x, y) != qRgb(255, 255, 255);
                ink += dark;
                ring +=
                    dark && (x == target.left() || x == target.right() || y == target.top() || y == target.bottom());
            }
        EXPECT_EQ(ring, 0) << angle; // nothing cut at the box's edge
        EXPECT_GT(ink, 5000) << angle;
        if (angle == faLong) device.copy(target).save(QStringLiteral(KOMOREBI_BINARY_DIR "/nameblock-print-long.png"));
    }
}

TEST(NameBlockTest, EditingShowsTheCategoriesAsASample) {
    TNameRig rig;
    EXPECT_EQ(rig.field.BltStrings(), QStringList({"姓名敬称", "連名１敬称", "連名２敬称"}));
    rig.field.Extras.Joint2Category = -1;
    rig.field.Extras.HonorificCategory = -1;
    rig.field.MakeLines();
    EXPECT_EQ(rig.field.BltStrings(), QStringList({"姓名様", "連名１様"}));

    // Without the option the lookup fills the field as its own value alone.
    TNameRig plain;
    plain.field.Extras.NameBlock = false;
    plain.Show({{kFamily, "佐藤"}, {kGiven, "一"}});
    EXPECT_EQ(plain.field.DataString(), QStringLiteral("佐藤"));
}
