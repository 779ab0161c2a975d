#include "calendar/Koyomi.h"
#include "calendar/HolidayRules.h"
#include "calendar/KoyomiTable.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

const TKoyomi& Almanac() {
    return TKoyomi::Shared();
}

// New and full moons of 2022 (JST), from shimablo.jp/moon, which quotes the National Astronomical
// Observatory of Japan: month * 100 + day, new moons then full moons.
TEST(KoyomiTest, NewAndFullMoonsOf2022) {
    const int newMoons[] = {103, 201, 303, 401, 501, 530, 629, 729, 827, 926, 1025, 1124, 1223};
    const int fullMoons[] = {118, 217, 318, 417, 516, 614, 714, 812, 910, 1010, 1108, 1208};
    for (int md : newMoons)
        EXPECT_EQ(Almanac().Day(2022, md / 100, md % 100).MoonPhase, 0) << md;
    for (int md : fullMoons)
        EXPECT_EQ(Almanac().Day(2022, md / 100, md % 100).MoonPhase, 2) << md;
    // The first day of each old-calendar month is the new moon's.
    for (int md : newMoons)
        EXPECT_EQ(Almanac().Day(2022, md / 100, md % 100).LunarDay, 1) << md;
}

// Solar terms and seasonal days as published: 2021 and 2025 (立春 on 3 February; 2021's at 23:59)
// from d.hatena.ne.jp 「節分の日が動き出す」; 2022-12 and 2023 from choubei.info, quoting the
// National Astronomical Observatory; the 2027 equinoxes from its 2027 暦要項 (astroarts.co.jp).
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
    };
    for (const TRow& r : rows) {
        const TKoyomiDay d = Almanac().Day(r.Year, r.Month, r.Day);
        EXPECT_EQ(d.SolarTerm, r.Term) << r.Year << '-' << r.Month << '-' << r.Day;
        EXPECT_EQ(d.Zassetsu & r.Zassetsu, r.Zassetsu) << r.Year << '-' << r.Month << '-' << r.Day;
    }
}

// The leap months the almanacs printed, 2033's being the 11th month after the 2033 problem.
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
