#pragma once

#include "ShapeSample.h"

#include <QDialog>

class QComboBox;
class QGroupBox;
class QPushButton;
class QSpinBox;

// Line and fill of shapes, lines and portals. Part 0 edits both, 1 the pen only, 2 the fill only;
// the corner rounding belongs to the fill and is offered only when it came in as 0 or more.
class TPenBrushDialog : public QDialog {
public:
    struct TValues {
        int32_t PenStyle = 0;
        int32_t PenWidth = 1;
        int32_t PenColor = 0;
        int32_t BrushStyle = 0;
        int32_t BrushColor = 0;
        int32_t RoundNum = -1;
    };

    TPenBrushDialog(const TValues& values, int32_t part, QWidget* parent = nullptr);

    // What the dialog shows now; the parts it does not edit are the values it was given.
    TValues Values() const;

    static constexpr int kPenStyles = 6;
    static constexpr int kBrushStyles = 8;
    static constexpr int kMaxPenWidth = 100;
    static constexpr int kMaxRound = 999;

private:
    void PickColor(bool pen);
    void UpdateLook();

    TValues fValues;
    bool fEditPen;
    bool fEditBrush;
    QComboBox* fPenStyle = nullptr;
    QSpinBox* fPenWidth = nullptr;
    QPushButton* fPenColor = nullptr;
    QComboBox* fBrushStyle = nullptr;
    QPushButton* fBrushColor = nullptr;
    QSpinBox* fRound = nullptr;
    TShapeSample* fSample = nullptr;
};
