#pragma once

#include <QWidget>

class QLabel;
class QTableView;
class TFieldUnit;
class TRecordTableModel;
class TRecordUnit;

// One chosen record file as the user will print from it: its rows under the column names of its
// definition with the record count, or why there is nothing to show.
class TRecordPreview : public QWidget {
public:
    TRecordPreview(const TRecordUnit& records, const TFieldUnit& fields, QWidget* parent = nullptr);

    // Shows the file of this name ("" for none).
    void ShowFile(const QString& name);

    QTableView* Table() const { return fTable; }

private:
    const TRecordUnit& fRecords;
    const TFieldUnit& fFields;
    QLabel* fSummary;
    QTableView* fTable;
    TRecordTableModel* fModel;
};
