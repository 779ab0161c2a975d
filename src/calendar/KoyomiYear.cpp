#include "calendar/KoyomiYear.h"

#include "calendar/Astronomy.h"

#include <QDate>
#include <algorithm>
#include <cmath>

namespace {

constexpr double kJdEpoch = 2451544.5; // 2000-01-01 00:00 UT
constexpr int32_t kMinutesPerDay = 1440;

int32_t FloorDiv(int32_t a, int32_t b) {
    return a / b - (a % b != 0 && (a < 0) != (b < 0));
}

// The JST minute of a TT instant, cut (not rounded) so that its day is the instant's own day.
int32_t JstMinute(double jdTt) {
    const double jst = TAstronomy::TtToUt(jdTt) + 9.0 / 24 - kJdEpoch;
    return static_cast<int32_t>(std::floor(jst * kMinutesPerDay));
}

int32_t DayOf(int32_t minute) {
    return FloorDiv(minute, kMinutesPerDay);
}

// The day's place in the sexagenary cycle, 0 甲子 … 59 癸亥.
int Sexagenary(int32_t day) {
    return static_cast<int>(((day + 54) % 60 + 60) % 60);
}

// The instant the sun reaches a longitude in a Gregorian year; the longitudes past the winter
// solstice's are reached in January and February.
int32_t SunMinute(int year, double longitude) {
    const double march20 = kJdEpoch + TKoyomiYear::DayNumber(year, 3, 20);
    const double lon = longitude >= 280 ? longitude - 360 : longitude;
    return JstMinute(TAstronomy::SunReaches(longitude, march20 + lon * 365.2422 / 360));
}

// The months from the one holding the winter solstice of `year` to the one holding the next:
// twelve, or thirteen of which the first without a principal term is leap.
std::vector<TKoyomiYear::TMonth> Cycle(int year, const std::vector<int32_t>& newMoons,
                                       const std::vector<int32_t>& principal) {
    const int32_t s1 = DayOf(SunMinute(year, 270));
    const int32_t s2 = DayOf(SunMinute(year + 1, 270));
    auto atOrBefore = [&](int32_t day) { return std::upper_bound(newMoons.begin(), newMoons.end(), day) - 1; };
    const auto first = atOrBefore(s1);
    const auto last = atOrBefore(s2);
    const auto count = last - first;
    std::vector<TKoyomiYear::TMonth> months;
    int number = 11;
    bool leapFound = count != 13;
    for (auto it = first; it <= last; ++it) {
        TKoyomiYear::TMonth m;
        m.Start = *it;
        if (it != first) {
            const int32_t end = it + 1 < newMoons.end() ? *(it + 1) : m.Start + 30;
            const bool hasPrincipal =
                std::any_of(principal.begin(), principal.end(), [&](int32_t d) { return d >= m.Start && d < end; });
            if (!leapFound && !hasPrincipal && it != last) {
                leapFound = true;
                m.Leap = true;
            } else {
                number = number % 12 + 1;
            }
        }
        m.Number = number;
        months.push_back(m);
    }
    return months;
}

} // namespace

// Days from 2000-01-01 12:00 (JD 2451545), the count the almanac keeps its days in.
int32_t TKoyomiYear::DayNumber(int y, int m, int d) {
    return int32_t(QDate(y, m, d).toJulianDay() - 2451545);
}

void TKoyomiYear::Date(int32_t dayNumber, int* year, int* month, int* day) {
    QDate::fromJulianDay(qint64(dayNumber) + 2451545).getDate(year, month, day);
}

TKoyomiYear TKoyomiYear::Compute(int year) {
    TKoyomiYear y;
    y.Year = year;
    for (int i = 0; i < 24; ++i)
        y.Terms[i] = SunMinute(year, i * 15);
    for (size_t i = 0; i < kExtraLongitudes.size(); ++i)
        y.Extras[i] = SunMinute(year, kExtraLongitudes[i]);

    // Principal terms (multiples of 30°) from the solstice before the year to the one after.
    std::vector<int32_t> principal = {DayOf(SunMinute(year - 1, 270))};
    for (int i = 0; i < 24; i += 2) {
        principal.push_back(DayOf(y.Terms[i]));
        principal.push_back(DayOf(SunMinute(year + 1, i * 15)));
    }
    std::sort(principal.begin(), principal.end());

    // Every phase from mid-November before the year to February after it.
    const int32_t from = DayNumber(year - 1, 11, 15), to = DayNumber(year + 2, 2, 15);
    std::vector<TPhase> phases;
    std::vector<int32_t> newMoons;
    for (int k = TAstronomy::LunationNear(kJdEpoch + from) - 1; k <= TAstronomy::LunationNear(kJdEpoch + to) + 1; ++k)
        for (int p = 0; p < 4; ++p) {
            const int32_t minute = JstMinute(TAstronomy::MoonPhase(k, p));
            phases.push_back({minute, p});
            if (p == 0) newMoons.push_back(DayOf(minute));
        }

    std::vector<TMonth> months = Cycle(year - 1, newMoons, principal);
    const std::vector<TMonth> next = Cycle(year, newMoons, principal);
    months.insert(months.end(), next.begin() + 1, next.end());
    const int32_t jan1 = DayNumber(year, 1, 1), dec31 = DayNumber(year, 12, 31);
    for (size_t i = 0; i < months.size(); ++i) {
        const bool holdsJan1 = i + 1 < months.size() && months[i + 1].Start > jan1;
        if ((months[i].Start <= jan1 && holdsJan1) || (months[i].Start > jan1 && months[i].Start <= dec31))
            y.Months.push_back(months[i]);
    }
    for (const TPhase& p : phases)
        if (DayOf(p.Minute) >= y.Months.front().Start && DayOf(p.Minute) <= dec31) y.Phases.push_back(p);
    return y;
}

TKoyomiDay TKoyomiYear::Day(int month, int day) const {
    TKoyomiDay k;
    const int32_t n = DayNumber(Year, month, day);
    auto m = std::upper_bound(Months.begin(), Months.end(), n, [](int32_t v, const TMonth& x) { return v < x.Start; });
    if (m == Months.begin() || month < 1 || month > 12 || day < 1 || day > 31) return k;
    --m;
    k.Known = true;
    k.LunarMonth = m->Number;
    k.LeapMonth = m->Leap;
    k.LunarDay = n - m->Start + 1;
    k.Rokuyou = (k.LunarMonth + k.LunarDay) % 6;
    for (int i = 0; i < 24; ++i)
        if (DayOf(Terms[i]) == n) k.SolarTerm = i;
    const int32_t noon = n * kMinutesPerDay + kMinutesPerDay / 2;
    int32_t lastNew = Months.front().Start * kMinutesPerDay;
    for (const TPhase& p : Phases) {
        if (DayOf(p.Minute) == n) k.MoonPhase = p.Kind;
        if (p.Kind == 0 && p.Minute <= noon) lastNew = p.Minute;
    }
    k.MoonAge = (noon - lastNew) / double(kMinutesPerDay);

    auto termDay = [&](int i) { return DayOf(Terms[i]); };
    const int32_t risshun = termDay(21);
    uint32_t z = 0;
    if (n == risshun - 1) z |= TKoyomi::zsSetsubun;
    for (int eq : {0, 12}) {
        const int32_t e = termDay(eq);
        if (n == e - 3) z |= TKoyomi::zsHiganStart;
        if (n == e + 3) z |= TKoyomi::zsHiganEnd;
        // 社日: the 戊 day nearest the equinox; five days either side goes by the equinox's hour,
        // the earlier 戊 for a morning equinox, the later one otherwise.
        const int back = (Sexagenary(e) % 10 - 4 + 10) % 10;
        int32_t shanichi = back < 5 ? e - back : e + (10 - back);
        if (back == 5 && Terms[eq] - e * kMinutesPerDay < kMinutesPerDay / 2) shanichi = e - 5;
        if (n == shanichi) z |= TKoyomi::zsShanichi;
    }
    if (n == risshun + 87) z |= TKoyomi::zsHachijuhachiya;
    if (n == DayOf(Extras[1])) z |= TKoyomi::zsNyubai;
    if (n == DayOf(Extras[2])) z |= TKoyomi::zsHangesho;
    for (int i : {0, 3, 4, 5})
        if (n == DayOf(Extras[i])) z |= TKoyomi::zsDoyoStart;
    if (n >= DayOf(Extras[3]) && n < termDay(9) && Sexagenary(n) % 12 == 1) z |= TKoyomi::zsDoyoUshi;
    if (n == risshun + 209) z |= TKoyomi::zsNihyakutoka;
    if (n == risshun + 219) z |= TKoyomi::zsNihyakuhatsuka;
    k.Zassetsu = z;
    return k;
}
