#include "merge/RecordFile.h"
#include "merge/RecordText.h"
#include "merge/RecordUnit.h"
#include "merge/FieldUnit.h"
#include "platform/Cp932.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

QByteArray Sjis(const QString& text) {
    return TCp932::Encode(text);
}

TRecordFile Load(const QByteArray& bytes, const QString& name = QStringLiteral("a.CSV")) {
    TRecordFile file;
    EXPECT_TRUE(file.LoadFromBytes(bytes, name)) << file.LastError().toStdString();
    return file;
}

QStringList Row(const TRecordFile& f, int record, int row) {
    return f.Record(record)->Row(row);
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

TEST(RecordFileTest, QuotesDoNotProtectSeparatorsOnlyBackslashesDo) {
    const TRecordFile f = Load("A01,\"alpha, beta\",x\\,y\r\n");
    ASSERT_EQ(f.Count(), 1);
    EXPECT_EQ(f.KeyAt(0), "A01");
    EXPECT_EQ(Row(f, 0, 0), QStringList({"A01", "alpha", " beta\"", "x,y"}));
}

struct SplitCase {
    const char* name;
    QByteArray line;
    const char* file;
    QStringList values;
};

TEST(RecordFileTest, RowSplittingTable) {
    const SplitCase cases[] = {
        {"trailing separator gives an empty last value", "k,a,", "x.csv", {"k", "a", ""}},
        {"one separator gives two values", "k,a", "x.csv", {"k", "a"}},
        {"tab file keeps commas", "k\ta,b\tc", "x.TAB", {"k", "a,b", "c"}},
        {"unknown extension splits on tabs", "k\ta,b", "x.txt", {"k", "a,b"}},
        {"backslash before other text stays", "k,a\\b", "x.CSV", {"k", "a\\b"}},
        {"escaped separator at the end", "k,a\\,", "x.CSV", {"k", "a,"}},
        {"double backslash then separator", "k,a\\\\,b", "x.CSV", {"k", "a\\,b"}},
        {"closed quote drops the rest", "k,\"ab\"cd,e", "x.CSV", {"k", "ab", "e"}},
        {"doubled quotes are not special", "k,\"\"x", "x.CSV", {"k", ""}},
        {"quote inside a value stays", "k,a\"b\"", "x.CSV", {"k", "a\"b\""}},
        {"vertical tab becomes CR LF", "k,one\vtwo", "x.CSV", {"k", "one\r\ntwo"}},
        {"line without separator", "lonely", "x.CSV", {"lonely"}},
        {"quoted key", "\"K 1\",v", "x.CSV", {"K 1", "v"}},
    };
    for (const SplitCase& c : cases) {
        const TRecordFile f = Load(c.line, c.file);
        ASSERT_EQ(f.Count(), 1) << c.name;
        EXPECT_EQ(Row(f, 0, 0), c.values) << c.name;
        EXPECT_EQ(f.KeyAt(0), c.values.front()) << c.name;
    }
}

TEST(RecordFileTest, SplitKeyAppliesEscapesAndQuotesButNotToALoneValue) {
    EXPECT_EQ(SplitKey(u"a\\,b,c", u','), "a,b");
    EXPECT_EQ(SplitKey(u"\"q\"x,c", u','), "q");
    EXPECT_EQ(SplitKey(u"\"q\"x", u','), "\"q\"x");
    EXPECT_EQ(SplitKey(u"a\\b\tc", u'\t'), "a\\b");
}

TEST(RecordFileTest, RepeatedKeyAfterAnotherStartsANewRecordAndEmptyLinesDoNotEndOne) {
    const TRecordFile f = Load("K1,a\r\n\r\nK1,b\nK2,c\rK1,d");
    ASSERT_EQ(f.Count(), 3);
    EXPECT_EQ(f.KeyAt(0), "K1");
    EXPECT_EQ(f.KeyAt(1), "K2");
    EXPECT_EQ(f.KeyAt(2), "K1");
    EXPECT_EQ(f.Record(0)->RowCount(), 2);
    EXPECT_EQ(f.IndexOfKey("K1"), 0);
    EXPECT_EQ(f.IndexOfKey("K3"), -1);
    EXPECT_EQ(f.RowCountOfKey("K1"), 2);
    EXPECT_EQ(f.RowCountOfKey("K3"), -1);
    EXPECT_EQ(f.ValueAt(0, 1, 1), "b");
    EXPECT_EQ(f.ValueAt(2, 0, 1), "d");
}

TEST(RecordFileTest, OutOfRangeRequestsGiveEmptyText) {
    const TRecordFile f = Load("K1,a\r\nK1,b,c\r\n");
    EXPECT_EQ(f.KeyAt(1), "");
    EXPECT_EQ(f.KeyAt(-1), "");
    EXPECT_EQ(f.ValueAt(-1, 0, 0), "");
    EXPECT_EQ(f.ValueAt(1, 0, 0), "");
    EXPECT_EQ(f.ValueAt(0, 2, 0), "");
    EXPECT_EQ(f.ValueAt(0, 0, 2), "");
    EXPECT_EQ(f.ValueAt(0, 1, 2), "c");
    EXPECT_EQ(f.ValueAt(0, -1, 0), "");
    EXPECT_EQ(f.ValueAt(0, 0, -1), "");
}

TEST(RecordFileTest, ShiftJisTrailBytesAreNeitherBackslashNorComma) {
    // 表 is 95 5C and 能 is 94 5C in CP932: a byte splitter would take the trail byte for '\'.
    const QByteArray bytes = Sjis(QStringLiteral("表示,能力,表\\,示")) + "\r\n";
    ASSERT_TRUE(bytes.contains("\x95\x5C"));
    const TRecordFile f = Load(bytes);
    EXPECT_EQ(Row(f, 0, 0), QStringList({QStringLiteral("表示"), QStringLiteral("能力"), QStringLiteral("表,示")}));
}

TEST(RecordFileTest, Utf8FilesAreRecognisedByMarkOrByValidity) {
    const QString text = QStringLiteral("社員,山田\r\n");
    EXPECT_EQ(Row(Load(text.toUtf8()), 0, 0), QStringList({QStringLiteral("社員"), QStringLiteral("山田")}));
    EXPECT_EQ(Row(Load("\xEF\xBB\xBF" + text.toUtf8()), 0, 0).front(), QStringLiteral("社員"));
    EXPECT_EQ(Row(Load("\xEF\xBB\xBFK,v"), 0, 0).front(), "K");
    EXPECT_EQ(Row(Load(Sjis(text)), 0, 0).front(), QStringLiteral("社員"));
    EXPECT_EQ(TRecordText::Detect("plain,ascii"), TRecordText::TEncoding::Ascii);
}

TEST(RecordFileTest, Utf8ValidationRejectsMalformedSequences) {
    struct Case {
        QByteArray bytes;
        bool valid;
    } cases[] = {
        {"\xE3\x81\x82", true},  {"\xF0\x9F\x98\x80", true},  {"\xE3\x81", false},       {"\xC0\xAF", false},
        {"\xED\xA0\x80", false}, {"\xF4\x90\x80\x80", false}, {"\x80", false},           {"abcdefgh\xE3\x81\x82", true},
        {"\xE0\x80\xAF", false}, {"\x95\x5C", false},         {"abcdefghij\xC3", false},
    };
    for (const Case& c : cases) {
        bool nonAscii = false;
        EXPECT_EQ(TRecordText::IsValidUtf8(c.bytes.constData(), c.bytes.size(), nonAscii), c.valid)
            << c.bytes.toHex().toStdString();
    }
}

TEST(RecordFileTest, EmptyFilesFailAndBlankLinesLoadEmpty) {
    TRecordFile f;
    EXPECT_FALSE(f.LoadFromBytes("", "a.CSV"));
    EXPECT_FALSE(f.LoadFromBytes("\xEF\xBB\xBF", "a.CSV"));
    EXPECT_TRUE(f.LoadFromBytes("\r\n\r\n", "a.CSV"));
    EXPECT_EQ(f.Count(), 0);
    EXPECT_FALSE(f.LoadFromFile(QStringLiteral("/nonexistent/x.CSV")));
    EXPECT_FALSE(f.LastError().isEmpty());
}

TEST(RecordFileTest, RecordUnitLoadsCsvAndTabOnceByExactName) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    WriteFile(dir.filePath("one.csv"), "A,1\r\n");
    WriteFile(dir.filePath("two.TAB"), "B\t2\r\n");
    WriteFile(dir.filePath("three.txt"), "C,3\r\n");
    WriteFile(dir.filePath("empty.CSV"), "");
    QDir(dir.path()).mkdir("sub.csv");

    TRecordUnit unit;
    unit.LoadFolder(dir.path());
    QStringList names = unit.Names();
    names.sort();
    EXPECT_EQ(names, QStringList({"one.csv", "two.TAB"}));
    ASSERT_NE(unit.FindFile("two.TAB"), nullptr);
    EXPECT_EQ(unit.FindFile("two.TAB")->ValueAt(0, 0, 1), "2");
    EXPECT_EQ(unit.FindFile("TWO.TAB"), nullptr);
    EXPECT_FALSE(unit.AddFile(dir.filePath("one.csv")));
    EXPECT_EQ(unit.Count(), 2);
}

TEST(RecordFileTest, FieldUnitTakesOnlyReadableCsvFilesWithLines) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    WriteFile(dir.filePath("name.CSV"), Sjis(QStringLiteral("氏名\r\n住所\r\n")));
    WriteFile(dir.filePath("blank.csv"), "");
    WriteFile(dir.filePath("other.TAB"), "x\r\n");
    TFieldUnit unit;
    unit.LoadFolder(dir.path());
    EXPECT_EQ(unit.Names(), QStringList({"name.CSV"}));
    EXPECT_EQ(unit.Son(0)->Lines(), QStringList({QStringLiteral("氏名"), QStringLiteral("住所")}));
}

TEST(RecordFileTest, OnlyPlainFilesOfBoundedSizeAreRead) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    WriteFile(dir.filePath("ok.CSV"), "A,1\r\n");
    // A pipe left in the folder would block start-up forever on open.
    ASSERT_EQ(mkfifo(QFile::encodeName(dir.filePath("pipe.CSV")).constData(), 0600), 0);
    // Sparse: larger than the limit without taking the disk space.
    {
        QFile big(dir.filePath("big.CSV"));
        ASSERT_TRUE(big.open(QIODevice::WriteOnly));
        ASSERT_TRUE(big.resize(TRecordText::kMaxFileBytes + 1));
    }

    TRecordUnit records;
    records.LoadFolder(dir.path());
    EXPECT_EQ(records.Names(), QStringList({"ok.CSV"}));
    TFieldUnit fields;
    fields.LoadFolder(dir.path());
    EXPECT_EQ(fields.Names(), QStringList({"ok.CSV"}));

    for (const char* name : {"pipe.CSV", "big.CSV"}) {
        TRecordFile f;
        EXPECT_FALSE(f.LoadFromFile(dir.filePath(name))) << name;
        EXPECT_FALSE(f.LastError().isEmpty()) << name;
        EXPECT_EQ(f.Count(), 0) << name;
    }
}

TEST(RecordFileTest, KeyUnitOnItsOwnSplitsRowsLikeTheFile) {
    TKeyUnit record(u"K");
    EXPECT_TRUE(record.AddRow(u"K,a\\,b,\"c\"d,e\vf", u','));
    EXPECT_TRUE(record.AddRow(u"K\tx,y", u'\t'));
    EXPECT_EQ(record.Key(), "K");
    EXPECT_EQ(record.RowCount(), 2);
    EXPECT_EQ(record.Row(0), QStringList({"K", "a,b", "c", "e\r\nf"}));
    EXPECT_EQ(record.Row(1), QStringList({"K", "x,y"}));
    EXPECT_EQ(record.Value(1, 2), "");
    EXPECT_EQ(record.Value(2, 0), "");
    EXPECT_EQ(record.ValueCount(5), 0);
}

TEST(RecordFileTest, KeyIndexFindsTheFirstRecordOfExactlyThatKey) {
    // Keys: K1 (2 rows), "" (1), K2, K1 again, ｋ1 (full width), k1, "q" (a line without separator).
    const TRecordFile f =
        Load(Sjis(QStringLiteral("K1,a\r\nK1,b\r\n,empty\r\nK2,\r\nK1,c\r\nｋ1,wide\r\nk1,low\r\n\"q\"\r\n")));
    ASSERT_EQ(f.Count(), 7);
    const struct {
        QString key;
        int index;
        int rows;
    } cases[] = {
        {"K1", 0, 2},  {"", 1, 1},      {"K2", 2, 1},  {QStringLiteral("ｋ1"), 4, 1},
        {"k1", 5, 1},  {"\"q\"", 6, 1}, {"q", -1, -1}, {"K3", -1, -1},
        {"K", -1, -1}, {"K1 ", -1, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(f.IndexOfKey(c.key), c.index) << c.key.toStdString();
        EXPECT_EQ(f.RowCountOfKey(c.key), c.rows) << c.key.toStdString();
    }
    for (int i = 0; i < f.Count(); ++i)
        EXPECT_EQ(f.IndexOfKey(f.KeyAt(i)), i == 3 ? 0 : i);
    EXPECT_EQ(Row(f, 6, 0), QStringList({"q"}));
    EXPECT_EQ(TRecordFile().IndexOfKey("K1"), -1);
}

TEST(RecordFileTest, TextBeyondThirtyTwoBitOffsetsIsRefused) {
    const struct {
        qsizetype chars;
        bool fits;
    } cases[] = {
        {0, true}, {INT32_MAX, true}, {qsizetype(INT32_MAX) + 1, false}, {qsizetype(1) << 32, false}, {-1, false}};
    for (const auto& c : cases)
        EXPECT_EQ(TRecordStore::Fits(c.chars), c.fits) << c.chars;
}

TEST(RecordFileTest, FilesReadInPiecesGiveWhatTheirBytesGive) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // Beyond one piece of the reader, with lines of double-byte text longer than a piece's tail.
    QString text;
    for (int i = 0; text.size() < 700000; ++i)
        text += QStringLiteral("K%1,表示能力の高い画面,%2\r\n").arg(i / 3).arg(QString(40, QChar(0x6F22)));
    const QByteArray ascii(1200000, 'a');
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"cp932.CSV", Sjis(text)},
        {"utf8.CSV", text.toUtf8()},
        {"bom.CSV", "\xEF\xBB\xBF" + text.toUtf8()},
        {"late-cp932.CSV", "A," + ascii + "\r\n" + Sjis(text)},
        {"late-utf8.CSV", "A," + ascii + "\r\n" + text.toUtf8()},
        {"bad-tail.CSV", text.toUtf8() + "\r\nZ,\x82"},
    };
    for (const auto& c : cases) {
        WriteFile(dir.filePath(c.name), c.bytes);
        TRecordFile read;
        ASSERT_TRUE(read.LoadFromFile(dir.filePath(c.name))) << c.name;
        const TRecordFile whole = Load(c.bytes, c.name);
        ASSERT_EQ(read.Count(), whole.Count()) << c.name;
        for (int i : {0, 1, read.Count() / 2, read.Count() - 1})
            EXPECT_EQ(Row(read, i, 0), Row(whole, i, 0)) << c.name << " record " << i;
    }
}
