#include "RecordTableModel.h"

#include "CategoryDialog.h"

#include "merge/FieldUnit.h"
#include "merge/RecordFile.h"

#include <QFileInfo>
#include <algorithm>
#include <limits>

TRecordTableModel::TRecordTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void TRecordTableModel::SetFile(const TRecordFile* file, const QStringList& heads) {
    beginResetModel();
    fFile = file;
    fHeads = heads;
    fFirstRows.clear();
    fColumns = 0;
    if (file) {
        fFirstRows.reserve(size_t(file->Count()) + 1);
        qint64 rows = 0;
        for (int i = 0; i < file->Count(); ++i) {
            fFirstRows.push_back(int(rows));
            const TKeyUnit* record = file->Record(i);
            for (int r = 0; r < record->RowCount(); ++r)
                fColumns = std::max(fColumns, record->ValueCount(r));
            // A view cannot hold more rows than an int counts; the rest stays unseen, not wrong.
            rows = std::min<qint64>(rows + record->RowCount(), std::numeric_limits<int>::max());
        }
        fFirstRows.push_back(int(rows));
    }
    endResetModel();
}

int TRecordTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || fFirstRows.empty() ? 0 : fFirstRows.back();
}

int TRecordTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : fColumns;
}

QVariant TRecordTableModel::data(const QModelIndex& index, int role) const {
    if (!fFile || !index.isValid() || index.row() >= rowCount() || index.column() >= fColumns) return {};
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    // The last record whose first row lies at or before the row.
    const auto after = std::upper_bound(fFirstRows.begin(), fFirstRows.end() - 1, index.row());
    const int record = int(after - fFirstRows.begin()) - 1;
    QString value = fFile->ValueAt(record, index.row() - fFirstRows[size_t(record)], index.column());
    // One line per cell keeps every row the same height; the tip shows the value as it is.
    if (role == Qt::DisplayRole) value.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    return value;
}

QVariant TRecordTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || section < 0) return {};
    if (orientation == Qt::Vertical) return section + 1;
    const QString name = fHeads.value(section);
    return name.isEmpty() ? QString::number(section) : name;
}

QStringList TRecordTableModel::HeadsFor(const TFieldUnit& fields, const QString& recordName) {
    const QString base = QFileInfo(recordName).completeBaseName();
    QStringList heads;
    if (base.isEmpty()) return heads;
    for (int i = 0; i < fields.Count(); ++i) {
        const TFieldSon* son = fields.Son(i);
        if (QFileInfo(son->FileName()).completeBaseName().compare(base, Qt::CaseInsensitive) != 0) continue;
        for (const auto& [number, name] : TCategoryDialog::ColumnNames(*son)) {
            // Numbers are bounded by the definition reader; the first name of a number counts.
            if (number >= heads.size()) heads.resize(number + 1);
            if (heads[number].isEmpty()) heads[number] = name;
        }
        break;
    }
    return heads;
}
