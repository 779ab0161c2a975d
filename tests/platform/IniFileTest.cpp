#include "document/OutMessage.h"
#include "platform/Cp932.h"
#include "platform/IniFile.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(IniFileTest, ReadsSectionsKeysAndDefaults) {
    TIniFile ini(QString{});
    ini.ParseBytes(TCp932::Encode(QString::fromUtf16(u"[Screen]\r\nGridCheck = 1\r\nFontName=ＭＳ 明朝\r\n"
                                                     u"GridColor=-16777201\r\nBad=abc\r\nBig=4294967295\r\n"
                                                     u"[Other]\r\nGridCheck=0\r\n")));
    EXPECT_EQ(ini.ReadInteger("screen", "gridcheck", 5), 1);
    EXPECT_EQ(ini.ReadString("Screen", "FontName", ""), QString::fromUtf16(u"ＭＳ 明朝"));
    EXPECT_EQ(ini.ReadInteger("Screen", "GridColor", 0), -16777201);
    EXPECT_EQ(ini.ReadInteger("Screen", "Bad", 7), 7);
    EXPECT_EQ(ini.ReadInteger("Screen", "Big", 0), -1); // a colour written unsigned keeps its bits
    EXPECT_EQ(ini.ReadInteger("Screen", "Missing", 42), 42);
    EXPECT_EQ(ini.ReadInteger("Nowhere", "GridCheck", 3), 3);
    EXPECT_EQ(ini.ReadInteger("Other", "GridCheck", 3), 0);
}

TEST(IniFileTest, WritesCp932AndReplacesTheFileWhole) {
    QTemporaryDir dir;
    const QString path = dir.filePath("settings.ini");
    {
        TIniFile ini(path);
        EXPECT_FALSE(ini.Exists());
        ini.WriteInteger("MainForm", "Left", -8);
        ini.WriteString("Screen", "FontName", QString::fromUtf16(u"ＭＳ Ｐゴシック"));
        ini.WriteBool("Screen", "GridCheck", true);
        ini.WriteInteger("MainForm", "Left", 12); // overwrites, keeps the position
        ASSERT_TRUE(ini.UpdateFile());
    }
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_TRUE(bytes.startsWith("[MainForm]\r\nLeft=12\r\n"));
    EXPECT_TRUE(bytes.contains(TCp932::Encode(QString::fromUtf16(u"FontName=ＭＳ Ｐゴシック"))));

    TIniFile back(path);
    EXPECT_TRUE(back.Exists());
    EXPECT_EQ(back.ReadInteger("MainForm", "Left", 0), 12);
    EXPECT_TRUE(back.ReadBool("Screen", "GridCheck", false));
}

TEST(IniFileTest, ManySectionsAndKeysReadInOnePass) {
    // 50,000 sections, then 200,000 keys in one: both used to be searched from the start per line.
    QByteArray bytes;
    for (int i = 0; i < 50000; ++i)
        bytes += "[S" + QByteArray::number(i) + "]\r\nK=" + QByteArray::number(i) + "\r\n";
    bytes += "[Big]\r\n";
    for (int i = 0; i < 200000; ++i)
        bytes += "Key" + QByteArray::number(i) + '=' + QByteArray::number(i * 2) + "\r\n";
    bytes += "key7=duplicate\r\n[s3]\r\nk=again\r\nOther=1\r\n";
    TIniFile ini(QString{});
    ini.ParseBytes(bytes);
    struct TCase {
        const char* Section;
        const char* Key;
        int Value;
    } cases[] = {
        {"S0", "K", 0},      {"s49999", "k", 49999}, {"BIG", "KEY199999", 399998},
        {"Big", "Key7", 14}, // the first occurrence wins
        {"S3", "K", 3},      {"S3", "Other", 1},     {"S50000", "K", -1},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(ini.ReadInteger(c.Section, c.Key, -1), c.Value) << c.Section << c.Key;
    // Writing keeps the order of first appearance.
    ini.WriteInteger("s0", "k", 5);
    ini.WriteInteger("New", "A", 1);
    const QByteArray out = ini.ToBytes();
    EXPECT_TRUE(out.startsWith("[S0]\r\nK=5\r\n"));
    EXPECT_TRUE(out.endsWith("[New]\r\nA=1\r\n\r\n"));
}

// settings.ini and outmessage.txt used to be read whole: a 300 MB file kept the window from ever
// showing. Both are refused by name, and a refused settings.ini is never written over.
TEST(IniFileTest, OversizedSettingsFilesAreRefusedByName) {
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("settings.ini"));
    const QString messages = dir.filePath(QStringLiteral("outmessage.txt"));
    for (const QString& name : {ini, messages}) {
        QFile f(name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[MainForm]\r\nLeft=1\r\n");
        ASSERT_TRUE(f.resize(TIniFile::kMaxFileBytes + 1)); // sparse: no real 4 MB written
    }
    TIniFile settings(ini);
    EXPECT_FALSE(settings.Exists());
    EXPECT_TRUE(settings.LoadError().contains(QStringLiteral("settings.ini")));
    settings.WriteInteger(QStringLiteral("MainForm"), QStringLiteral("Top"), 5);
    EXPECT_FALSE(settings.UpdateFile());
    EXPECT_EQ(QFileInfo(ini).size(), TIniFile::kMaxFileBytes + 1);

    TOutMessage table;
    EXPECT_FALSE(table.LoadMessages(messages));
    EXPECT_TRUE(table.LoadError().contains(QStringLiteral("outmessage.txt")));
    EXPECT_EQ(table.Count(), 0);
}

// A rewrite used to drop every line the program does not own. Only the values set are rewritten;
// a new key follows its section's last line, before the blank lines that end it.
TEST(IniFileTest, RewritesKeepWhatTheProgramDoesNotOwn) {
    const QByteArray before = "; settings by hand\r\n"
                              "[MainForm]\r\n"
                              "; the window\r\n"
                              "Left = 10\r\n"
                              "Top=\"20\"\r\n"
                              "left=99\r\n"
                              "not a key line\r\n"
                              "\r\n"
                              "[Screen]\r\n"
                              "GridCheck=1\r\n"
                              "[mainform]\r\n"
                              "Width=640\r\n";
    const QByteArray after = "; settings by hand\r\n"
                             "[MainForm]\r\n"
                             "; the window\r\n"
                             "Left=11\r\n"
                             "Top=\"20\"\r\n"
                             "left=99\r\n"
                             "not a key line\r\n"
                             "\r\n"
                             "[Screen]\r\n"
                             "GridCheck=1\r\n"
                             "[mainform]\r\n"
                             "Width=640\r\n"
                             "Height=480\r\n"
                             "[New]\r\n"
                             "Key=v\r\n"
                             "\r\n";
    TIniFile ini(QString{});
    ini.ParseBytes(before);
    EXPECT_EQ(ini.ToBytes(), before);
    EXPECT_EQ(ini.ReadInteger("MainForm", "Top", 0), 20);
    EXPECT_EQ(ini.ReadInteger("MainForm", "Width", 0), 640);
    ini.WriteInteger("MainForm", "Left", 11);
    ini.WriteInteger("MainForm", "Top", 20); // unchanged: the line stays as written
    ini.WriteInteger("MainForm", "Height", 480);
    ini.WriteString("New", "Key", "v");
    EXPECT_EQ(ini.ToBytes(), after);
}
