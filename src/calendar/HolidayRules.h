#pragma once

#include <string>
#include <vector>

// One public holiday of Japan.
struct THolidayDate {
    int Year = 0;
    int Month = 0;
    int Day = 0;
    // UTF-8, for people reading test output and the generator's log.
    std::string Name;

    bool operator==(const THolidayDate& other) const {
        return Year == other.Year && Month == other.Month && Day == other.Day;
    }
};

// The holidays of the National Holidays Act as amended, computed year by year. The shipped
// holiday file is generated from these rules; the program itself only reads that file.
class THolidayRules {
public:
    // First and last year the rules are written for.
    static constexpr int kFirstYear = 1949;
    static constexpr int kLastYear = 2099;

    // Every holiday of the year in date order: the named holidays, one-off holidays, substitute
    // holidays and citizens' holidays. Empty outside kFirstYear..kLastYear.
    static std::vector<THolidayDate> HolidaysOfYear(int year);

    // Day of March / September of the equinox holiday by the usual astronomical approximation.
    static int VernalEquinoxDay(int year);
    static int AutumnalEquinoxDay(int year);

    // 0 Sunday .. 6 Saturday, proleptic Gregorian.
    static int DayOfWeek(int year, int month, int day);
    static int DaysInMonth(int year, int month);

    // "YYYYMMDD", the key the holiday file stores.
    static std::string Key(int year, int month, int day);

    // The holiday file for a range of years: one key per line, sorted, CR LF after each line.
    static std::string MakeHolidayFile(int firstYear, int lastYear);
};
