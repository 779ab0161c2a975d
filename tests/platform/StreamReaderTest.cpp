#include "platform/StreamReader.h"
#include "platform/StreamWriter.h"

#include <QFile>
#include <QTemporaryDir>
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
        {"string longer than the data", QByteArray("\x10\x00\x00\x00"
                                                   "abc",
                                                   7)},
        {"negative string length", QByteArray("\xFF\xFF\xFF\xFF"
                                              "abc",
                                              7)},
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

namespace {

// A record larger than the file reader's window, a skipped stretch and small fields on either side.
QByteArray Sample() {
    TStreamWriter w;
    w.WriteInt32(7);
    QByteArray block(300000, '\0');
    for (qsizetype i = 0; i < block.size(); ++i)
        block[i] = char(i * 7);
    w.WriteBlock64(block);
    w.WriteString(QString::fromUtf16(u"表示"));
    w.WriteBytes(QByteArray(400000, 'z').constData(), 400000);
    w.WriteInt64(42);
    w.WriteInt32(-5);
    return w.Bytes();
}

// Reads Sample() through; the number of fields read before the first failure (6 when all were).
int Walk(TStreamReader& r) {
    int32_t i32 = 0;
    int64_t i64 = 0;
    QByteArray block;
    QString s;
    char peeked[4];
    if (!r.ReadInt32(i32) || i32 != 7) return 0;
    if (!r.ReadBlock64(block) || block.size() != 300000 || block[299999] != char(299999 * 7)) return 1;
    if (!r.ReadString(s) || s != QString::fromUtf16(u"表示")) return 2;
    if (!r.Skip(400000)) return 3;
    if (!r.ReadInt64(i64) || i64 != 42) return 4;
    if (!r.Peek(peeked, 4) || !r.ReadInt32(i32) || i32 != -5 || !r.AtEnd()) return 5;
    return 6;
}

} // namespace

TEST(StreamReaderTest, AFileReadsLikeItsBytesAndFailsCleanlyWhenCutWhileRead) {
    const QByteArray bytes = Sample();
    TStreamReader inMemory(bytes);
    EXPECT_EQ(Walk(inMemory), 6);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sample.bin"));
    struct TCase {
        qint64 Cut; // where the file is cut after it was opened; -1 for never
        int Fields; // fields read before the failure
    } cases[] = {
        {-1, 6}, {0, 0}, {2, 0}, {100, 1}, {300011, 1}, {300016, 2}, {300020, 4}, {500000, 4}, {bytes.size() - 1, 5}};
    for (const TCase& c : cases) {
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(bytes);
        out.close();
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        TStreamReader r(&file, file.size());
        EXPECT_EQ(r.Size(), bytes.size());
        if (c.Cut >= 0) ASSERT_TRUE(QFile::resize(path, c.Cut));
        EXPECT_EQ(Walk(r), c.Fields) << c.Cut;
        EXPECT_EQ(r.Ok(), c.Cut < 0) << c.Cut;
    }
}
