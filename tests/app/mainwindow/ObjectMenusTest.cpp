#include "app/mainwindow/ObjectMenus.h"
#include "calendar/PriCarendar.h"
#include "document/EditHistory.h"
#include "merge/PriField.h"
#include "merge/PriPortal.h"
#include "objects/PriImage.h"
#include "objects/PriLabel.h"
#include "objects/PriLine.h"
#include "support/EditSurface.h"

#include <QMenu>
#include <QTest>
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

TEST(ObjectMenusTest, FontItemEditsEverySelectedUnlockedTextThroughTheFontDialog) {
    TEditSurface s;
    auto addText = [&](QRect stored) {
        auto label = std::make_unique<TPriLabel>();
        label->SetDataString(QStringLiteral("春"));
        label->Font.setFamily(QStringLiteral("ＭＳ ゴシック"));
        label->SameFSize = 12;
        label->Font.setItalic(true);
        return s.Add(std::move(label), stored);
    };
    TPriLabel* first = addText(QRect(100, 100, 600, 200));
    TPriLabel* second = addText(QRect(100, 400, 600, 200));
    TPriLabel* locked = addText(QRect(100, 700, 600, 200));
    TPriShape* shape = s.AddRect(QRect(800, 100, 300, 300));
    locked->LockCheck = true;
    for (TPriBase* o : {static_cast<TPriBase*>(first), static_cast<TPriBase*>(second), static_cast<TPriBase*>(locked),
                        static_cast<TPriBase*>(shape)})
        s->SelectObject(o);
    s->NudgeSelection(1, 0); // an earlier step, kept when the dialog is cancelled
    TObjectMenus menus(*s);
    auto menu = menus.MenuFor(first);
    QAction* font = Find(*menu, QStringLiteral("フォント編集"));
    ASSERT_TRUE(font && font->isEnabled());

    font->trigger(); // cancelled
    EXPECT_EQ(s.Dialogs.FontMode, 1);
    EXPECT_EQ(s.Dialogs.FontKind, okLabel);
    EXPECT_EQ(s.Dialogs.FontFaceIn, QStringLiteral("ＭＳ ゴシック"));
    EXPECT_EQ(s.Dialogs.FontSizeIn, 12);
    EXPECT_EQ(s.Dialogs.FontStyleIn, fsItalicBit);
    EXPECT_EQ(s->History().UndoKind(), ukMove);
    EXPECT_EQ(first->SameFSize, 12);

    s.Dialogs.HasFont = true;
    font->trigger();
    for (TPriLabel* t : {first, second}) {
        EXPECT_EQ(t->Font.family(), QStringLiteral("IPAex明朝"));
        EXPECT_EQ(t->SameFSize, 24);
        EXPECT_TRUE(t->Font.bold() && t->Font.underline() && !t->Font.italic());
        EXPECT_EQ(t->FontColor, TColor(0x0000FF));
        EXPECT_EQ(t->FontAngle(), faLong);
        EXPECT_EQ(t->SidePos, psCenter);
        EXPECT_EQ(t->CharSpace, 3);
        EXPECT_EQ(t->Extras.HyphenRule, TObjectExtras::THyphenRule::Dash);
        EXPECT_TRUE(t->Extras.ShrinkToFit);
    }
    EXPECT_EQ(locked->SameFSize, 12);
    EXPECT_EQ(locked->FontAngle(), faSide);
    EXPECT_EQ(s->History().UndoKind(), ukProperty);
    EXPECT_EQ(s->History().UndoCount(), 2); // the nudge kept through the cancel, then the fonts

    s->Undo();
    EXPECT_EQ(first->SameFSize, 12);
    EXPECT_EQ(second->FontAngle(), faSide);
    EXPECT_TRUE(second->Font.italic());
    EXPECT_FALSE(second->Extras.ShrinkToFit);
}

// Pictures of every context menu for looking at by eye, on a real X server only:
//   KOMOREBI_SHOT_DIR=/tmp/shots QT_QPA_PLATFORM=xcb xvfb-run -a build/tests/komorebi_tests \
//     --gtest_also_run_disabled_tests --gtest_filter='*DISABLED_ShotsOfTheMenus*'
TEST(ObjectMenusTest, DISABLED_ShotsOfTheMenus) {
    const QString folder = qEnvironmentVariable("KOMOREBI_SHOT_DIR");
    if (folder.isEmpty()) GTEST_SKIP() << "KOMOREBI_SHOT_DIR is not set";
    TEditSurface s;
    std::vector<std::pair<QString, std::unique_ptr<TPriBase>>> kinds;
    kinds.emplace_back(QStringLiteral("text"), std::make_unique<TPriLabel>());
    kinds.emplace_back(QStringLiteral("image"), std::make_unique<TPriImage>());
    kinds.emplace_back(QStringLiteral("field"), std::make_unique<TPriField>());
    kinds.emplace_back(QStringLiteral("shape"), std::make_unique<TPriShape>());
    kinds.emplace_back(QStringLiteral("line"), std::make_unique<TPriLine>());
    kinds.emplace_back(QStringLiteral("portal"), std::make_unique<TPriPortal>());
    kinds.emplace_back(QStringLiteral("calendar"), std::make_unique<TPriCarendar>());
    TObjectMenus menus(*s);
    const auto shoot = [&](TPriBase* object, const QString& name) {
        auto menu = menus.MenuFor(object);
        menu->popup(QPoint(20, 20));
        QTest::qWait(300);
        menu->grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
        menu->hide();
    };
    for (auto& [name, object] : kinds) {
        object->SetStoreRect(QRect(100, 100, 300, 300));
        TPriBase* added = s->AppendObject(std::move(object));
        s->DeselectAll();
        s->SelectObject(added);
        shoot(added, QStringLiteral("menu-") + name);
        if (name == QLatin1String("shape")) {
            added->LockCheck = true;
            shoot(added, QStringLiteral("menu-locked"));
            added->LockCheck = false;
        }
    }
    s->DeselectAll();
    shoot(nullptr, QStringLiteral("menu-page"));
}

TEST(ObjectMenusTest, FieldTextItemsFollowItsStateAndEditTheCategoryName) {
    TEditSurface s;
    auto made = std::make_unique<TPriField>();
    made->SetCategoryName(QStringLiteral("氏名"));
    TPriField* field = s.Add(std::move(made), QRect(100, 100, 600, 200));
    s->SelectObject(field);
    TObjectMenus menus(*s);

    field->FieldState = fsBarcode;
    auto barcode = menus.MenuFor(field);
    EXPECT_TRUE(Find(*barcode, QStringLiteral("カテゴリ編集"))->isEnabled());
    EXPECT_FALSE(Find(*barcode, QStringLiteral("文字列編集"))->isEnabled());
    EXPECT_FALSE(Find(*barcode, QStringLiteral("フォント編集"))->isEnabled());

    field->FieldState = fsText;
    auto text = menus.MenuFor(field);
    s.Dialogs.HasText = true;
    Find(*text, QStringLiteral("文字列編集"))->trigger();
    EXPECT_EQ(field->CategoryName(), QStringLiteral("こもれび"));
    EXPECT_EQ(s->History().UndoKind(), ukProperty);
    s.Dialogs.HasFont = true;
    Find(*text, QStringLiteral("フォント編集"))->trigger();
    EXPECT_EQ(s.Dialogs.FontKind, okField); // the scratch text carries the field's kind
    EXPECT_EQ(field->SameFSize, 24);
}
