#include "PackDriver.h"

#include "platform/PackLibrary.h"

#include <QFontDatabase>
#include <gtest/gtest.h>

namespace {

const QStringList kTemplateFaces{QStringLiteral("ＭＳ ゴシック"), QStringLiteral("ＭＳ Ｐゴシック"),
                                 QStringLiteral("ＭＳ 明朝"), QStringLiteral("ＭＳ Ｐ明朝")};

} // namespace

TEST(FontPackTest, FillsTheFontBoxJapaneseFacesFirst) {
    TPackLibrary packs(BuiltAppPath());
    QStringList items{"stale"};
    ASSERT_TRUE(bool(packs.GetTrueType(items, 0, true)));
    ASSERT_FALSE(items.isEmpty());
    EXPECT_FALSE(items.contains("stale")); // mode 0 replaces
    EXPECT_EQ(items.removeDuplicates(), 0);

    const QStringList japanese = QFontDatabase::families(QFontDatabase::Japanese);
    ASSERT_FALSE(japanese.isEmpty()) << "the IPA fonts are part of the build machine";
    bool inJapaneseGroup = true;
    int japaneseCount = 0;
    for (const QString& face : items) {
        EXPECT_FALSE(face.startsWith('@')) << face.toStdString();
        const bool templateFace = kTemplateFaces.contains(face);
        EXPECT_TRUE(templateFace || QFontDatabase::isScalable(face)) << face.toStdString();
        const bool isJapanese = templateFace || japanese.contains(face);
        // Once a face without Japanese shows up, no Japanese one may follow.
        EXPECT_TRUE(inJapaneseGroup || !isJapanese) << face.toStdString();
        inJapaneseGroup = inJapaneseGroup && isJapanese;
        japaneseCount += isJapanese;
    }

    // Any other mode adds only what is missing; a false flag adds the vertical faces.
    QStringList more{items.first(), "mine"};
    ASSERT_TRUE(bool(packs.GetTrueType(more, 1, false)));
    EXPECT_EQ(more.count(items.first()), 1);
    EXPECT_EQ(more.at(1), "mine");
    EXPECT_TRUE(more.contains('@' + items.first()));
    EXPECT_EQ(more.size(), 1 + items.size() + japaneseCount);
}

// The main window's box offers what the dialogs' face boxes offer: the faces templates name first,
// then every installed family once, however many foundries provide it.
TEST(FontPackTest, OffersTheTemplateFacesFirstAndEachFamilyOnce) {
    TPackLibrary packs(BuiltAppPath());
    QStringList items;
    ASSERT_TRUE(bool(packs.GetTrueType(items, 0, true)));
    EXPECT_EQ(items.mid(0, 4), kTemplateFaces);
    for (const QString& face : items)
        EXPECT_FALSE(face.contains(QLatin1String(" ["))) << face.toStdString();
    for (QString family : QFontDatabase::families()) {
        if (QFontDatabase::isPrivateFamily(family) || !QFontDatabase::isScalable(family)) continue;
        family = family.section(QLatin1String(" ["), 0, 0);
        EXPECT_TRUE(items.contains(family)) << family.toStdString();
    }
}
