#include "calendar/Koyomi.h"
#include "calendar/HolidayRules.h"
#include "calendar/KoyomiTable.h"

#include <QFile>
#include <string>
#include <vector>
#include <gtest/gtest.h>

namespace {

const TKoyomi& Almanac() {
    return TKoyomi::Shared();
}

// New and full moons (JST) from shimablo.jp/moon, which quotes the National Astronomical Observatory
// of Japan: 2022, and 2023 up to mid-September (its 20 May new moon at 0:53), as month * 100 + day.
TEST(KoyomiTest, NewAndFullMoons) {
    const struct {
        int Year;
        std::vector<int> NewMoons, FullMoons;
    } years[] = {
        {2022,
         {103, 201, 303, 401, 501, 530, 629, 729, 827, 926, 1025, 1124, 1223},
         {118, 217, 318, 417, 516, 614, 714, 812, 910, 1010, 1108, 1208}},
        {2023, {122, 220, 322, 420, 520, 618, 718, 816, 915}, {107, 206, 307, 406, 506, 604, 703, 802, 831}},
    };
    for (const auto& y : years) {
        // The first day of each old-calendar month is the new moon's.
        for (int md : y.NewMoons) {
            const TKoyomiDay d = Almanac().Day(y.Year, md / 100, md % 100);
            EXPECT_TRUE(d.MoonPhase == 0 && d.LunarDay == 1) << y.Year << ' ' << md;
        }
        for (int md : y.FullMoons)
            EXPECT_EQ(Almanac().Day(y.Year, md / 100, md % 100).MoonPhase, 2) << y.Year << ' ' << md;
    }
}

// Solar terms and seasonal days as published: 2021 and 2025 (立春 on 3 February; 2021's at 23:59)
// from d.hatena.ne.jp 「節分の日が動き出す」; 2022-12 and 2023 from choubei.info, quoting the
// National Astronomical Observatory; the 2027 equinoxes from its 2027 暦要項 (astroarts.co.jp), 2027's
// 立春 and 節分 from nanikorenet.com/archives/8635 on the same, its 大雪 from Wikipedia's 大雪 table of
// dates by year (as copied in fanblogs.jp/asunyan/monthly/201402/80).
TEST(KoyomiTest, PublishedSolarTermsAndSeasonalDays) {
    struct TRow {
        int Year, Month, Day, Term;
        uint32_t Zassetsu;
    } rows[] = {
        {2021, 2, 3, 21, 0},   {2021, 2, 2, -1, TKoyomi::zsSetsubun},
        {2025, 2, 3, 21, 0},   {2025, 2, 2, -1, TKoyomi::zsSetsubun},
        {2022, 12, 22, 18, 0}, {2023, 1, 6, 19, 0},
        {2023, 1, 20, 20, 0},  {2023, 2, 4, 21, 0},
        {2023, 2, 19, 22, 0},  {2023, 3, 6, 23, 0},
        {2023, 3, 21, 0, 0},   {2023, 4, 5, 1, 0},
        {2027, 3, 21, 0, 0},   {2027, 9, 23, 12, 0},
        {2027, 2, 4, 21, 0},   {2027, 2, 3, -1, TKoyomi::zsSetsubun},
        {2027, 12, 7, 17, 0},
    };
    for (const TRow& r : rows) {
        const TKoyomiDay d = Almanac().Day(r.Year, r.Month, r.Day);
        EXPECT_EQ(d.SolarTerm, r.Term) << r.Year << '-' << r.Month << '-' << r.Day;
        EXPECT_EQ(d.Zassetsu & r.Zassetsu, r.Zassetsu) << r.Year << '-' << r.Month << '-' << r.Day;
    }
}

// All 24 solar terms of whole years, from 小寒 to 冬至 as month * 100 + day (JST).
// 2008: the 暦要項 as printed in shidaikyo.or.jp/newspaper/online/2269/4_3.html;
// 2019: aqua.mtk.nao.ac.jp/koyomi/yoko/2019/rekiyou192.html (小雪 at 23:59, 夏至 at 0:54);
// 2025: text.baldanders.info/remark/2025/07/leap-month;
// 2024 from 小寒 to 処暑: eto-calendar.com/?type=sekki (甲辰年).
TEST(KoyomiTest, SolarTermsOfWholeYears) {
    const struct {
        int Year;
        const char* Days;
    } years[] = {
        {2008, "0106 0121 0204 0219 0305 0320 0404 0420 0505 0521 0605 0621 "
               "0707 0722 0807 0823 0907 0923 1008 1023 1107 1122 1207 1221"},
        {2019, "0106 0120 0204 0219 0306 0321 0405 0420 0506 0521 0606 0622 "
               "0707 0723 0808 0823 0908 0923 1008 1024 1108 1122 1207 1222"},
        {2025, "0105 0120 0203 0218 0305 0320 0404 0420 0505 0521 0605 0621 "
               "0707 0722 0807 0823 0907 0923 1008 1023 1107 1122 1207 1222"},
        {2024, "0106 0120 0204 0219 0305 0320 0404 0419 0505 0520 0605 0621 0706 0722 0807 0822"},
    };
    for (const auto& y : years) {
        const std::string days = y.Days;
        for (size_t i = 0; i * 5 + 4 <= days.size(); ++i) {
            const int md = std::stoi(days.substr(i * 5, 4));
            EXPECT_EQ(Almanac().Day(y.Year, md / 100, md % 100).SolarTerm, int(19 + i) % 24) << y.Year << ' ' << md;
        }
    }
}

// The rokuyou of every day of the months shown, as digits 0 大安 … 5 仏滅 from the 1st on; a month cut
// short ends early. Each breaks its cycle on the old calendar's 1st days, 2023-03-22 being the leap
// 2nd month's. 2017: calendar-life.site; 2018: www.himekuricalendar.com/month-calendar-2018-01-m;
// 2023: www.calendar-calendar.com; 2087: ganbarustars.info/calendars/year2087. www.calend.jp is left
// out: its 2001-01 and 2088-05 pages break the cycle twice within one month.
TEST(KoyomiTest, PublishedRokuyou) {
    const struct {
        int Year, Month;
        const char* Days;
    } months[] = {
        {2017, 1, "4501234501234501234501234502345"},
        {2017, 2, "0123450123450123450123450345"},
        {2017, 3, "0123450123450123450123450124501"},
        {2017, 4, "234501234501234501234501250"},
        {2018, 1, "2345012345012345123450123450123"},
        {2018, 2, "4501"},
        {2023, 2, "0123450123450123450345012345"},
        {2023, 3, "0123450123450123450123450123450"},
        {2023, 4, "123450123450123450145012345012"},
        {2023, 5, "3450123450123450123501234501234"},
        {2023, 6, "5012345"},
        {2087, 1, "2345123450123450123450123450123"},
        {2087, 2, "4523450123450123450123450123"},
        {2087, 3, "450134"},
    };
    for (const auto& m : months)
        for (int d = 1; m.Days[d - 1]; ++d)
            EXPECT_EQ(Almanac().Day(m.Year, m.Month, d).Rokuyou, m.Days[d - 1] - '0')
                << m.Year << '-' << m.Month << '-' << d;
}

// The leap months the almanacs printed, 2033's being the 11th month after the 2033 problem
// (ja.wikipedia.org/wiki/旧暦2033年問題; the 閏11月 the calendar publishers' association recommends,
// www.ajnet.ne.jp/diary/problems2033.html); 2017's 閏5月: nociiw.blogspot.com/2017/06/blog-post_29.html;
// 2025's 閏6月: text.baldanders.info/remark/2025/07/leap-month.
TEST(KoyomiTest, LeapMonths) {
    struct TRow {
        int Year, Month, Day, LunarMonth;
    } rows[] = {{2012, 4, 21, 3}, {2014, 10, 24, 9}, {2017, 6, 24, 5},  {2020, 5, 23, 4},
                {2023, 3, 22, 2}, {2025, 7, 25, 6},  {2033, 12, 22, 11}};
    for (const TRow& r : rows) {
        const TKoyomiDay d = Almanac().Day(r.Year, r.Month, r.Day);
        EXPECT_TRUE(d.LeapMonth && d.LunarDay == 1) << r.Year;
        EXPECT_EQ(d.LunarMonth, r.LunarMonth) << r.Year;
        EXPECT_EQ(d.Rokuyou, (r.LunarMonth + 1) % 6) << r.Year;
    }
}

// The shipped table is the computation, day for day, and its equinoxes are the holidays'.
TEST(KoyomiTest, ShippedTableAgreesWithComputation) {
    QFile file(QStringLiteral(KOMOREBI_SOURCE_DIR "/data/HolidayList/koyomi.dat"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    std::vector<TKoyomiYear> table;
    QString error;
    ASSERT_TRUE(TKoyomiTable::Read(bytes, &table, &error)) << error.toStdString();
    ASSERT_EQ(table.size(), size_t(TKoyomi::kTableLastYear - TKoyomi::kTableFirstYear + 1));
    for (const TKoyomiYear& y : table) {
        const TKoyomiYear computed = TKoyomiYear::Compute(y.Year);
        EXPECT_TRUE(computed == y) << y.Year;
        for (int32_t n = TKoyomiYear::DayNumber(y.Year, 1, 1); n <= TKoyomiYear::DayNumber(y.Year, 12, 31); ++n) {
            int year, month, day;
            TKoyomiYear::Date(n, &year, &month, &day);
            const TKoyomiDay a = y.Day(month, day), b = computed.Day(month, day);
            ASSERT_TRUE(a.Known && a.LunarMonth == b.LunarMonth && a.LunarDay == b.LunarDay &&
                        a.Zassetsu == b.Zassetsu && a.MoonAge == b.MoonAge)
                << year << '-' << month << '-' << day;
            if (a.SolarTerm == 0) EXPECT_EQ(day, THolidayRules::VernalEquinoxDay(year)) << year;
            if (a.SolarTerm == 12) EXPECT_EQ(day, THolidayRules::AutumnalEquinoxDay(year)) << year;
        }
    }
    // A table cut short, or with one byte changed, is refused whole.
    for (QByteArray damaged : {bytes.left(bytes.size() / 2), bytes}) {
        damaged[damaged.size() / 3] = char(damaged[damaged.size() / 3] ^ 0x10);
        EXPECT_FALSE(TKoyomiTable::Read(damaged, &table));
        EXPECT_TRUE(table.empty());
    }
}

} // namespace
