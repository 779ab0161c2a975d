#include "merge/RecordUnit.h"

#include <QDir>
#include <QFileInfo>

void TRecordUnit::LoadFolder(const QString& folder) {
    FFolder = folder;
    const QDir dir(folder);
    const QFileInfoList entries = dir.entryInfoList(QDir::Files | QDir::Hidden, QDir::Unsorted);
    for (const QFileInfo& info : entries) {
        const QString ext = info.suffix().toUpper();
        if (ext == QLatin1String("CSV") || ext == QLatin1String("TAB")) AddFile(info.filePath());
    }
}

bool TRecordUnit::AddFile(const QString& path, QString* error) {
    const QString name = QFileInfo(path).fileName();
    if (FNames.contains(name, Qt::CaseSensitive)) return false;
    auto file = std::make_unique<TRecordFile>();
    if (!file->LoadFromFile(path)) {
        FFailures.insert(name, file->LastError());
        if (error) *error = file->LastError();
        return false;
    }
    FFailures.remove(name);
    FFiles.push_back(std::move(file));
    FNames.append(name);
    return true;
}

const TRecordFile* TRecordUnit::FindFile(const QString& name, bool retry) {
    if (const TRecordFile* file = LoadedFile(name)) return file;
    // Only a bare name: anything else would read outside the folder.
    if (FFolder.isEmpty() || name.isEmpty() || name.contains(QLatin1Char('/')) || name == QLatin1String("..") ||
        (FFailures.contains(name) && !retry))
        return nullptr;
    const QString path = QDir(FFolder).filePath(name);
    // A missing file is no failure to remember: it may be copied in later.
    if (!QFileInfo::exists(path)) {
        FFailures.remove(name);
        return nullptr;
    }
    return AddFile(path) ? FFiles.back().get() : nullptr;
}

const TRecordFile* TRecordUnit::LoadedFile(const QString& name) const {
    const qsizetype index = FNames.indexOf(name);
    return index < 0 ? nullptr : FFiles[size_t(index)].get();
}

const TRecordFile* TRecordUnit::File(int index) const {
    if (index < 0 || index >= Count()) return nullptr;
    return FFiles[size_t(index)].get();
}
