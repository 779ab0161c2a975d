#include "app/RecentFiles.h"
#include "platform/IniFile.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(RecentFilesTest, EightNewestFirstMissingDroppedAndKeptInTheirOwnSection) {
    QTemporaryDir dir;
    QStringList files;
    for (int i = 0; i < 10; ++i) {
        files << QFileInfo(dir.filePath(QStringLiteral("f%1.tda").arg(i))).canonicalFilePath();
        QFile f(dir.filePath(QStringLiteral("f%1.tda").arg(i)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.close();
        files.last() = QFileInfo(f.fileName()).canonicalFilePath();
    }
    TRecentFiles recent;
    for (const QString& f : files)
        recent.Add(f);
    recent.Add(files[5]); // again: moves to the front, not twice
    QStringList items = recent.Items();
    ASSERT_EQ(items.size(), TRecentFiles::kMaxCount);
    EXPECT_EQ(items.first(), files[5]);
    EXPECT_EQ(items[1], files[9]);
    EXPECT_EQ(items.count(files[5]), 1);
    EXPECT_FALSE(items.contains(files[0]));

    // A file that went is not offered.
    QFile::remove(files[9]);
    EXPECT_FALSE(recent.Items().contains(files[9]));

    const QString iniPath = dir.filePath(QStringLiteral("settings.ini"));
    {
        TIniFile ini(iniPath);
        ini.WriteInteger(QStringLiteral("Screen"), QStringLiteral("GridCheck"), 1);
        recent.Write(ini);
        ASSERT_TRUE(ini.UpdateFile());
    }
    QFile::remove(files[8]);
    const TIniFile ini(iniPath);
    EXPECT_TRUE(ini.SectionExists(TRecentFiles::Section()));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Screen"), QStringLiteral("GridCheck"), 0), 1);
    TRecentFiles read;
    read.Read(ini);
    items = read.Items();
    ASSERT_EQ(items.size(), 6); // 5, 7, 6, 4, 3, 2: the two removed ones are gone
    EXPECT_EQ(items.first(), files[5]);
    EXPECT_EQ(items.last(), files[2]);
}

// settings.ini is CP932: names outside it came back as "M?ller.tda", a file that does not exist.
TEST(RecentFilesTest, NamesOutsideCp932SurviveTheSettingsFile) {
    QTemporaryDir dir;
    QStringList files;
    for (const QString& name : {QStringLiteral("Müller.tda"), QStringLiteral("한글.tda"), QStringLiteral("🎍年賀.tda"),
                                QStringLiteral("utf8:名前.tda"), QStringLiteral("普通の名前 100%.tda")}) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        files.prepend(QFileInfo(f.fileName()).absoluteFilePath());
    }
    TRecentFiles recent;
    for (auto it = files.crbegin(); it != files.crend(); ++it)
        recent.Add(*it);
    const QString iniPath = dir.filePath(QStringLiteral("settings.ini"));
    {
        TIniFile ini(iniPath);
        recent.Write(ini);
        ASSERT_TRUE(ini.UpdateFile());
    }
    TRecentFiles read;
    read.Read(TIniFile(iniPath));
    EXPECT_EQ(read.Items(), files);
}
