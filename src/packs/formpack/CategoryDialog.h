#pragma once

#include "objects/ObjectExtras.h"

#include <QDialog>
#include <QList>
#include <QPair>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QStackedWidget;
class TBarcodeOptions;
class TFieldSon;
class TFieldUnit;

// Chooses what a field shows: a record column, a page counter, the start year, a month title (its
// month, year, era year or 干支) or an item of the sender; and for postal codes and names how the value is laid out.
class TCategoryDialog : public QDialog {
public:
    enum TKind {
        ckColumn,
        ckCurrentRecord,
        ckTotalRecord,
        ckYear,
        ckMonthTitle,
        ckMonthTitleYear,
        ckSender,
        // After ckSender: the kinds keep the numbers they had before these were added.
        ckEraYear,
        ckKanshi,
        ckKanshiAnimal,
        ckKindCount
    };
    // The name-block columns in their order: given name, joint names 1 and 2, honorific.
    static constexpr int kNameParts = 4;

    TCategoryDialog(const QString& caption, const TFieldUnit& fields, int category, const QString& name,
                    QWidget* parent = nullptr);

    int Category() const;
    QString Name() const;
    // The field's options: those the dialog does not show are kept as given.
    void SetExtras(const TObjectExtras& extras);
    TObjectExtras Extras() const;
    // The field's state (text, picture, barcode…): the barcode group shows and sets it.
    void SetFieldState(int state);
    int FieldState() const;
    // The sender items' names, in TSenderItem order from PostalCode.
    static QString SenderItemName(TObjectExtras::TSenderItem item);

    // For tests.
    QComboBox* KindBox() const { return fKind; }
    QComboBox* SenderBox() const { return fSender; }
    QComboBox* PostalBox() const { return fPostal; }
    QCheckBox* PrintBoxesCheck() const { return fPrintBoxes; }
    QCheckBox* NameBlockCheck() const { return fNameBlock; }
    QComboBox* NamePartBox(int index) const { return fNameParts[index]; }
    TBarcodeOptions* Barcode() const { return fBarcode; }

    // The columns a field-definition file names: "番号,名前" lines give their own number,
    // other lines name the column of their line number (the first line is the key column 0).
    static QList<QPair<int, QString>> ColumnNames(const TFieldSon& son);

private:
    void ShowDefinition(int index);
    // Shows the definition line of an existing field's column as the current item.
    void SelectOwnItem(int category, const QString& name);
    void UpdateOk();
    // The month-title page's sample for this month, counted from today.
    void UpdateSample();
    void UpdateOptions();
    void SenderPostalDefault();
    // The name-block combos offer the columns of the definition on show.
    void FillNameParts();
    QWidget* MakeOptions();

    const TFieldUnit& fFields;
    QComboBox* fKind;
    QStackedWidget* fPages;
    QComboBox* fDefinition;
    QListWidget* fColumns;
    QSpinBox* fColumn;
    QLineEdit* fName;
    QSpinBox* fMonth;
    QLabel* fSample = nullptr;
    QPushButton* fOk = nullptr;
    QComboBox* fSender = nullptr;
    QGroupBox* fPostalGroup = nullptr;
    QComboBox* fPostal = nullptr;
    QCheckBox* fPrintBoxes = nullptr;
    QGroupBox* fNameGroup = nullptr;
    QCheckBox* fNameBlock = nullptr;
    QComboBox* fNameParts[kNameParts] = {};
    TBarcodeOptions* fBarcode = nullptr;
    TObjectExtras fExtras;
};
