#include "platform/Cp932.h"

#include <gtest/gtest.h>

TEST(Cp932Test, RoundTripsTheCharactersFilesCarry) {
    struct TCase {
        const char16_t* Text;
        const char* Bytes;
    } cases[] = {
        {u"表示", "\x95\x5C\x8E\xA6"},      // trail byte 0x5C must not become a yen sign
        {u"ソ", "\x83\x5C"},
        {u"①", "\x87\x40"},
        {u"～", "\x81\x60"},
        {u"ｱｲｳｴｵ", "\xB1\xB2\xB3\xB4\xB5"}, // half-width katakana are single bytes
        {u"a\\b~", "a\\b~"},               // backslash escapes survive
        {u"髙", "\xFB\xFC"},
    };
    for (const TCase& c : cases) {
        const QString text = QString::fromUtf16(c.Text);
        const QByteArray bytes(c.Bytes);
        EXPECT_EQ(TCp932::Encode(text), bytes) << text.toStdString();
        EXPECT_EQ(TCp932::Decode(bytes), text) << text.toStdString();
    }
}

TEST(Cp932Test, BrokenInputNeverFails) {
    // A lone lead byte at the end and an invalid pair decode to replacement characters.
    EXPECT_EQ(TCp932::Decode(QByteArray("ab\x82")), QString::fromUtf16(u"ab\uFFFD"));
    EXPECT_EQ(TCp932::Decode(QByteArray("\xFF" "c")).back(), QChar('c'));
    // Characters CP932 lacks become '?', surrogate pairs as one character.
    EXPECT_EQ(TCp932::Encode(QString::fromUtf16(u"a😀b")), QByteArray("a?b"));
    EXPECT_FALSE(TCp932::CanEncode(QString::fromUtf16(u"한")));
    EXPECT_TRUE(TCp932::CanEncode(QString::fromUtf16(u"表示①")));
    EXPECT_TRUE(TCp932::Decode(QByteArray()).isEmpty());
}

TEST(Cp932Test, FitBytesCutsOnlyBetweenCharacters) {
    struct TCase {
        const char16_t* Text;
        qsizetype Limit;
        qsizetype Expected;
    } cases[] = {
        {u"abあ", 3, 2},   // the lead byte of あ alone would be half a character
        {u"abあ", 4, 4},   // exactly fits
        {u"あいう", 5, 4}, // cut before the third character
        {u"表示", 3, 2},   // trail byte 0x5C is no boundary of its own
        {u"ｱｲｳ", 2, 2},    // half-width katakana take one byte each
        {u"abc", 10, 3},   {u"あ", 1, 0}, {u"あ", 0, 0},
    };
    for (const TCase& c : cases) {
        const QByteArray bytes = TCp932::Encode(QString::fromUtf16(c.Text));
        const qsizetype n = TCp932::FitBytes(bytes, c.Limit);
        EXPECT_EQ(n, c.Expected) << QString::fromUtf16(c.Text).toStdString() << " " << c.Limit;
        // What fits decodes without a replacement character.
        EXPECT_FALSE(TCp932::Decode(bytes.left(n)).contains(QChar(0xFFFD)));
    }
    // A dangling lead byte at the end of damaged input is dropped.
    EXPECT_EQ(TCp932::FitBytes(QByteArray("ab\x82"), 10), 2);
}
