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
    // First record with exactly this key, or -1.
    int IndexOfKey(const QString& key) const;
    // Rows of the first record with this key, or -1.
    int RowCountOfKey(const QString& key) const;
    // Value n of row k of record i; "" for anything out of range.
    QString ValueAt(int index, int row, int n) const;
    const TKeyUnit* Record(int index) const;

    static QChar SeparatorFor(const QString& fileName);

private:
    void Clear();

    std::unique_ptr<TRecordStore> FStore;
    std::vector<TKeyUnit> FKeys;
    QString FFileName;
    int FCount = 0;
    QString FError;
};
