#pragma once

#include "PositionAlign.h"

#include <QDialog>

class QButtonGroup;

// Chooses how the selected objects are lined up.
class TPositionEditDialog : public QDialog {
public:
    explicit TPositionEditDialog(int objectCount, QWidget* parent = nullptr);
    TAlignKind Kind() const;

private:
    QButtonGroup* fGroup;
};
