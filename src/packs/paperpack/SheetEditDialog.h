#pragma once

#include "print/CardSheet.h"

#include <QDialog>
#include <QStringList>

class QLineEdit;
class TSheetLayoutEditor;
class TSheetPreview;

// A sheet of the user's own for the print-paper list: its name, sizes and grid.
class TSheetEditDialog : public QDialog {
public:
    // takenNames: names already in the list; a new sheet must not hide one of them.
    TSheetEditDialog(const TCardSheet& start, const QStringList& takenNames, QWidget* parent = nullptr);
    TCardSheet Sheet() const;

protected:
    void done(int result) override;

private:
    QStringList fTaken;
    QLineEdit* fName = nullptr;
    TSheetLayoutEditor* fEditor = nullptr;
    TSheetPreview* fPreview = nullptr;
};
