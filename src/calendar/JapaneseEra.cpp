#include "calendar/JapaneseEra.h"

namespace {
struct TEra {
    int Year, Month, Day;
    const char16_t* Name;
};
// Newest first. 明治 counts from its real first year, but dates before the Gregorian calendar
// was taken up (1873) are not answered: the lunisolar dates of 明治 1-5 are not these dates.
constexpr TEra kEras[] = {
    {2019, 5, 1, u"令和"},  {1989, 1, 8, u"平成"},  {1926, 12, 25, u"昭和"},
    {1912, 7, 30, u"大正"}, {1868, 1, 25, u"明治"},
};
constexpr int kFirstAnsweredYear = 1873;

const TEra* EraOf(int year, int month, int day) {
    if (year < kFirstAnsweredYear) return nullptr;
    const long long key = (long long)year * 10000 + month * 100 + day;
    for (const TEra& e : kEras)
        if (key >= (long long)e.Year * 10000 + e.Month * 100 + e.Day) return &e;
    return nullptr;
}

// The cycle is counted from 甲子 in 1984; ((x % n) + n) % n keeps years before it in range.
int CycleIndex(int year, int n) {
    const long long r = ((long long)year - 1984) % n;
    return int(r < 0 ? r + n : r);
}
} // namespace

QString TJapaneseEra::YearText(int year, int month, int day) {
    const int n = EraYear(year, month, day);
    if (n <= 0) return {};
    return EraName(year, month, day) + (n == 1 ? QStringLiteral("元") : QString::number(n)) + QStringLiteral("年");
}

QString TJapaneseEra::EraName(int year, int month, int day) {
    const TEra* e = EraOf(year, month, day);
    return e ? QString::fromUtf16(e->Name) : QString();
}

int TJapaneseEra::EraYear(int year, int month, int day) {
    const TEra* e = EraOf(year, month, day);
    return e ? year - e->Year + 1 : 0;
}

QString TJapaneseEra::Kanshi(int year) {
    static const char16_t kStems[] = u"甲乙丙丁戊己庚辛壬癸";
    static const char16_t kBranches[] = u"子丑寅卯辰巳午未申酉戌亥";
    return QString(QChar(kStems[CycleIndex(year, 10)])) + QChar(kBranches[CycleIndex(year, 12)]);
}

QString TJapaneseEra::ZodiacAnimal(int year) {
    static const char16_t* kAnimals[] = {u"ね",   u"うし",   u"とら", u"う",   u"たつ", u"み",
                                         u"うま", u"ひつじ", u"さる", u"とり", u"いぬ", u"い"};
    return QString::fromUtf16(kAnimals[CycleIndex(year, 12)]);
}
