#pragma once

#include "document/PriPaper.h"

#include <QDialog>

class QRadioButton;
class TSheetLayoutEditor;
class TSheetPreview;

// The page's paper: sheet size, orientation and the seat grid. The values the document carries
// for the paper dialogs (A, B, C, D, E) go back as they came.
class TPaperDialog : public QDialog {
public:
    explicit TPaperDialog(const TPriPaper& paper, QWidget* parent = nullptr);
    TPriPaper Paper() const;

protected:
    void done(int result) override;

private:
    void UpdatePreview();

    TPriPaper fPaper;
    TSheetLayoutEditor* fEditor = nullptr;
    QRadioButton* fPortrait = nullptr;
    QRadioButton* fLandscape = nullptr;
    TSheetPreview* fPreview = nullptr;
};
