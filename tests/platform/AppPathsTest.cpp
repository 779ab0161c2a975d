#include "platform/AppPaths.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
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

TEST(AppPathsTest, EachFileLiesInTheShippedOrTheUserTree) {
    // Portable: one folder for all. Installed: shipped data, the user's files and the packs apart.
    const TAppPaths portable = TAppPaths::ForFolder(QStringLiteral("/opt/k/./app"));
    const TAppPaths installed =
        TAppPaths::ForInstall(QStringLiteral("/usr/share/komorebi"), QStringLiteral("/home/u/k"));
    EXPECT_TRUE(portable.IsPortable());
    EXPECT_FALSE(installed.IsPortable());
    const struct {
        QString (*get)(const TAppPaths&);
        char tree; // S shipped, U user, P packs
        const char* relative;
    } rows[] = {
        {[](const TAppPaths& p) { return p.AppPath(); }, 'S', ""},
        {[](const TAppPaths& p) { return p.UserPath(); }, 'U', ""},
        {[](const TAppPaths& p) { return p.PackFolder(); }, 'P', ""},
        {[](const TAppPaths& p) { return p.SettingsFile(); }, 'U', "settings/settings.ini"},
        {[](const TAppPaths& p) { return p.MessageFile(); }, 'S', "settings/outmessage.txt"},
        {[](const TAppPaths& p) { return p.StartImageFile(); }, 'S', "settings/stImage.ims"},
        {[](const TAppPaths& p) { return p.CardDataFile(); }, 'S', "settings/carddata.cdd"},
        {[](const TAppPaths& p) { return p.UserCardDataFile(); }, 'U', "settings/carddata.cdd"},
        {[](const TAppPaths& p) { return p.TemplateKindFolder(0); }, 'S', "Template/A4/"},
        {[](const TAppPaths& p) { return p.TemplateKindFolder(2); }, 'S', "Template/Hagaki/"},
        {[](const TAppPaths& p) { return p.TemplateKindFolder(4); }, 'S', "Template/Meishi/"},
        {[](const TAppPaths& p) { return p.UserDataFolder(); }, 'U', "UserData/"},
        {[](const TAppPaths& p) { return p.TempFolder(); }, 'U', "temp/"},
        {[](const TAppPaths& p) { return p.RecordFolder(); }, 'U', "recordfile/"},
        {[](const TAppPaths& p) { return p.FieldFolder(); }, 'U', "fieldfile/"},
        {[](const TAppPaths& p) { return p.HolidayFile(); }, 'S', "HolidayList/holiday.dat"},
        {[](const TAppPaths& p) { return p.SozaiFolder(); }, 'S', "sozai/"},
    };
    for (const auto& row : rows) {
        const QString tail = QString::fromUtf8(row.relative);
        EXPECT_EQ(row.get(portable), "/opt/k/app/" + tail);
        const char* root = row.tree == 'S'   ? "/usr/share/komorebi/"
                           : row.tree == 'U' ? "/home/u/k/"
                                             : "/usr/lib/komorebi/";
        EXPECT_EQ(row.get(installed), QLatin1String(root) + tail);
    }
    for (int kind : {-1, 5})
        EXPECT_TRUE(installed.TemplateKindFolder(kind).isEmpty()) << kind;
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

    // An example shipped by a later version arrives once, beside the user's files.
    WriteFile(shipped + "/recordfile/新しい例.CSV", "new");
    ASSERT_TRUE(paths.EnsureUserTree(&error));
    EXPECT_EQ(ReadFile(paths.RecordFolder() + "新しい例.CSV"), "new");
    EXPECT_EQ(ReadFile(paths.RecordFolder() + "住所.CSV"), "mine");
    QFile::remove(paths.RecordFolder() + "新しい例.CSV");
    ASSERT_TRUE(paths.EnsureUserTree(&error));
    EXPECT_FALSE(QFileInfo::exists(paths.RecordFolder() + "新しい例.CSV"));
    EXPECT_FALSE(QFileInfo::exists(paths.FieldFolder() + "fields.fld"));

    // A folder made before examples were tracked gains the ones it lacks and keeps its own.
    QFile::remove(paths.FieldFolder() + ".offered");
    WriteFile(paths.FieldFolder() + "mine.fld", "m");
    ASSERT_TRUE(paths.EnsureUserTree(&error));
    EXPECT_EQ(ReadFile(paths.FieldFolder() + "fields.fld"), "f");
    EXPECT_EQ(ReadFile(paths.FieldFolder() + "mine.fld"), "m");

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

TEST(AppPathsTest, InstalledProgramFindsItsTreeBesideBin) {
    const QString cmake = QStandardPaths::findExecutable(QStringLiteral("cmake"));
    if (cmake.isEmpty()) GTEST_SKIP() << "cmake is not on the path";
    QTemporaryDir prefix;
    ASSERT_TRUE(prefix.isValid());
    QProcess install;
    install.start(cmake, {QStringLiteral("--install"), QStringLiteral(KOMOREBI_BINARY_DIR), QStringLiteral("--prefix"),
                          prefix.path()});
    ASSERT_TRUE(install.waitForFinished(120000));
    ASSERT_EQ(install.exitCode(), 0) << install.readAllStandardError().constData();

    const QString root = prefix.path();
    for (const char* file : {"/bin/komorebi", "/share/komorebi/settings/outmessage.txt",
                             "/share/komorebi/HolidayList/holiday.dat", "/share/applications/komorebi.desktop",
                             "/share/icons/hicolor/scalable/apps/komorebi.svg", "/share/mime/packages/komorebi.xml"})
        EXPECT_TRUE(QFileInfo(root + file).isFile()) << file;
    EXPECT_FALSE(QFileInfo::exists(root + "/share/komorebi/UserData"));
    EXPECT_FALSE(QFileInfo::exists(root + "/bin/settings"));

    const TAppPaths paths = TAppPaths::DetectFor(root + "/bin", root + "/home");
    EXPECT_FALSE(paths.IsPortable());
    EXPECT_EQ(paths.AppPath(), root + "/share/komorebi/");
    EXPECT_EQ(paths.PackFolder(), root + "/lib/komorebi/");
    EXPECT_TRUE(QFileInfo(paths.MessageFile()).isFile());
    EXPECT_TRUE(QFileInfo(paths.TemplateKindFolder(0)).isDir());
    ASSERT_TRUE(paths.EnsureUserTree());
    EXPECT_TRUE(QFileInfo(paths.UserDataFolder()).isDir());
}
