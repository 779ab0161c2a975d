#include "platform/AppPaths.h"

#include "platform/FileWriter.h"
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSet>
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

// Names of the shipped examples a user folder has been offered, so one the user deleted stays deleted.
const QString kOfferedList = QStringLiteral(".offered");

QStringList ShippedExamples(const QString& from) {
    QStringList names;
    const QDir source(from);
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString name = source.relativeFilePath(it.next());
        if (name != QStringLiteral(".keep") && name != kOfferedList) names << name;
    }
    names.sort();
    return names;
}

bool WriteOfferedList(const QString& folder, const QStringList& names) {
    return TFileWriter::WriteAll(folder + kOfferedList, names.join(QLatin1Char('\n')).toUtf8());
}

// Examples shipped after the user's folder was made: each one the folder was never offered
// is copied in once, beside the user's files, never over one.
bool OfferNewExamples(const QString& from, const QString& to, QString* error) {
    const QString folder = AsFolder(to);
    QSet<QString> offered;
    QFile list(folder + kOfferedList);
    if (list.size() <= 1 << 20 && list.open(QIODevice::ReadOnly))
        for (const QString& name : QString::fromUtf8(list.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            offered.insert(name);
    const QStringList shipped = ShippedExamples(from);
    bool changed = false;
    for (const QString& name : shipped) {
        if (offered.contains(name)) continue;
        changed = true;
        const QString target = folder + name;
        if (QFileInfo::exists(target)) continue;
        const QString partial = target + QStringLiteral(".part");
        QFile::remove(partial);
        if (!QDir().mkpath(QFileInfo(target).path()) || !QFile::copy(from + QLatin1Char('/') + name, partial) ||
            !QFile::setPermissions(partial, QFile::permissions(partial) | QFileDevice::WriteOwner) ||
            !QFile::rename(partial, target)) {
            QFile::remove(partial);
            if (error) *error = QStringLiteral("cannot copy %1 to %2").arg(name, folder);
            return false;
        }
    }
    if (changed && !WriteOfferedList(folder, shipped)) {
        if (error) *error = QStringLiteral("cannot write %1").arg(folder + kOfferedList);
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
            if (!QFileInfo(seed.shipped).isDir()) continue;
            if (!QFileInfo::exists(seed.user)) {
                if (!SeedFolder(seed.shipped, seed.user, error)) return false;
                if (!WriteOfferedList(AsFolder(seed.user), ShippedExamples(seed.shipped))) {
                    if (error) *error = QStringLiteral("cannot write %1").arg(seed.user + kOfferedList);
                    return false;
                }
            } else if (!OfferNewExamples(seed.shipped, seed.user, error)) {
                return false;
            }
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
