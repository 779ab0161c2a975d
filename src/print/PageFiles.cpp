#include "print/PageFiles.h"

#include <QDir>
#include <QFile>

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
    fDir.reset();
}

QString TPageFiles::Folder() const {
    return fDir ? fDir->path() : QString();
}
