#include "calendar/JapaneseEra.h"

#include <gtest/gtest.h>

// Era changes fall on their first day, whose year is 元年; 干支 and animals run from 甲子 (1984).
TEST(JapaneseEraTest, BoundariesFirstYearsAndKanshi) {
    struct Case {
        int y, m, d;
        const char16_t* text;
        const char16_t* kanshi;
        const char16_t* animal;
    } cases[] = {
        {1912, 7, 29, u"明治45年", u"壬子", u"ね"},
        {1912, 7, 30, u"大正元年", u"壬子", u"ね"},
        {1926, 12, 24, u"大正15年", u"丙寅", u"とら"},
        {1926, 12, 25, u"昭和元年", u"丙寅", u"とら"},
        {1955, 6, 1, u"昭和30年", u"乙未", u"ひつじ"},
        {1984, 1, 1, u"昭和59年", u"甲子", u"ね"},
        {1989, 1, 7, u"昭和64年", u"己巳", u"み"},
        {1989, 1, 8, u"平成元年", u"己巳", u"み"},
        {2000, 1, 1, u"平成12年", u"庚辰", u"たつ"},
        {2019, 4, 30, u"平成31年", u"己亥", u"い"},
        {2019, 5, 1, u"令和元年", u"己亥", u"い"},
        {2027, 1, 1, u"令和9年", u"丁未", u"ひつじ"},
        {1873, 1, 1, u"明治6年", u"癸酉", u"とり"},
        {1872, 12, 31, u"", u"壬申", u"さる"},
        {4, 1, 1, u"", u"甲子", u"ね"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TJapaneseEra::YearText(c.y, c.m, c.d), QString::fromUtf16(c.text)) << c.y << "-" << c.m << "-" << c.d;
        EXPECT_EQ(TJapaneseEra::Kanshi(c.y), QString::fromUtf16(c.kanshi)) << c.y;
        EXPECT_EQ(TJapaneseEra::ZodiacAnimal(c.y), QString::fromUtf16(c.animal)) << c.y;
    }
}
