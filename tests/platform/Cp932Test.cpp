#include "platform/Cp932.h"

#include <cstring>
#include <gtest/gtest.h>
#include <vector>

TEST(Cp932Test, RoundTripsTheCharactersFilesCarry) {
    struct TCase {
        const char16_t* Text;
        const char* Bytes;
    } cases[] = {
        {u"表示", "\x95\x5C\x8E\xA6"}, // trail byte 0x5C must not become a yen sign
        {u"ソ", "\x83\x5C"},           {u"①", "\x87\x40"},
        {u"～", "\x81\x60"},           {u"ｱｲｳｴｵ", "\xB1\xB2\xB3\xB4\xB5"}, // half-width katakana are single bytes
        {u"a\\b~", "a\\b~"},                                               // backslash escapes survive
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
    EXPECT_EQ(TCp932::Decode(QByteArray("\xFF"
                                        "c"))
                  .back(),
              QChar('c'));
    // Characters CP932 lacks become '?', surrogate pairs as one character.
    EXPECT_EQ(TCp932::Encode(QString::fromUtf16(u"a😀b")), QByteArray("a?b"));
    EXPECT_FALSE(TCp932::CanEncode(QString::fromUtf16(u"한")));
    EXPECT_TRUE(TCp932::CanEncode(QString::fromUtf16(u"表示①")));
    EXPECT_TRUE(TCp932::Decode(QByteArray()).isEmpty());
}

TEST(Cp932Test, BuffersAreCutBetweenCharacters) {
    // 表 is 95 5C, so a cut after 3 bytes of "a表示" must drop the lead byte of 示 as well.
    const QString text = QString::fromUtf16(u"a表示");
    struct TCase {
        qsizetype BufferSize;
        const char* Expected;
    } cases[] = {{1, ""},
                 {2, "a"},
                 {3, "a"},
                 {4, "a\x95\x5C"},
                 {5, "a\x95\x5C"},
                 {6, "a\x95\x5C\x8E\xA6"},
                 {64, "a\x95\x5C\x8E\xA6"}};
    for (const TCase& c : cases) {
        std::vector<char> buffer(size_t(c.BufferSize), 'z');
        const qsizetype n = TCp932::ToBuffer(text, buffer.data(), c.BufferSize);
        EXPECT_STREQ(buffer.data(), c.Expected) << c.BufferSize;
        EXPECT_EQ(n, qsizetype(strlen(c.Expected)));
        EXPECT_FALSE(TCp932::FromBuffer(buffer.data(), c.BufferSize).contains(QChar(0xFFFD)));
    }
    // Half-width katakana are single bytes, not lead bytes.
    EXPECT_EQ(TCp932::FitLength("\xB1\xB2\xB3", 3, 2), 2);
    // A full buffer without terminator loses its last byte and a split last character with it.
    const char full[] = {'a', '\x95', '\x5C', '\x8E', '\xA6'};
    EXPECT_EQ(TCp932::FromBuffer(full, 5), QString::fromUtf16(u"a表"));
    EXPECT_EQ(TCp932::FromBuffer(full, 4), QString::fromUtf16(u"a表"));
    EXPECT_EQ(TCp932::FromBuffer(full, 3), QString("a"));
}
