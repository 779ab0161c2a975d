#pragma once

#include "merge/KeyUnit.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <vector>

// One record file: comma-separated (".CSV") or tab-separated text, every non-empty line a
// row, consecutive rows with the same first value one record.
class TRecordFile {
public:
    // Reads the file; on failure the object is left empty and LastError() says why.
    bool LoadFromFile(const QString& path);
    // The same from bytes already in memory; fileName chooses the separator.
    bool LoadFromBytes(const QByteArray& bytes, const QString& fileName);

    const QString& FileName() const { return FFileName; }
    int Count() const { return FCount; }
    const QString& LastError() const { return FError; }

    // Key of record i; "" when out of range.
    QString KeyAt(int index) const;
    // First record with exactly this key, or -1; a table made at load answers at once.
    int IndexOfKey(const QString& key) const;
    // Rows of the first record with this key, or -1.
    int RowCountOfKey(const QString& key) const;
    // Value n of row k of record i; "" for anything out of range.
    QString ValueAt(int index, int row, int n) const;
    const TKeyUnit* Record(int index) const;

    static QChar SeparatorFor(const QString& fileName);

private:
    void Clear();
    // Splits the decoded text in place: it becomes the store's text.
    bool Build(QString&& text, const QString& fileName);
    void BuildIndex();

    std::unique_ptr<TRecordStore> FStore;
    std::vector<TKeyUnit> FKeys;
    // Open addressing from a key's hash to its first record plus one; 0 is an empty slot.
    std::vector<uint32_t> FIndex;
    QString FFileName;
    int FCount = 0;
    QString FError;
};
