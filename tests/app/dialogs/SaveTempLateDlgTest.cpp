#include "app/dialogs/SaveTempLateDlg.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

TEST(SaveTempLateDlgTest, NamesThatWouldLeaveTheDataFolderOrBreakTheFileAreRefused) {
    struct TCase {
        QString Name;
        bool Ok;
    } cases[] = {
        {QStringLiteral("年間カレンダー"), true},
        {QStringLiteral("my calendar 2027"), true},
        {QStringLiteral("a.b"), true},
        {QString(), false},
        {QStringLiteral("   "), false},
        {QStringLiteral(".."), false},
        {QStringLiteral("../up"), false},
        {QStringLiteral("a..b"), false},
        {QStringLiteral("sub/name"), false},
        {QStringLiteral("back\\slash"), false},
        {QStringLiteral("ask?"), false},
        {QStringLiteral("star*"), false},
        {QStringLiteral("a:b"), false},
        {QStringLiteral("<x>"), false},
        {QStringLiteral("pipe|"), false},
        {QStringLiteral("quote\""), false},
        {QStringLiteral("line\nbreak"), false},
        {QString(QChar(0x7F)), false},
        {QStringLiteral(" lead"), false},
        {QStringLiteral("dot."), false},
        {QString(200, QChar(0x3042)), false}, // 600 bytes of UTF-8
    };
    for (const TCase& c : cases)
        EXPECT_EQ(TSaveTempLateDlg::NameProblem(c.Name).isEmpty(), c.Ok) << c.Name.toStdString();
    EXPECT_EQ(TSaveTempLateDlg::NameProblem(QString()), QStringLiteral("ファイル名を入力して下さい"));
}

TEST(SaveTempLateDlgTest, RefusedNameKeepsTheDialogOpen) {
    TSaveTempLateDlg dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("ダイアログ"));
    QStringList asked;
    dialog.OnAccept = [&](const QString& name) {
        asked << name;
        return TSaveTempLateDlg::NameProblem(name).isEmpty();
    };
    dialog.show();
    dialog.SetFileName(QStringLiteral("a/b"));
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), 0);
    dialog.SetFileName(QStringLiteral("ok"));
    dialog.accept();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), int(QDialog::Accepted));
    EXPECT_EQ(asked, (QStringList{QStringLiteral("a/b"), QStringLiteral("ok")}));
}
