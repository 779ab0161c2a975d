#include "calendar/HolidayList.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(HolidayListTest, OnlyAnExactEightCharacterLineMarksADate) {
    THolidayList list;
    // A name after the date, a seven-character line and a trailing blank all match nothing.
    list.LoadFromBytes("20250101\r\n20250211 建国記念の日\r\n2025011\r\n20250505 \r\n20240320\r\n");
    ASSERT_TRUE(list.Loaded());
    struct TCase {
        int Y, M, D;
        bool Holiday;
    } cases[] = {
        {2025, 1, 1, true},  {2025, 2, 11, false}, {2025, 1, 1, true},  {2025, 5, 5, false},
        {2024, 3, 20, true}, {2025, 3, 20, false}, {2024, 1, 1, false}, {2025, 1, 2, false},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(list.IsHoliday(c.Y, c.M, c.D), c.Holiday) << c.Y << "-" << c.M << "-" << c.D;
    // The seven-character line is filed under January all the same.
    EXPECT_EQ(list.MonthLines(1).size(), 2u);
    EXPECT_EQ(list.MonthLines(1)[1], "2025011");
}

TEST(HolidayListTest, LinesEndAtCrLfCrOrLfAndBadMonthsAreSkipped) {
    THolidayList list;
    list.LoadFromBytes("20250101\r20250203\n\n20251301\r\n2025xx01\r\nabc\r\n20250003\r\n20251223\r\n20251223");
    EXPECT_TRUE(list.IsHoliday(2025, 1, 1));
    EXPECT_TRUE(list.IsHoliday(2025, 2, 3));
    EXPECT_TRUE(list.IsHoliday(2025, 12, 23));
    EXPECT_EQ(list.MonthLines(12).size(), 2u); // listed twice is harmless
    size_t total = 0;
    for (int m = 1; m <= 12; ++m)
        total += list.MonthLines(m).size();
    EXPECT_EQ(total, 4u);
    EXPECT_FALSE(list.IsHoliday(2025, 13, 1));
    EXPECT_FALSE(list.IsHoliday(2025, 0, 3));
    EXPECT_TRUE(list.MonthLines(13).empty());
}

TEST(HolidayListTest, KeysPadMonthAndDayButNotTheYear) {
    EXPECT_EQ(THolidayList::MakeKey(2025, 5, 3), "20250503");
    EXPECT_EQ(THolidayList::MakeKey(2025, 11, 23), "20251123");
    EXPECT_EQ(THolidayList::MakeKey(999, 1, 1), "9990101");
}

TEST(HolidayListTest, MissingFileLeavesTheListUnloaded) {
    QTemporaryDir dir;
    THolidayList list;
    EXPECT_FALSE(list.LoadFromFile(dir.filePath(QStringLiteral("none.dat"))));
    EXPECT_FALSE(list.Loaded());
    EXPECT_FALSE(list.IsHoliday(2025, 1, 1));
    EXPECT_FALSE(list.LoadFromFile(dir.path())); // a folder is not a file
}

TEST(HolidayListTest, ShippedFileLoads) {
    THolidayList list;
    ASSERT_TRUE(list.LoadFromFile(QStringLiteral(KOMOREBI_SOURCE_DIR "/data/HolidayList/holiday.dat")));
    EXPECT_TRUE(list.IsHoliday(2025, 1, 13));
    EXPECT_TRUE(list.IsHoliday(1966, 10, 10));
    EXPECT_FALSE(list.IsHoliday(2025, 1, 14));
}
