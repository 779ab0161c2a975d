#include "platform/StreamReader.h"
#include "platform/StreamWriter.h"

#include <gtest/gtest.h>

TEST(StreamReaderTest, ReadsWhatTheWriterWrote) {
    TStreamWriter w;
    w.WriteInt32(-2);
    w.WriteInt64(0x123456789ALL);
    w.WriteColor(static_cast<int32_t>(0xFF00000F)); // a system colour is negative
    w.WriteBool(true);
    w.WriteString(QString::fromUtf16(u"表示テスト"));
    w.WriteDouble(1.5);
    EXPECT_EQ(w.Bytes().left(4), QByteArray("\xFE\xFF\xFF\xFF", 4));
    // The colour is sign-extended: the high four bytes are FF.
    EXPECT_EQ(w.Bytes().mid(12, 8), QByteArray("\x0F\x00\x00\xFF\xFF\xFF\xFF\xFF", 8));

    TStreamReader r(w.Bytes());
    int32_t i32 = 0, color = 0;
    int64_t i64 = 0;
    bool b = false;
    QString s;
    double d = 0;
    ASSERT_TRUE(r.ReadInt32(i32) && r.ReadInt64(i64) && r.ReadColor(color) && r.ReadBool(b) && r.ReadString(s) &&
                r.ReadDouble(d));
    EXPECT_EQ(i32, -2);
    EXPECT_EQ(i64, 0x123456789ALL);
    EXPECT_EQ(color, static_cast<int32_t>(0xFF00000F));
    EXPECT_TRUE(b);
    EXPECT_EQ(s, QString::fromUtf16(u"表示テスト"));
    EXPECT_EQ(d, 1.5);
    EXPECT_TRUE(r.AtEnd());
}

TEST(StreamReaderTest, BooleansAndEnumerationsUseTheLowByte) {
    struct TCase {
        int32_t Raw;
        bool Bool;
        uint8_t Enum;
    } cases[] = {{0, false, 0}, {1, true, 1}, {256, false, 0}, {257, true, 1}, {-1, true, 255}, {0x1202, true, 2}};
    for (const TCase& c : cases) {
        TStreamWriter w;
        w.WriteInt32(c.Raw);
        w.WriteInt32(c.Raw);
        TStreamReader r(w.Bytes());
        bool b;
        uint8_t e;
        ASSERT_TRUE(r.ReadBool(b) && r.ReadEnum(e));
        EXPECT_EQ(b, c.Bool) << c.Raw;
        EXPECT_EQ(e, c.Enum) << c.Raw;
    }
}

TEST(StreamReaderTest, LengthClaimsBeyondTheBytesFailCleanly) {
    struct TCase {
        const char* Name;
        QByteArray Bytes;
    } cases[] = {
        {"string longer than the data", QByteArray("\x10\x00\x00\x00" "abc", 7)},
        {"negative string length", QByteArray("\xFF\xFF\xFF\xFF" "abc", 7)},
        {"huge string length", QByteArray("\xFF\xFF\xFF\x7F", 4)},
        {"truncated count", QByteArray("\x01\x00", 2)},
        {"empty", QByteArray()},
    };
    for (const TCase& c : cases) {
        TStreamReader r(c.Bytes);
        QString s;
        EXPECT_FALSE(r.ReadString(s)) << c.Name;
        EXPECT_FALSE(r.Ok()) << c.Name;
        // Once failed, the reader stays failed even for reads that would fit.
        int32_t v;
        EXPECT_FALSE(r.ReadInt32(v)) << c.Name;
    }

    TStreamWriter w;
    w.WriteInt64(int64_t(1) << 40);
    w.WriteBytes("xy", 2);
    TStreamReader r(w.Bytes());
    QByteArray block;
    EXPECT_FALSE(r.ReadBlock64(block));
    EXPECT_TRUE(block.isEmpty());

    TStreamReader skip(QByteArray(4, '\0'));
    EXPECT_FALSE(skip.Skip(5));
    EXPECT_FALSE(skip.Skip(-1));
}
