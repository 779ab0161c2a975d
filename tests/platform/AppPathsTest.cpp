#include "platform/AppPaths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void WriteFile(const QString& path, const QByteArray& bytes) {
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A shipped tree as the build lays it out: messages, templates of every kind, record examples.
void MakeShippedTree(const QString& root) {
    WriteFile(root + "/settings/outmessage.txt", "0:x\r\n");
    WriteFile(root + "/settings/carddata.cdd", "shipped");
    for (const char* kind : {"A4", "A5", "Hagaki", "L", "Meishi"})
        WriteFile(root + "/Template/" + kind + "/t.tda", "tda");
    WriteFile(root + "/recordfile/住所.CSV", "a,b\r\n");
    WriteFile(root + "/recordfile/sub/deep.TAB", "x\ty\r\n");
    WriteFile(root + "/fieldfile/fields.fld", "f");
}

} // namespace

TEST(AppPathsTest, OneFolderHoldsEverythingWhenPortable) {
    const TAppPaths paths = TAppPaths::ForFolder(QStringLiteral("/opt/k/./app"));
    EXPECT_TRUE(paths.IsPortable());
    const struct {
        QString actual;
        const char* expected;
    } rows[] = {
        {paths.AppPath(), "/opt/k/app/"},
        {paths.UserPath(), "/opt/k/app/"},
        {paths.PackFolder(), "/opt/k/app/"},
        {paths.SettingsFile(), "/opt/k/app/settings/settings.ini"},
        {paths.MessageFile(), "/opt/k/app/settings/outmessage.txt"},
        {paths.StartImageFile(), "/opt/k/app/settings/stImage.ims"},
        {paths.CardDataFile(), "/opt/k/app/settings/carddata.cdd"},
        {paths.TemplateKindFolder(0), "/opt/k/app/Template/A4/"},
        {paths.TemplateKindFolder(2), "/opt/k/app/Template/Hagaki/"},
        {paths.TemplateKindFolder(4), "/opt/k/app/Template/Meishi/"},
        {paths.TemplateKindFolder(5), ""},
        {paths.TemplateKindFolder(-1), ""},
        {paths.UserDataFolder(), "/opt/k/app/UserData/"},
        {paths.TempFolder(), "/opt/k/app/temp/"},
        {paths.RecordFolder(), "/opt/k/app/recordfile/"},
        {paths.FieldFolder(), "/opt/k/app/fieldfile/"},
        {paths.HolidayFile(), "/opt/k/app/HolidayList/holiday.dat"},
        {paths.SozaiFolder(), "/opt/k/app/sozai/"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.actual, QString::fromUtf8(row.expected));
}

TEST(AppPathsTest, InstalledModeSplitsShippedAndUserFiles) {
    const TAppPaths paths = TAppPaths::ForInstall(QStringLiteral("/usr/share/komorebi"), QStringLiteral("/home/u/k"));
    EXPECT_FALSE(paths.IsPortable());
    EXPECT_EQ(paths.AppPath(), "/usr/share/komorebi/");
    EXPECT_EQ(paths.UserPath(), "/home/u/k/");
    EXPECT_EQ(paths.PackFolder(), "/usr/lib/komorebi/");
    EXPECT_EQ(paths.MessageFile(), "/usr/share/komorebi/settings/outmessage.txt");
    EXPECT_EQ(paths.SettingsFile(), "/home/u/k/settings/settings.ini");
    EXPECT_EQ(paths.TemplateFolder(), "/usr/share/komorebi/Template/");
    EXPECT_EQ(paths.HolidayFile(), "/usr/share/komorebi/HolidayList/holiday.dat");
    EXPECT_EQ(paths.UserDataFolder(), "/home/u/k/UserData/");
    EXPECT_EQ(paths.RecordFolder(), "/home/u/k/recordfile/");
    EXPECT_EQ(paths.UserCardDataFile(), "/home/u/k/settings/carddata.cdd");
}

TEST(AppPathsTest, DetectChoosesTheModeFromTheExecutableFolder) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString root = dir.path();
    // Build folder: the shipped tree beside the executable.
    MakeShippedTree(root + "/build/app");
    const TAppPaths build = TAppPaths::DetectFor(root + "/build/app", root + "/home");
    EXPECT_TRUE(build.IsPortable());
    EXPECT_EQ(build.UserPath(), root + "/build/app/");

    // Installed: bin/ has no data; share/komorebi and lib/komorebi sit beside it.
    MakeShippedTree(root + "/prefix/share/komorebi");
    ASSERT_TRUE(QDir().mkpath(root + "/prefix/bin"));
    const TAppPaths installed = TAppPaths::DetectFor(root + "/prefix/bin", root + "/home");
    EXPECT_FALSE(installed.IsPortable());
    EXPECT_EQ(installed.AppPath(), root + "/prefix/share/komorebi/");
    EXPECT_EQ(installed.PackFolder(), root + "/prefix/lib/komorebi/");
    EXPECT_EQ(installed.UserPath(), root + "/home/");

    // A read-only application folder keeps its data and packs but writes to the user's folder.
    MakeShippedTree(root + "/ro");
    ASSERT_TRUE(QFile::setPermissions(root + "/ro", QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    const TAppPaths readOnly = TAppPaths::DetectFor(root + "/ro", root + "/home");
    QFile::setPermissions(root + "/ro", QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (getuid() != 0) { // root writes anywhere
        EXPECT_FALSE(readOnly.IsPortable());
        EXPECT_EQ(readOnly.AppPath(), root + "/ro/");
        EXPECT_EQ(readOnly.PackFolder(), root + "/ro/");
        EXPECT_EQ(readOnly.UserPath(), root + "/home/");
    }
}

TEST(AppPathsTest, FirstInstalledStartSeedsTheUserTreeOnce) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString shipped = dir.path() + "/share";
    const QString user = dir.path() + "/user";
    MakeShippedTree(shipped);
    const TAppPaths paths = TAppPaths::ForInstall(shipped, user);
    EXPECT_EQ(paths.CardDataFile(), shipped + "/settings/carddata.cdd");

    QString error;
    ASSERT_TRUE(paths.EnsureUserTree(&error)) << qPrintable(error);
    for (const QString& folder : {paths.UserDataFolder(), paths.TempFolder(), user + "/settings/"})
        EXPECT_TRUE(QFileInfo(folder).isDir()) << qPrintable(folder);
    EXPECT_EQ(ReadFile(paths.RecordFolder() + "住所.CSV"), "a,b\r\n");
    EXPECT_EQ(ReadFile(paths.RecordFolder() + "sub/deep.TAB"), "x\ty\r\n");
    EXPECT_EQ(ReadFile(paths.FieldFolder() + "fields.fld"), "f");
    EXPECT_FALSE(QFileInfo::exists(user + "/recordfile.part"));
    EXPECT_FALSE(QFileInfo::exists(paths.UserDataFolder() + "t.tda")); // templates stay shipped

    // The user's own edits and deletions survive later starts.
    WriteFile(paths.RecordFolder() + "住所.CSV", "mine");
    QFile::remove(paths.FieldFolder() + "fields.fld");
    WriteFile(paths.UserCardDataFile(), "user");
    ASSERT_TRUE(paths.EnsureUserTree(&error));
    EXPECT_EQ(ReadFile(paths.RecordFolder() + "住所.CSV"), "mine");
    EXPECT_FALSE(QFileInfo::exists(paths.FieldFolder() + "fields.fld"));
    EXPECT_EQ(paths.CardDataFile(), paths.UserCardDataFile());

    // A user root that cannot be made is reported, not ignored.
    WriteFile(dir.path() + "/blocker", "file");
    const TAppPaths blocked = TAppPaths::ForInstall(shipped, dir.path() + "/blocker/user");
    EXPECT_FALSE(blocked.EnsureUserTree(&error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(AppPathsTest, PortableTreeOnlyGainsMissingFolders) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    MakeShippedTree(dir.path());
    QDir(dir.path() + "/fieldfile").removeRecursively();
    const TAppPaths paths = TAppPaths::ForFolder(dir.path());
    ASSERT_TRUE(paths.EnsureUserTree());
    EXPECT_TRUE(QFileInfo(paths.FieldFolder()).isDir());
    EXPECT_TRUE(QDir(paths.FieldFolder()).isEmpty());
    EXPECT_TRUE(QFileInfo(paths.TempFolder()).isDir());
    EXPECT_TRUE(QFileInfo(paths.UserDataFolder()).isDir());
    EXPECT_EQ(ReadFile(paths.RecordFolder() + "住所.CSV"), "a,b\r\n");
}

TEST(AppPathsTest, ShippedTemplatesAreRecognisedThroughLinksAndDots) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString root = dir.path() + "/app";
    MakeShippedTree(root);
    WriteFile(root + "/UserData/mine.tda", "tda");
    ASSERT_TRUE(QFile::link(root + "/Template/Meishi/t.tda", root + "/UserData/link.tda"));
    ASSERT_TRUE(QFile::link(root, dir.path() + "/alias"));
    const TAppPaths paths = TAppPaths::ForFolder(root);
    const struct {
        QString file;
        bool shipped;
    } rows[] = {
        {root + "/Template/A4/t.tda", true},
        {root + "/Template/Meishi/t.tda", true},
        {root + "/Template/Meishi/new.tda", true}, // not written yet
        {root + "/UserData/../Template/L/t.tda", true},
        {dir.path() + "/alias/Template/Hagaki/t.tda", true},
        {root + "/UserData/link.tda", true},
        {root + "/UserData/mine.tda", false},
        {root + "/UserData/new.tda", false},
        {root + "/Templates/A4/t.tda", false},   // a sibling whose name only starts alike
        {root + "/Template/meishi/t.tda", true}, // inside the shipped tree whatever the kind folder
        {root + "/template/A4/t.tda", false},    // another folder on a case-sensitive disk
        {QString(), false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(paths.IsUnderShippedTemplates(row.file), row.shipped) << qPrintable(row.file);
}
