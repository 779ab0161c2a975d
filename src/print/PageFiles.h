#pragma once

#include <QLockFile>
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

    // Removes this user's page folders left by jobs that were killed: their lock is stale (the
    // process that held it is gone), or, made before locks, they are a day old. Returns how many.
    static int RemoveStaleFolders();

private:
    std::unique_ptr<QTemporaryDir> fDir;
    // Held while the folder is in use, so that a later start can tell a live job's folder.
    std::unique_ptr<QLockFile> fLock;
    QStringList fNames;
};
