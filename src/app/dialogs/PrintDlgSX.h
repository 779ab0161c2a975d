#pragma once

#include "print/PrintPipeline.h"

#include <QDialog>
#include <functional>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPageLayout;
class QPushButton;
class QRadioButton;
class QSpinBox;
class TRyPrinter;

// "印刷ダイアログ": the current printer, copies and quality, the page range, a shift of the output
// and the start seat on label sheets. OK checks the numbers and keeps the dialog open, with the
// reason shown, while any is wrong.
class TPrintDlgSX : public QDialog {
    Q_OBJECT

public:
    // Without a printer the printer group shows nothing and copies stay with the caller.
    explicit TPrintDlgSX(TRyPrinter* printer, QWidget* parent = nullptr);

    void SetShift(int rightMM, int downMM);
    // Both 0 hides the start-seat group (modes other than 2 and 3).
    void SetSeatLimits(int columns, int rows);
    // The seat shown at first, 1-based: the one the pages were (or will be) built from.
    void SetStartSeat(int column, int row);
    void ShowPrinterInfo();
    // A PDF file in place of a printer: its name stands as the port, the sheet as the paper.
    void ShowPdfFile(const QString& file, const QString& paper);
    // A paper as the dialog names it: the driver's name and the size as it lies, in millimetres.
    static QString PaperText(const QPageLayout& layout);

    // Sets the printer to the job's paper again after the printer setup dialog chose another.
    std::function<void()> FitPaper;
    // Runs the printer setup dialog; tests answer in place of the user.
    std::function<int(QDialog&)> ExecDialog;

    bool PageAllCheck() const { return fPageAll; }
    int FirstPage() const { return fFirstPage; }
    int LastPage() const { return fLastPage; }
    int StartSeatPosX() const { return fSeatX; }
    int StartSeatPosY() const { return fSeatY; }
    int ShiftRight() const { return fShiftRight; }
    int ShiftDown() const { return fShiftDown; }
    int Copies() const { return fCopies; }
    // 0 "きれい", 1 "ふつう".
    int Quality() const { return fQualityValue; }
    // The choices as the pipeline takes them.
    TPrintChoice Choice() const;

    QLineEdit* PageFirstEdit() const { return fEdtPageFirst; }
    QLineEdit* PageLastEdit() const { return fEdtPageLast; }
    QRadioButton* PageSetButton() const { return fRadioPageSet; }
    QSpinBox* SeatXSpin() const { return fSpinSeatX; }
    QSpinBox* SeatYSpin() const { return fSpinSeatY; }
    QSpinBox* CopiesSpin() const { return fSpinPrintCount; }
    QGroupBox* SeatGroup() const { return fGroupSeat; }
    QLabel* ErrorLabel() const { return fErrorLabel; }
    QLabel* PrinterNameLabel() const { return fLblPrinterName; }
    QLabel* PrinterPortLabel() const { return fLblPrinterPort; }
    QLabel* PrinterPaperLabel() const { return fLblPrinterPaper; }
    QPushButton* PrinterSettingButton() const { return fBtnPrintSetting; }
    QRadioButton* FineButton() const;

    void accept() override;

private:
    void UpdatePageEdits();
    void PrintSettingClick();

    TRyPrinter* fPrinter;
    QLabel* fLblPrinterName;
    QLabel* fLblPrinterPaper;
    QLabel* fLblPrinterPort;
    QPushButton* fBtnPrintSetting;
    QButtonGroup* fQuality;
    QSpinBox* fSpinMarginRight;
    QSpinBox* fSpinMarginBottom;
    QGroupBox* fGroupSeat;
    QSpinBox* fSpinSeatY;
    QSpinBox* fSpinSeatX;
    QRadioButton* fRadioPrintAll;
    QRadioButton* fRadioPageSet;
    QLineEdit* fEdtPageFirst;
    QLineEdit* fEdtPageLast;
    QSpinBox* fSpinPrintCount;
    QLabel* fErrorLabel;

    bool fPageAll = true;
    int fFirstPage = 1;
    int fLastPage = 1;
    int fSeatX = 1;
    int fSeatY = 1;
    int fShiftRight = 0;
    int fShiftDown = 0;
    int fCopies = 1;
    int fQualityValue = 1;
};
