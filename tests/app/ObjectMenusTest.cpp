#include "app/ObjectMenus.h"
#include "support/EditSurface.h"

#include <QMenu>
#include <gtest/gtest.h>

namespace {

QStringList Items(QMenu& menu) {
    QStringList out;
    for (QAction* a : menu.actions())
        out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}

QAction* Find(QMenu& menu, const QString& text) {
    for (QAction* a : menu.actions())
        if (a->text() == text) return a;
    return nullptr;
}

} // namespace

TEST(ObjectMenusTest, MenusFollowTheObjectAndThePage) {
    TEditSurface s;
    TPriShape* shape = s.AddRect(QRect(100, 100, 300, 300));
    TObjectMenus menus(*s);

    // A locked object offers only its unlocking.
    shape->LockCheck = true;
    auto locked = menus.MenuFor(shape);
    EXPECT_EQ(Items(*locked), QStringList{QStringLiteral("ロック解除")});
    s->SelectObject(shape);
    locked->actions().first()->trigger();
    EXPECT_FALSE(shape->LockCheck);

    auto menu = menus.MenuFor(shape);
    const QStringList expected{"切り取り",
                               "コピー",
                               "貼り付け",
                               "-",
                               "削除",
                               "-",
                               "描画スタイル変更",
                               "-",
                               "最前面に移動",
                               "前面に移動",
                               "最後面に移動",
                               "後面に移動",
                               "-",
                               "印刷する",
                               "-",
                               "ロック"};
    EXPECT_EQ(Items(*menu), expected);
    EXPECT_TRUE(Find(*menu, QStringLiteral("削除"))->isEnabled());
    EXPECT_TRUE(Find(*menu, QStringLiteral("印刷する"))->isChecked());

    // The page without a background: nothing to turn, erase or hide.
    s->DeselectAll();
    auto page = menus.MenuFor(nullptr);
    EXPECT_FALSE(Find(*page, QStringLiteral("削除"))->isEnabled());
    EXPECT_FALSE(Find(*page, QStringLiteral("背景回転編集"))->isEnabled());
    EXPECT_FALSE(Find(*page, QStringLiteral("背景消去"))->isEnabled());
    EXPECT_FALSE(Find(*page, QStringLiteral("背景非表示"))->isEnabled());
    EXPECT_TRUE(Find(*page, QStringLiteral("位置揃え"))->isEnabled());
}
