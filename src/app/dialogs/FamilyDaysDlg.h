#pragma once

#include "calendar/FamilyDays.h"

#include <QDialog>

class QLabel;
class QTableWidget;

// 「記念日の設定」: the family's days in a table of date and name, read from and saved to the
// user's file. Lines of the file that could not be read come into the table too, named above
// it, so that saving never drops what the user wrote.
class TFamilyDaysDlg : public QDialog {
public:
    explicit TFamilyDaysDlg(const QString& file, QWidget* parent = nullptr);

    // The list as saved by the last OK.
    const TFamilyDays& Days() const { return fDays; }
    QTableWidget* Table() const { return fTable; }
    // Checks every row, saves the file and makes it the list the calendars mark; false (the
    // reason shown in the dialog) when a row is wrong or the file cannot be written.
    bool Apply();

    void accept() override;

private:
    void AddRow(const QString& date, const QString& name);
    void Fail(const QString& text, int row, int column);

    QString fFile;
    TFamilyDays fDays;
    QTableWidget* fTable;
    QLabel* fError;
};
