#include "calendar/FamilyDays.h"

#include "platform/Cp932.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using TEntry = TFamilyDays::TEntry;

// Each file of one line gives one entry or one numbered problem, never both.
TEST(FamilyDaysTest, LinesGiveEntriesOrProblems) {
    const QString yoshi = QStringLiteral("𠮷田");
    struct Case {
        QByteArray bytes;
        TEntry entry; // Month 0: a problem is expected
        QString problem;
    } cases[] = {
        {"05/03 Mother", {0, 5, 3, "Mother"}, {}},
        {"\xEF\xBB\xBF"
         "1990/5/3\t" +
             yoshi.toUtf8(),
         {1990, 5, 3, yoshi},
         {}},
        {TCp932::Encode(QStringLiteral("２０１０／０４／０１　入学式")), {2010, 4, 1, QStringLiteral("入学式")}, {}},
        {"  2/29   leap  \r\n", {0, 2, 29, "leap"}, {}},
        {"2099/12/31 later", {2099, 12, 31, "later"}, {}},
        {"# 01/01 comment\n\n", {}, {}},
        {"\n02/30 x", {}, QStringLiteral("2行目: 日付「02/30」はありません")},
        {"13/01 x", {}, QStringLiteral("1行目: 日付「13/01」はありません")},
        {"2023/02/29 x", {}, QStringLiteral("1行目: 日付「2023/02/29」はありません")},
        {"05/05", {}, QStringLiteral("1行目: 名前がありません")},
        {"5-5 x", {}, QStringLiteral("1行目: 日付「5-5」は MM/DD か YYYY/MM/DD で書いてください")},
    };
    for (const Case& c : cases) {
        TFamilyDays days;
        QStringList problems;
        days.LoadFromBytes(c.bytes, &problems);
        const std::vector<TEntry> want = c.entry.Month ? std::vector<TEntry>{c.entry} : std::vector<TEntry>{};
        EXPECT_EQ(days.Entries(), want) << c.bytes.toStdString();
        EXPECT_EQ(problems, c.problem.isEmpty() ? QStringList() : QStringList{c.problem}) << c.bytes.toStdString();
    }
}

TEST(FamilyDaysTest, OnMovesLeapDaysAndCountsYears) {
    TFamilyDays days;
    days.SetEntries({{0, 2, 29, "Leap"}, {2000, 2, 29, "Ken"}, {1990, 5, 3, "Wed"}, {0, 5, 3, "Mother"}});
    struct Case {
        int y, m, d;
        bool years;
        QStringList want;
    } cases[] = {
        {2027, 2, 28, false, {"Leap", "Ken"}},      {2028, 2, 28, true, {}},
        {2028, 2, 29, true, {"Leap", "Ken（28）"}}, {2027, 5, 3, true, {"Wed（37）", "Mother"}},
        {1990, 5, 3, true, {"Wed", "Mother"}},      {1989, 5, 3, true, {"Mother"}},
        {2027, 5, 3, false, {"Wed", "Mother"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(days.On(c.y, c.m, c.d, c.years), c.want) << c.y << "-" << c.m << "-" << c.d;
}

TEST(FamilyDaysTest, SaveLoadRoundTripKeepsBytes) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("settings/familydays.txt"));
    TFamilyDays days;
    days.SetEntries({{0, 1, 2, QStringLiteral("𠮷田 花子")}, {1992, 2, 29, QStringLiteral("結婚記念日")}});
    ASSERT_TRUE(days.Save(file));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray first = f.readAll();
    TFamilyDays again;
    QStringList problems;
    ASSERT_TRUE(again.Load(file, &problems));
    EXPECT_TRUE(problems.isEmpty());
    EXPECT_EQ(again.Entries(), days.Entries());
    ASSERT_TRUE(again.Save(file));
    f.close();
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), first);
}
