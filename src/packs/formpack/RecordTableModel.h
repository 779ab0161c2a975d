#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <vector>

class TFieldUnit;
class TRecordFile;

// A record file as a read-only table: one line per row of the file, values read from the file's
// own store when a cell is drawn, so a file of any length opens at once.
class TRecordTableModel : public QAbstractTableModel {
public:
    explicit TRecordTableModel(QObject* parent = nullptr);

    // The file to show (nullptr for none); heads name the columns by number, and a column
    // without a name shows its number.
    void SetFile(const TRecordFile* file, const QStringList& heads);
    const TRecordFile* File() const { return fFile; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Column names of the definition file named like the record file ("住所録.CSV" names the
    // columns of "住所録.TAB" too); empty when there is none.
    static QStringList HeadsFor(const TFieldUnit& fields, const QString& recordName);

private:
    const TRecordFile* fFile = nullptr;
    QStringList fHeads;
    // Table row of each record's first row, and the row count at the end.
    std::vector<int> fFirstRows;
    int fColumns = 0;
};
