#pragma once

#include <QDialog>
#include <QList>
#include <QPair>

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QStackedWidget;
class TFieldSon;
class TFieldUnit;

// Chooses what a field shows: a record column, a page counter, the start year or a month title.
class TCategoryDialog : public QDialog {
public:
    enum TKind { ckColumn, ckCurrentRecord, ckTotalRecord, ckYear, ckMonthTitle, ckMonthTitleYear, ckKindCount };

    TCategoryDialog(const QString& caption, const TFieldUnit& fields, int category, const QString& name,
                    QWidget* parent = nullptr);

    int Category() const;
    QString Name() const;

    // The columns a field-definition file names: "番号,名前" lines give their own number,
    // other lines name the column of their line number (the first line is the key column 0).
    static QList<QPair<int, QString>> ColumnNames(const TFieldSon& son);

private:
    void ShowDefinition(int index);
    // Shows the definition line of an existing field's column as the current item.
    void SelectOwnItem(int category, const QString& name);
    void UpdateOk();

    const TFieldUnit& fFields;
    QComboBox* fKind;
    QStackedWidget* fPages;
    QComboBox* fDefinition;
    QListWidget* fColumns;
    QSpinBox* fColumn;
    QLineEdit* fName;
    QSpinBox* fMonth;
    QPushButton* fOk = nullptr;
};
