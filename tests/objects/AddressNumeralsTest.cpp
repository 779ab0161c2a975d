#include "objects/AddressNumerals.h"
#include "objects/PriLabel.h"

#include <gtest/gtest.h>

namespace {

using TRule = TObjectExtras::THyphenRule;

std::u32string Convert(const std::u32string& text, TRule rule) {
    return TAddressNumerals::Convert(text, rule);
}

} // namespace

TEST(AddressNumeralsTest, BlockNumbersUnderEachRule) {
    struct TCase {
        std::u32string text, dash, no;
    } cases[] = {
        {U"1-2-3", U"一－二－三", U"一の二の三"},
        {U"１２３０", U"一二三〇", U"一二三〇"},
        {U"1の2", U"一の二", U"一の二"},
        {U"3LDK", U"3LDK", U"3LDK"},
        {U"A-1", U"A-1", U"A-1"},
        {U"Ａ１－２", U"Ａ１－２", U"Ａ１－２"},
        {U"201-B", U"201-B", U"201-B"},
        {U"1-2-3 サンハイツ201", U"一－二－三 サンハイツ二〇一", U"一の二の三 サンハイツ二〇一"},
        {U"B棟101", U"B棟一〇一", U"B棟一〇一"},
        // Hyphens not between two digits are text, not block separators.
        {U"-5", U"-五", U"-五"},
        {U"1--2", U"一--二", U"一--二"},
        {U"1-", U"一-", U"一-"},
        {U"コーポ12ー3", U"コーポ一二－三", U"コーポ一二の三"},
        {U"1ー", U"一ー", U"一ー"},
        {U"\U00020BB7野1-2", U"\U00020BB7野一－二", U"\U00020BB7野一の二"},
        {U"", U"", U""},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(Convert(c.text, TRule::Dash), c.dash);
        EXPECT_EQ(Convert(c.text, TRule::No), c.no);
    }
}

TEST(AddressNumeralsTest, EveryHyphenVariantBetweenDigits) {
    for (char32_t h : std::u32string(U"-\uFF0D\u2010\u2212\u2015\u2013\u2014\uFF70\u30FC")) {
        const std::u32string text = std::u32string(U"4") + h + U"5";
        EXPECT_TRUE(TAddressNumerals::IsHyphen(h)) << std::hex << uint32_t(h);
        EXPECT_EQ(Convert(text, TRule::Dash), U"四\uFF0D五") << std::hex << uint32_t(h);
        EXPECT_EQ(Convert(text, TRule::No), U"四の五") << std::hex << uint32_t(h);
        EXPECT_EQ(Convert(text, TRule::Keep), std::u32string(U"四") + h + U"五") << std::hex << uint32_t(h);
    }
    EXPECT_FALSE(TAddressNumerals::IsHyphen(U'~'));
    EXPECT_EQ(Convert(U"3LDK 1-2", TRule::Keep), U"三LDK 一-二"); // every digit, as before the rule
}

TEST(AddressNumeralsTest, LabelAppliesTheRuleOnlyToVerticalKanjiText) {
    TPriLabel label;
    label.Font.setFamily(QStringLiteral("ＭＳ ゴシック"));
    label.Extras.HyphenRule = TRule::No;
    TTextCanvas canvas(nullptr, 96);
    const QString text = QString::fromStdU32String(U"\U00020BB7野3LDK 1-2");
    const auto broken = [&](TFontAngle angle, bool kanji) {
        label.SetFontAngle(angle);
        label.LongKanaCheck = kanji;
        label.SetDrawFont(canvas, 10, false, bmLayout);
        QStringList lines;
        label.BreakLines(text, 10000, lines, canvas);
        return lines.join(QString());
    };
    EXPECT_EQ(broken(faLong, true), QString::fromStdU32String(U"\U00020BB7野3LDK 一の二"));
    EXPECT_EQ(broken(faLong, false), text);
    EXPECT_EQ(broken(faSide, true), text);
}
