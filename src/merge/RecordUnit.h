#pragma once

#include "merge/RecordFile.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

// The record files of the program's record folder. Nothing is read until a file is asked for by
// name: a large list in the folder must not slow down every start of the program.
class TRecordUnit {
public:
    // The folder FindFile reads from; reads nothing yet.
    void SetFolder(const QString& folder) { FFolder = folder; }
    const QString& Folder() const { return FFolder; }
    // Reads every ".CSV" and ".TAB" file of the folder now, in the order the file system lists
    // them, and makes it the folder FindFile reads from. Failures are kept in Failures().
    void LoadFolder(const QString& folder);
    // False when the name is already loaded or the file cannot be read (error says why then).
    bool AddFile(const QString& path, QString* error = nullptr);
    // The file with exactly this name, read from the folder on first use. A file that failed to
    // load is not read again unless retry is set; ErrorOf says why it failed.
    const TRecordFile* FindFile(const QString& name, bool retry = false);
    // The file with this name if it is loaded already; reads nothing.
    const TRecordFile* LoadedFile(const QString& name) const;
    QString ErrorOf(const QString& name) const { return FFailures.value(name); }
    // Names of the files that failed to load, with the reason of each.
    const QMap<QString, QString>& Failures() const { return FFailures; }

    const QStringList& Names() const { return FNames; }
    int Count() const { return int(FFiles.size()); }
    const TRecordFile* File(int index) const;

private:
    std::vector<std::unique_ptr<TRecordFile>> FFiles;
    QStringList FNames;
    QMap<QString, QString> FFailures;
    QString FFolder;
};
