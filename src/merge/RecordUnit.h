#pragma once

#include "merge/RecordFile.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

// Every record file of the program's record folder, loaded once at start-up.
class TRecordUnit {
public:
    // Adds each ".CSV" and ".TAB" file of the folder in the order the file system lists them.
    void LoadFolder(const QString& folder);
    // False when the name is already loaded or the file cannot be read (error says why then).
    bool AddFile(const QString& path, QString* error = nullptr);
    // The loaded file with exactly this name, or none.
    const TRecordFile* FindFile(const QString& name) const;

    const QStringList& Names() const { return FNames; }
    int Count() const { return int(FFiles.size()); }
    const TRecordFile* File(int index) const;

private:
    std::vector<std::unique_ptr<TRecordFile>> FFiles;
    QStringList FNames;
};
