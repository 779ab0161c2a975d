#include "calendar/HolidayRules.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>
#include <tuple>

namespace {

// Days since 1970-01-01 of a proleptic Gregorian date (Howard Hinnant's civil algorithm).
long DaysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = unsigned(y - era * 400);
    const unsigned doy = (153 * unsigned(m + (m > 2 ? -3 : 9)) + 2) / 5 + unsigned(d) - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + long(doe) - 719468;
}

void CivilFromDays(long z, int& y, int& m, int& d) {
    z += 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = unsigned(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = int(doy - (153 * mp + 2) / 5 + 1);
    m = int(mp < 10 ? mp + 3 : mp - 9);
    y = int(long(yoe) + era * 400 + (m <= 2));
}

// Day of the month of the n-th Monday.
int NthMonday(int year, int month, int n) {
    const int first = THolidayRules::DayOfWeek(year, month, 1);
    const int firstMonday = 1 + (8 - first) % 7;
    return firstMonday + 7 * (n - 1);
}

struct TNamed {
    int Month;
    int Day;
    const char* Name;
};

// The holidays the Act names, plus the one-off holidays of special laws, which count as
// national holidays for the substitute and citizens' holiday rules.
std::vector<TNamed> NationalHolidays(int y) {
    std::vector<TNamed> h;
    h.push_back({1, 1, "元日"});
    if (y <= 1999)
        h.push_back({1, 15, "成人の日"});
    else
        h.push_back({1, NthMonday(y, 1, 2), "成人の日"});
    if (y >= 1967) h.push_back({2, 11, "建国記念の日"});
    if (y >= 2020) h.push_back({2, 23, "天皇誕生日"});
    h.push_back({3, THolidayRules::VernalEquinoxDay(y), "春分の日"});
    if (y <= 1988)
        h.push_back({4, 29, "天皇誕生日"});
    else if (y <= 2006)
        h.push_back({4, 29, "みどりの日"});
    else
        h.push_back({4, 29, "昭和の日"});
    h.push_back({5, 3, "憲法記念日"});
    if (y >= 2007) h.push_back({5, 4, "みどりの日"});
    h.push_back({5, 5, "こどもの日"});
    if (y == 2020)
        h.push_back({7, 23, "海の日"});
    else if (y == 2021)
        h.push_back({7, 22, "海の日"});
    else if (y >= 2003)
        h.push_back({7, NthMonday(y, 7, 3), "海の日"});
    else if (y >= 1996)
        h.push_back({7, 20, "海の日"});
    if (y == 2020)
        h.push_back({8, 10, "山の日"});
    else if (y == 2021)
        h.push_back({8, 8, "山の日"});
    else if (y >= 2016)
        h.push_back({8, 11, "山の日"});
    if (y >= 2003)
        h.push_back({9, NthMonday(y, 9, 3), "敬老の日"});
    else if (y >= 1966)
        h.push_back({9, 15, "敬老の日"});
    h.push_back({9, THolidayRules::AutumnalEquinoxDay(y), "秋分の日"});
    // Sports Day moved to the Olympic opening in 2020 and 2021 and left October empty.
    if (y == 2020)
        h.push_back({7, 24, "スポーツの日"});
    else if (y == 2021)
        h.push_back({7, 23, "スポーツの日"});
    else if (y >= 2022)
        h.push_back({10, NthMonday(y, 10, 2), "スポーツの日"});
    else if (y >= 2000)
        h.push_back({10, NthMonday(y, 10, 2), "体育の日"});
    else if (y >= 1966)
        h.push_back({10, 10, "体育の日"});
    h.push_back({11, 3, "文化の日"});
    h.push_back({11, 23, "勤労感謝の日"});
    if (y >= 1989 && y <= 2018) h.push_back({12, 23, "天皇誕生日"});

    switch (y) {
    case 1959: h.push_back({4, 10, "皇太子明仁親王の結婚の儀"}); break;
    case 1989: h.push_back({2, 24, "昭和天皇の大喪の礼"}); break;
    case 1990: h.push_back({11, 12, "即位礼正殿の儀"}); break;
    case 1993: h.push_back({6, 9, "皇太子徳仁親王の結婚の儀"}); break;
    case 2019:
        h.push_back({5, 1, "天皇の即位の日"});
        h.push_back({10, 22, "即位礼正殿の儀"});
        break;
    default: break;
    }
    return h;
}

} // namespace

int THolidayRules::DayOfWeek(int year, int month, int day) {
    // 1970-01-01 was a Thursday.
    const long z = DaysFromCivil(year, month, day);
    return int(((z % 7) + 7 + 4) % 7);
}

int THolidayRules::DaysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

// The integer division of the correction term truncates toward zero: that is what gives the
// observed dates before 1980 (e.g. 20 March 1976, 21 March 1977).
int THolidayRules::VernalEquinoxDay(int y) {
    if (y <= 1979) return int(std::trunc(20.8357 + 0.242194 * (y - 1980) - (y - 1983) / 4));
    if (y <= 2099) return int(std::trunc(20.8431 + 0.242194 * (y - 1980) - (y - 1980) / 4));
    return int(std::trunc(21.8510 + 0.242194 * (y - 1980) - (y - 1980) / 4));
}

int THolidayRules::AutumnalEquinoxDay(int y) {
    if (y <= 1979) return int(std::trunc(23.2588 + 0.242194 * (y - 1980) - (y - 1983) / 4));
    if (y <= 2099) return int(std::trunc(23.2488 + 0.242194 * (y - 1980) - (y - 1980) / 4));
    return int(std::trunc(24.2488 + 0.242194 * (y - 1980) - (y - 1980) / 4));
}

std::string THolidayRules::Key(int year, int month, int day) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d%02d%02d", year, month, day);
    return buf;
}

std::vector<THolidayDate> THolidayRules::HolidaysOfYear(int year) {
    std::vector<THolidayDate> out;
    if (year < kFirstYear || year > kLastYear) return out;

    std::set<long> national;
    for (const TNamed& n : NationalHolidays(year)) {
        national.insert(DaysFromCivil(year, n.Month, n.Day));
        out.push_back({year, n.Month, n.Day, n.Name});
    }
    auto add = [&](long z, const char* name) {
        int y, m, d;
        CivilFromDays(z, y, m, d);
        if (y == year) out.push_back({y, m, d, name});
    };

    // Substitute holidays: from 12 April 1973 the Monday after a Sunday holiday; from 2007 the
    // first day after it that is not itself a holiday (so a Sunday 3 May gives 6 May).
    const long substituteStart = DaysFromCivil(1973, 4, 12);
    const long newRules = DaysFromCivil(2007, 1, 1);
    std::set<long> substitutes;
    for (long z : national) {
        int y, m, d;
        CivilFromDays(z, y, m, d);
        if (z < substituteStart || DayOfWeek(y, m, d) != 0) continue;
        long s = z + 1;
        if (z >= newRules)
            while (national.count(s))
                ++s;
        if (national.count(s)) continue;
        substitutes.insert(s);
        add(s, "振替休日");
    }

    // Citizens' holidays: a day between two national holidays, from 27 December 1985. Before
    // 2007 a Sunday or a substitute holiday in that place stays what it was.
    const long citizensStart = DaysFromCivil(1985, 12, 27);
    for (long z : national) {
        const long mid = z + 1;
        if (mid < citizensStart || national.count(mid) || !national.count(mid + 1)) continue;
        if (mid < newRules) {
            int y, m, d;
            CivilFromDays(mid, y, m, d);
            if (DayOfWeek(y, m, d) == 0 || substitutes.count(mid)) continue;
        } else if (substitutes.count(mid)) {
            continue;
        }
        add(mid, "国民の休日");
    }

    std::sort(out.begin(), out.end(), [](const THolidayDate& a, const THolidayDate& b) {
        return std::tie(a.Month, a.Day) < std::tie(b.Month, b.Day);
    });
    return out;
}

std::string THolidayRules::MakeHolidayFile(int firstYear, int lastYear) {
    std::string text;
    for (int y = firstYear; y <= lastYear; ++y)
        for (const THolidayDate& h : HolidaysOfYear(y))
            text += Key(h.Year, h.Month, h.Day) + "\r\n";
    return text;
}
