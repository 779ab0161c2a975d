#pragma once

#include <QStringList>
#include <QTemporaryDir>
#include <memory>

// The finished sheets of a print job kept on disk, "PTemp" + n + ".TMP", in a folder of the
// job's own: no other user's file or link can be overwritten or printed in their place, and the
// folder goes with the job, printed, failed or cancelled.
class TPageFiles {
public:
    TPageFiles() = default;
    ~TPageFiles();

    // The name of the next page file; empty when no private folder can be made.
    QString NextName();
    // Remembers a written page file.
    void Add(const QString& fileName) { fNames.append(fileName); }
    const QStringList& Names() const { return fNames; }
    int Count() const { return int(fNames.size()); }
    // Deletes one printed file; its name stays in the list, as the page numbers count from it.
    static void Remove(const QString& fileName);
    // Deletes every listed file that is still there and forgets the names.
    void Clear();
    QString Folder() const;

private:
    std::unique_ptr<QTemporaryDir> fDir;
    QStringList fNames;
};
