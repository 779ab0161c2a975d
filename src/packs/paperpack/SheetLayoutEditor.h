#pragma once

#include "print/CardSheet.h"

#include <QWidget>
#include <functional>

class QComboBox;
class QDoubleSpinBox;
class QSpinBox;

// The sizes and the seat grid of a sheet, in millimetres, with the usual sheet sizes to pick.
// Gaps are what label packets print; the sheet keeps them as pitches.
class TSheetLayoutEditor : public QWidget {
public:
    explicit TSheetLayoutEditor(QWidget* parent = nullptr);

    void SetSheet(const TCardSheet& sheet);
    // The sheet as edited; the name stays what SetSheet gave.
    TCardSheet Sheet() const;
    QWidget* FirstField() const;
    QWidget* LastField() const;

    std::function<void()> OnChanged;

private:
    void PresetChosen();
    void Changed();
    void FitSeats();

    TCardSheet fSheet;
    bool fUpdating = false;
    QComboBox* fPreset = nullptr;
    QDoubleSpinBox* fSheetWidth = nullptr;
    QDoubleSpinBox* fSheetHeight = nullptr;
    QSpinBox* fColumns = nullptr;
    QSpinBox* fRows = nullptr;
    QDoubleSpinBox* fSeatWidth = nullptr;
    QDoubleSpinBox* fSeatHeight = nullptr;
    QDoubleSpinBox* fFirstLeft = nullptr;
    QDoubleSpinBox* fFirstTop = nullptr;
    QDoubleSpinBox* fGapX = nullptr;
    QDoubleSpinBox* fGapY = nullptr;
    QWidget* fFit = nullptr;
};
