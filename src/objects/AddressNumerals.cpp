#include "objects/AddressNumerals.h"

#include "objects/PriLabel.h"

#include <vector>

namespace {

constexpr char32_t kDash = U'\xFF0D'; // set upright in vertical writing: a vertical bar
constexpr char32_t kNo = U'\x306E';   // の
constexpr char32_t kLongSound = U'\x30FC';

enum class TKind : uint8_t { Other, Digit, Latin, Hyphen };

} // namespace

bool TAddressNumerals::IsDigit(char32_t c) {
    return (c >= U'0' && c <= U'9') || (c >= U'\xFF10' && c <= U'\xFF19');
}

bool TAddressNumerals::IsLatinLetter(char32_t c) {
    return (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z') || (c >= U'\xFF21' && c <= U'\xFF3A') ||
           (c >= U'\xFF41' && c <= U'\xFF5A');
}

bool TAddressNumerals::IsHyphen(char32_t c) {
    switch (c) {
    case U'-':
    case U'\xFF0D':
    case U'\x2010':
    case U'\x2212':
    case U'\x2015':
    case U'\x2013':
    case U'\x2014':
    case U'\xFF70':
    case kLongSound: return true;
    default: return false;
    }
}

std::u32string TAddressNumerals::Convert(std::u32string_view text, TObjectExtras::THyphenRule rule) {
    std::u32string out(text);
    if (rule == TObjectExtras::THyphenRule::Keep) {
        for (char32_t& c : out)
            c = TPriLabel::KanjiDigit(c);
        return out;
    }
    const size_t n = text.size();
    const auto digitAt = [&](size_t i) { return i < n && IsDigit(text[i]); };
    std::vector<TKind> kind(n, TKind::Other);
    for (size_t i = 0; i < n; ++i) {
        const char32_t c = text[i];
        if (IsDigit(c))
            kind[i] = TKind::Digit;
        else if (IsLatinLetter(c))
            kind[i] = TKind::Latin;
        else if (IsHyphen(c) && (c != kLongSound || (i > 0 && digitAt(i - 1) && digitAt(i + 1))))
            kind[i] = TKind::Hyphen;
    }
    const char32_t joiner = rule == TObjectExtras::THyphenRule::No ? kNo : kDash;
    // Words are runs of digits, letters and hyphens; one letter keeps the whole word as written.
    size_t i = 0;
    while (i < n) {
        if (kind[i] == TKind::Other) {
            ++i;
            continue;
        }
        size_t end = i;
        bool latin = false;
        while (end < n && kind[end] != TKind::Other)
            latin |= kind[end++] == TKind::Latin;
        if (!latin) {
            for (size_t k = i; k < end; ++k) {
                if (kind[k] == TKind::Digit)
                    out[k] = TPriLabel::KanjiDigit(text[k]);
                else if (k > i && k + 1 < end && kind[k - 1] == TKind::Digit && kind[k + 1] == TKind::Digit)
                    out[k] = joiner;
            }
        }
        i = end;
    }
    return out;
}
