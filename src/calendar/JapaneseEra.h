#pragma once

#include <QString>

// The era year (和暦) and the sexagenary year (干支) of a date, as forms and calendars print them.
class TJapaneseEra {
public:
    // "令和9年" for 2027-01-01, "令和元年" for 2019-05-01, "平成31年" for 2019-04-30; empty before 明治.
    static QString YearText(int year, int month, int day);
    // The era's name alone ("令和"), and the year within it (1 for 元年); empty / 0 before 明治.
    static QString EraName(int year, int month, int day);
    static int EraYear(int year, int month, int day);
    // "丁未" for 2027.
    static QString Kanshi(int year);
    // The year's animal in kana: "ひつじ" for 2027.
    static QString ZodiacAnimal(int year);
};
