#pragma once

#include "calendar/Koyomi.h"

#include <array>
#include <cstdint>
#include <vector>

// The almanac's events of one Gregorian year, times in whole minutes of Japan Standard Time counted
// from 2000-01-01 00:00 (days likewise from that day). Computed from the astronomy or read from
// the shipped table; both give the same days.
class TKoyomiYear {
public:
    struct TMonth {
        int32_t Start = 0; // first day
        int Number = 0;    // 1..12
        bool Leap = false;
        bool operator==(const TMonth&) const = default;
    };
    struct TPhase {
        int32_t Minute = 0;
        int Kind = 0; // 0 new, 1 first quarter, 2 full, 3 last quarter
        bool operator==(const TPhase&) const = default;
    };
    // The sun's longitudes of the seasonal days that are not solar terms: the 土用 starts,
    // 入梅 and 半夏生.
    static constexpr std::array<int, 6> kExtraLongitudes = {27, 80, 100, 117, 207, 297};

    int Year = 0;
    // The instant the sun reaches each multiple of 15°, by longitude / 15.
    std::array<int32_t, 24> Terms{};
    // The instants of kExtraLongitudes.
    std::array<int32_t, 6> Extras{};
    // From the month holding January 1 to the last one starting in the year.
    std::vector<TMonth> Months;
    // From the new moon that starts the first month to the last phase of the year.
    std::vector<TPhase> Phases;

    static TKoyomiYear Compute(int year);
    // The days-from-2000 of a Gregorian date and back.
    static int32_t DayNumber(int year, int month, int day);
    static void Date(int32_t dayNumber, int* year, int* month, int* day);

    // A day of this year; not Known outside it.
    TKoyomiDay Day(int month, int day) const;
    bool operator==(const TKoyomiYear&) const = default;
};
