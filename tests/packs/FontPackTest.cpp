#include "PackDriver.h"

#include "platform/PackLibrary.h"

#include <QFontDatabase>
#include <gtest/gtest.h>

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
    for (const QString& face : items) {
        EXPECT_FALSE(face.startsWith('@')) << face.toStdString();
        EXPECT_TRUE(QFontDatabase::isScalable(face)) << face.toStdString();
        const bool isJapanese = japanese.contains(face);
        // Once a face without Japanese shows up, no Japanese one may follow.
        EXPECT_TRUE(inJapaneseGroup || !isJapanese) << face.toStdString();
        inJapaneseGroup = inJapaneseGroup && isJapanese;
    }
    EXPECT_TRUE(japanese.contains(items.first()));

    // Any other mode adds only what is missing; a false flag adds the vertical faces.
    QStringList more{items.first(), "mine"};
    ASSERT_TRUE(bool(packs.GetTrueType(more, 1, false)));
    EXPECT_EQ(more.count(items.first()), 1);
    EXPECT_EQ(more.at(1), "mine");
    EXPECT_TRUE(more.contains('@' + items.first()));
    EXPECT_EQ(more.size(), 1 + items.size() + int(std::count_if(items.begin(), items.end(), [&](const QString& f) {
                               return japanese.contains(f);
                           })));
}
