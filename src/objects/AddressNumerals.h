#pragma once

#include "objects/ObjectExtras.h"

#include <string>
#include <string_view>

// Kanji numerals for vertical addresses. Block numbers ("1-2-3") read as kanji with their hyphens
// set as an upright dash or written "の"; a word that holds Latin letters ("3LDK", "A-1") is a name
// or a room code and keeps its Arabic digits and hyphens.
class TAddressNumerals {
public:
    // The text with every digit as a kanji numeral and hyphens between digits by rule. Keep turns
    // every digit, Latin words included, and leaves all hyphens.
    static std::u32string Convert(std::u32string_view text, TObjectExtras::THyphenRule rule);

    static bool IsDigit(char32_t c);
    static bool IsLatinLetter(char32_t c);
    // The hyphens and minus signs that may join block numbers; "ー" only between digits.
    static bool IsHyphen(char32_t c);
};
