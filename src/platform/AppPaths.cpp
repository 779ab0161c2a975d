#include "platform/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString AsFolder(const QString& path) {
    QString folder = QDir::cleanPath(QDir(path).absolutePath());
    if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    return folder;
}

bool HasShippedTree(const QString& folder) {
    return QFileInfo(folder + QStringLiteral("/settings/outmessage.txt")).isFile();
}

// The folder as the file system names it; a missing tail is kept as written.
QString CanonicalFolder(const QString& folder) {
    QString path = QDir::cleanPath(QDir(folder).absolutePath());
    QString tail;
    while (!path.isEmpty()) {
        const QString canonical = QFileInfo(path).canonicalFilePath();
        if (!canonical.isEmpty()) return QDir::cleanPath(canonical + tail);
        const qsizetype cut = path.lastIndexOf(QLatin1Char('/'));
        if (cut <= 0) break;
        tail = path.mid(cut) + tail;
        path.truncate(cut);
    }
    return QDir::cleanPath(QDir(folder).absolutePath());
}

// Copies a folder tree into a new folder; the target appears only once the copy is complete,
// so an interrupted first start seeds again next time.
bool SeedFolder(const QString& from, const QString& to, QString* error) {
    const QString partial = QDir::cleanPath(to) + QStringLiteral(".part");
    QDir(partial).removeRecursively();
    if (!QDir().mkpath(partial)) {
        if (error) *error = QStringLiteral("cannot create %1").arg(partial);
        return false;
    }
    const QDir source(from);
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        const QString target = partial + QLatin1Char('/') + source.relativeFilePath(path);
        const bool ok = info.isDir() ? QDir().mkpath(target) : QFile::copy(path, target);
        if (!ok) {
            if (error) *error = QStringLiteral("cannot copy %1 to %2").arg(path, target);
            QDir(partial).removeRecursively();
            return false;
        }
        if (!info.isDir())
            QFile::setPermissions(target,
                                  QFile::permissions(target) | QFileDevice::WriteOwner | QFileDevice::ReadOwner);
    }
    if (!QDir().rename(partial, QDir::cleanPath(to))) {
        if (error) *error = QStringLiteral("cannot create %1").arg(to);
        QDir(partial).removeRecursively();
        return false;
    }
    return true;
}

} // namespace

TAppPaths TAppPaths::Detect() {
    QString userRoot = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (userRoot.isEmpty()) userRoot = QDir::homePath() + QStringLiteral("/.local/share/komorebi");
    return DetectFor(QCoreApplication::applicationDirPath(), userRoot);
}

TAppPaths TAppPaths::DetectFor(const QString& exeDir, const QString& userRoot) {
    if (HasShippedTree(exeDir)) {
        if (QFileInfo(exeDir).isWritable()) return ForFolder(exeDir);
        // A read-only copy of the application folder: the shipped tree stays where it is.
        TAppPaths paths = ForInstall(exeDir, userRoot);
        paths.fPacks = AsFolder(exeDir);
        return paths;
    }
    TAppPaths paths = ForInstall(exeDir + QStringLiteral("/../share/komorebi"), userRoot);
    paths.fPacks = AsFolder(exeDir + QStringLiteral("/../lib/komorebi"));
    return paths;
}

TAppPaths TAppPaths::ForFolder(const QString& appPath) {
    TAppPaths paths;
    paths.fShipped = AsFolder(appPath);
    paths.fUser = paths.fShipped;
    paths.fPacks = paths.fShipped;
    paths.fPortable = true;
    return paths;
}

TAppPaths TAppPaths::ForInstall(const QString& shippedRoot, const QString& userRoot) {
    TAppPaths paths;
    paths.fShipped = AsFolder(shippedRoot);
    paths.fUser = AsFolder(userRoot);
    paths.fPacks = AsFolder(paths.fShipped + QStringLiteral("../../lib/komorebi"));
    paths.fPortable = false;
    return paths;
}

QString TAppPaths::CardDataFile() const {
    const QString user = UserCardDataFile();
    if (QFileInfo(user).isFile()) return user;
    return fShipped + QStringLiteral("settings/carddata.cdd");
}

QString TAppPaths::TemplateKindFolder(int kind) const {
    static const char* const kNames[TemplateKindCount] = {"A4", "A5", "Hagaki", "L", "Meishi"};
    if (kind < 0 || kind >= TemplateKindCount) return QString();
    return TemplateFolder() + QLatin1String(kNames[kind]) + QLatin1Char('/');
}

bool TAppPaths::EnsureUserTree(QString* error) const {
    if (!fPortable) {
        const struct {
            QString user;
            QString shipped;
        } seeds[] = {{RecordFolder(), fShipped + QStringLiteral("recordfile/")},
                     {FieldFolder(), fShipped + QStringLiteral("fieldfile/")}};
        if (!QDir().mkpath(fUser)) {
            if (error) *error = QStringLiteral("cannot create %1").arg(fUser);
            return false;
        }
        for (const auto& seed : seeds) {
            if (QFileInfo::exists(seed.user) || !QFileInfo(seed.shipped).isDir()) continue;
            if (!SeedFolder(seed.shipped, seed.user, error)) return false;
        }
    }
    const QString folders[] = {fUser + QStringLiteral("settings/"), UserDataFolder(), TempFolder(), RecordFolder(),
                               FieldFolder()};
    for (const QString& folder : folders) {
        if (QFileInfo(folder).isDir()) continue;
        if (!QDir().mkpath(folder)) {
            if (error) *error = QStringLiteral("cannot create %1").arg(folder);
            return false;
        }
    }
    return true;
}

bool TAppPaths::IsUnderShippedTemplates(const QString& file) const {
    if (file.isEmpty()) return false;
    const QFileInfo info(file);
    // A symlink to a template counts as the template, so Save never writes through it.
    const QString target = info.canonicalFilePath();
    const QString folder = target.isEmpty() ? CanonicalFolder(info.absolutePath()) : QFileInfo(target).absolutePath();
    const QString root = CanonicalFolder(TemplateFolder());
    return folder == root || folder.startsWith(root + QLatin1Char('/'));
}
