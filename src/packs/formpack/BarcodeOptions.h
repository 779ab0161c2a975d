#pragma once

#include "objects/ObjectExtras.h"

#include <QGroupBox>
#include <QList>
#include <QPair>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

// The field dialog's group that prints a field as a barcode: the kind (or the record value's own),
// its flags, the customer barcode's address columns, and a sample drawn as it will print, with
// the reason when the sample's data does not suit the kind.
class TBarcodeOptions : public QGroupBox {
public:
    explicit TBarcodeOptions(QWidget* parent = nullptr);

    // The field's state (text, picture, barcode…) and options as they are now.
    void SetField(int fieldState, const TObjectExtras& extras);
    // The state chosen: barcode when checked; a barcode field unchecked becomes text.
    int FieldState() const;
    // The barcode options written into extras.
    void ApplyTo(TObjectExtras& extras) const;
    // The record columns the address boxes offer, as number and shown text.
    void SetColumns(const QList<QPair<int, QString>>& columns);
    // False while the sample's data is refused.
    bool Acceptable() const;
    // Called whenever Acceptable may have changed.
    void SetChanged(std::function<void()> changed) { fChanged = std::move(changed); }

    // For tests.
    QComboBox* KindBox() const { return fKind; }
    QLineEdit* SampleEdit() const { return fSample; }
    QLabel* MessageLabel() const { return fMessage; }
    QLabel* PictureLabel() const { return fPicture; }

private:
    // The kind shown: -1 for "the value names it", else 0 to 7.
    int Kind() const;
    void KindChanged();
    void Redraw();

    QComboBox* fKind;
    QCheckBox* fCheck;
    QCheckBox* fText;
    QComboBox* fAddress[2];
    QLineEdit* fSample;
    QLabel* fPicture;
    QLabel* fMessage;
    int fState = 0;
    bool fRefused = false;
    std::function<void()> fChanged;
};
