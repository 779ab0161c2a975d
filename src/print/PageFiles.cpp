#include "print/PageFiles.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <unistd.h>

TPageFiles::~TPageFiles() {
    Clear();
}

QString TPageFiles::NextName() {
    if (!fDir) {
        fDir = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/komorebi-print-XXXXXX"));
        if (!fDir->isValid()) {
            fDir.reset();
            return QString();
        }
        fLock = std::make_unique<QLockFile>(fDir->filePath(QStringLiteral("job.lock")));
        fLock->tryLock(0);
    }
    return fDir->filePath(QStringLiteral("PTemp%1.TMP").arg(fNames.size()));
}

void TPageFiles::Remove(const QString& fileName) {
    QFile::remove(fileName);
}

void TPageFiles::Clear() {
    for (const QString& name : fNames)
        QFile::remove(name);
    fNames.clear();
    // The folder itself goes too; a later job makes a fresh one.
    fLock.reset();
    fDir.reset();
}

QString TPageFiles::Folder() const {
    return fDir ? fDir->path() : QString();
}

int TPageFiles::RemoveStaleFolders() {
    int removed = 0;
    const QDir temp(QDir::tempPath());
    const QFileInfoList folders =
        temp.entryInfoList({QStringLiteral("komorebi-print-*")}, QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks);
    for (const QFileInfo& folder : folders) {
        // Only this user's: another user's folder is theirs to clean.
        if (folder.ownerId() != ::getuid()) continue;
        const QString lockName = folder.filePath() + QStringLiteral("/job.lock");
        bool stale = false;
        if (QFileInfo::exists(lockName)) {
            QLockFile lock(lockName);
            // Stale only when its process is gone, however long a live job has been running.
            lock.setStaleLockTime(0);
            stale = lock.tryLock(0);
            if (stale) lock.unlock();
        } else {
            stale = folder.lastModified().secsTo(QDateTime::currentDateTime()) > 24 * 3600;
        }
        if (stale && QDir(folder.filePath()).removeRecursively()) ++removed;
    }
    return removed;
}
