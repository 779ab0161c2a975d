#pragma once

#include "print/PrintProgress.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

// "転送中": the progress of a page build with its cancel button. Shown modal to the main window
// while pages are built, so no edit can delete an object being drawn; each step lets the window
// repaint and the button be clicked.
class TPrintProgressDlg : public QDialog, public TPrintProgress {
    Q_OBJECT

public:
    explicit TPrintProgressDlg(QWidget* parent = nullptr);

    bool CancelFlg() const { return fCancelFlg; }

    void Start(int maximum) override;
    bool Step() override;

    QLabel* Label() const { return fLabelSX1; }
    QProgressBar* Bar() const { return fProgressBar1; }
    QPushButton* CancelButton() const { return fCancelBtn; }

protected:
    // The build ends the dialog, not the title bar or Escape.
    void reject() override;

private:
    void CancelBtnClick();

    QLabel* fLabelSX1;
    QProgressBar* fProgressBar1;
    QPushButton* fCancelBtn;
    bool fCancelFlg = false;
};
