#include "calendar/HolidayRules.h"

#include <QFile>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Keys(int year) {
    std::vector<std::string> keys;
    for (const THolidayDate& h : THolidayRules::HolidaysOfYear(year))
        keys.push_back(THolidayRules::Key(h.Year, h.Month, h.Day));
    return keys;
}

bool Listed(int y, int m, int d) {
    const auto keys = Keys(y);
    return std::find(keys.begin(), keys.end(), THolidayRules::Key(y, m, d)) != keys.end();
}

} // namespace

// Whole years whose every holiday is known from the official tables, each exercising a rule
// that only applies in that year.
TEST(HolidayRulesTest, WholeYearsMatchThePublishedLists) {
    struct TCase {
        int Year;
        std::vector<std::string> Expected;
    } cases[] = {
        {2019, {"20190101", "20190114", "20190211", "20190321", "20190429", "20190430", "20190501", "20190502",
                "20190503", "20190504", "20190505", "20190506", "20190715", "20190811", "20190812", "20190916",
                "20190923", "20191014", "20191022", "20191103", "20191104", "20191123"}},
        {2020,
         {"20200101", "20200113", "20200211", "20200223", "20200224", "20200320", "20200429", "20200503", "20200504",
          "20200505", "20200506", "20200723", "20200724", "20200810", "20200921", "20200922", "20201103", "20201123"}},
        {2021,
         {"20210101", "20210111", "20210211", "20210223", "20210320", "20210429", "20210503", "20210504", "20210505",
          "20210722", "20210723", "20210808", "20210809", "20210920", "20210923", "20211103", "20211123"}},
        {1955,
         {"19550101", "19550115", "19550321", "19550429", "19550503", "19550505", "19550924", "19551103", "19551123"}},
        {2006,
         {"20060101", "20060102", "20060109", "20060211", "20060321", "20060429", "20060503", "20060504", "20060505",
          "20060717", "20060918", "20060923", "20061009", "20061103", "20061123", "20061223"}},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(Keys(c.Year), c.Expected) << c.Year;
}

TEST(HolidayRulesTest, RulesStartAndEndInTheRightYear) {
    struct TCase {
        int Y, M, D;
        bool Holiday;
        const char* Why;
    } cases[] = {
        {1959, 4, 10, true, "royal wedding"},
        {1966, 9, 15, true, "Respect for the Aged Day begins"},
        {1965, 9, 15, false, "not yet"},
        {1966, 10, 10, true, "Sports Day begins"},
        {1966, 2, 11, false, "National Foundation Day only from 1967"},
        {1967, 2, 11, true, "National Foundation Day"},
        {1973, 2, 12, false, "11 Feb 1973 was a Sunday before substitute holidays existed"},
        {1973, 4, 30, true, "first substitute holiday"},
        {1973, 9, 24, true, "substitute for the Sunday equinox"},
        {1986, 5, 4, false, "a Sunday between two holidays stays a Sunday"},
        {1987, 5, 4, true, "substitute for Sunday 3 May"},
        {1988, 5, 4, true, "first citizens' holiday"},
        {1988, 3, 21, true, "substitute for the Sunday equinox"},
        {1988, 4, 29, true, "Emperor's Birthday"},
        {1989, 2, 24, true, "state funeral"},
        {1989, 4, 29, true, "Greenery Day"},
        {1989, 12, 23, true, "Emperor's Birthday moves"},
        {1990, 11, 12, true, "enthronement ceremony"},
        {1993, 6, 9, true, "royal wedding"},
        {1995, 7, 20, false, "Marine Day only from 1996"},
        {1996, 7, 20, true, "Marine Day"},
        {1999, 1, 15, true, "Coming of Age Day on the 15th"},
        {1999, 10, 11, true, "substitute for Sports Day on a Sunday"},
        {2000, 1, 10, true, "second Monday of January"},
        {2000, 1, 15, false, "no longer on the 15th"},
        {2000, 10, 9, true, "second Monday of October"},
        {2002, 9, 15, true, "Respect for the Aged Day still on the 15th"},
        {2003, 9, 15, true, "third Monday of September"},
        {2003, 7, 21, true, "third Monday of July"},
        {2004, 9, 20, true, "third Monday of September"},
        {2004, 9, 15, false, "no longer on the 15th"},
        {2007, 5, 4, true, "Greenery Day moves to 4 May"},
        {2007, 4, 29, true, "Showa Day"},
        {2008, 5, 6, true, "substitute carried past 5 May"},
        {2009, 9, 22, true, "citizens' holiday between Monday and the equinox"},
        {2015, 9, 22, true, "citizens' holiday"},
        {2015, 8, 11, false, "Mountain Day only from 2016"},
        {2016, 8, 11, true, "Mountain Day"},
        {2018, 12, 24, true, "substitute for the Emperor's Birthday"},
        {2019, 12, 23, false, "no Emperor's Birthday in 2019"},
        {2020, 10, 12, false, "Sports Day moved to July"},
        {2021, 10, 11, false, "Sports Day moved to July"},
        {2021, 7, 19, false, "Marine Day moved to the 22nd"},
        {2022, 10, 10, true, "Sports Day back in October"},
        {2026, 9, 22, true, "citizens' holiday"},
        {2032, 9, 21, true, "citizens' holiday before an equinox on the 22nd"},
        {2032, 9, 22, true, "autumnal equinox on the 22nd"},
        {2099, 11, 23, true, "last year of the file"},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(Listed(c.Y, c.M, c.D), c.Holiday) << c.Y << "-" << c.M << "-" << c.D << " " << c.Why;
}

TEST(HolidayRulesTest, EquinoxDaysOfKnownYears) {
    struct TCase {
        int Year, Vernal, Autumnal;
    } cases[] = {
        {1955, 21, 24}, {1960, 20, 23}, {1976, 20, 23}, {1977, 21, 23}, {1979, 21, 24}, {1980, 20, 23},
        {2000, 20, 23}, {2012, 20, 22}, {2023, 21, 23}, {2024, 20, 22}, {2025, 20, 23}, {2044, 20, 22},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(THolidayRules::VernalEquinoxDay(c.Year), c.Vernal) << c.Year;
        EXPECT_EQ(THolidayRules::AutumnalEquinoxDay(c.Year), c.Autumnal) << c.Year;
    }
}

TEST(HolidayRulesTest, NoHolidayFallsOnAnotherAndSubstitutesNeverOnSunday) {
    for (int y = 1955; y <= 2099; ++y) {
        const auto days = THolidayRules::HolidaysOfYear(y);
        ASSERT_GE(days.size(), 9u) << y;
        ASSERT_LE(days.size(), 22u) << y;
        for (size_t i = 0; i < days.size(); ++i) {
            const THolidayDate& h = days[i];
            ASSERT_GE(h.Day, 1);
            ASSERT_LE(h.Day, THolidayRules::DaysInMonth(h.Year, h.Month));
            if (i > 0) ASSERT_TRUE(std::tie(days[i - 1].Month, days[i - 1].Day) < std::tie(h.Month, h.Day)) << y;
            if (h.Name == "振替休日") {
                EXPECT_NE(THolidayRules::DayOfWeek(h.Year, h.Month, h.Day), 0)
                    << THolidayRules::Key(h.Year, h.Month, h.Day);
            }
        }
    }
    EXPECT_TRUE(THolidayRules::HolidaysOfYear(1948).empty());
    EXPECT_TRUE(THolidayRules::HolidaysOfYear(2100).empty());
}

TEST(HolidayRulesTest, FileIsSortedEightDigitCrLfLines) {
    const std::string text = THolidayRules::MakeHolidayFile(1955, 2099);
    ASSERT_EQ(text.size() % 10, 0u);
    std::string previous;
    for (size_t pos = 0; pos < text.size(); pos += 10) {
        const std::string line = text.substr(pos, 8);
        ASSERT_EQ(text.substr(pos + 8, 2), "\r\n");
        ASSERT_TRUE(std::all_of(line.begin(), line.end(), [](char c) { return c >= '0' && c <= '9'; })) << line;
        ASSERT_LT(previous, line);
        previous = line;
    }
    EXPECT_EQ(text.substr(0, 8), "19550101");
    EXPECT_EQ(previous.substr(0, 4), "2099");
}

// The shipped file must be what the rules give; regenerate it with tools/make_holidays.
TEST(HolidayRulesTest, ShippedFileIsUpToDate) {
    QFile file(QStringLiteral(KOMOREBI_SOURCE_DIR "/data/HolidayList/holiday.dat"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_EQ(bytes.toStdString(), THolidayRules::MakeHolidayFile(1955, 2099));
}
