#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>

// What a Japanese almanac says of one day (dates and times in Japan Standard Time).
struct TKoyomiDay {
    // False outside the years the almanac can tell; every other field is then empty.
    bool Known = false;
    // The old-calendar (lunisolar) date; a leap month carries the number of the month before it.
    int LunarMonth = 0; // 1..12
    bool LeapMonth = false;
    int LunarDay = 0; // 1..30
    // 0 大安, 1 赤口, 2 先勝, 3 友引, 4 先負, 5 仏滅: (month + day) mod 6.
    int Rokuyou = -1;
    // The solar term that begins this day, as the sun's longitude / 15 (0 春分, 1 清明 … 23 啓蟄);
    // -1 when none does.
    int SolarTerm = -1;
    // The principal moon phase of this day: 0 new, 1 first quarter, 2 full, 3 last quarter; -1 none.
    int MoonPhase = -1;
    // The moon's age at noon, in days since the last new moon.
    double MoonAge = 0;
    // TKoyomi::TZassetsu bits of the seasonal days that fall on this day.
    uint32_t Zassetsu = 0;
};

// The almanac: old-calendar dates, rokuyō, the 24 solar terms, moon phases and the seasonal days,
// from the sun's and the moon's computed positions. Years of the shipped table are looked up;
// others are computed when first asked for. Thread-safe; one instance serves the process.
class TKoyomi {
public:
    // The seasonal days (雑節) the almanac marks.
    enum TZassetsu : uint32_t {
        zsSetsubun = 1u << 0,        // 節分: the day before 立春
        zsHiganStart = 1u << 1,      // 彼岸入り: three days before an equinox
        zsHiganEnd = 1u << 2,        // 彼岸明け: three days after
        zsShanichi = 1u << 3,        // 社日: the 戊 day nearest an equinox
        zsHachijuhachiya = 1u << 4,  // 八十八夜
        zsNyubai = 1u << 5,          // 入梅: sun at 80°
        zsHangesho = 1u << 6,        // 半夏生: sun at 100°
        zsDoyoStart = 1u << 7,       // 土用入り: sun at 27°, 117°, 207°, 297°
        zsDoyoUshi = 1u << 8,        // 土用の丑の日 (each 丑 day of the summer 土用)
        zsNihyakutoka = 1u << 9,     // 二百十日
        zsNihyakuhatsuka = 1u << 10, // 二百二十日
    };

    // The years of the shipped table, the holiday file's years.
    static constexpr int kTableFirstYear = 1955;
    static constexpr int kTableLastYear = 2099;
    // The years computed at all; others are not Known.
    static constexpr int kFirstYear = 1900;
    static constexpr int kLastYear = 2500;

    // The process's almanac.
    static const TKoyomi& Shared();
    // Reads the table file once (a missing or damaged file leaves every year to computation);
    // false and the reason when it cannot be used. Later calls with the same path do nothing.
    static bool UseTable(const QString& path, QString* error = nullptr);
    // The table file beside the holiday file of an application folder (which ends with '/').
    static QString TableFile(const QString& appPath) { return appPath + QStringLiteral("HolidayList/koyomi.dat"); }

    TKoyomiDay Day(int year, int month, int day) const;

    // 大安 … 仏滅; empty for other values.
    static QString RokuyouName(int rokuyou);
    // 春分 … 啓蟄 by longitude / 15; empty for other values.
    static QString SolarTermName(int term);
    // 新月, 上弦, 満月, 下弦; empty for other values.
    static QString MoonPhaseName(int phase);
    // The names of the seasonal days in the bits, in the order of TZassetsu.
    static QStringList ZassetsuNames(uint32_t bits);

    TKoyomi();
    ~TKoyomi();
    TKoyomi(const TKoyomi&) = delete;
    TKoyomi& operator=(const TKoyomi&) = delete;

private:
    struct TData;
    std::unique_ptr<TData> d;
};
