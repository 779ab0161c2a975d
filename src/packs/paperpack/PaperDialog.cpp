#include "PaperDialog.h"

#include "DialogFrame.h"
#include "SheetLayoutEditor.h"
#include "SheetPreview.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

// The paper as a sheet for the editor; an empty or damaged paper starts as a plain A4 page.
TCardSheet SheetOf(const TPriPaper& paper) {
    TCardSheet s;
    s.Name = QStringLiteral("用紙");
    s.SheetWidth = paper.FSheetWidth;
    s.SheetHeight = paper.FSheetHeight;
    s.Columns = paper.FSeatColumns;
    s.Rows = paper.FSeatRows;
    s.SeatWidth = paper.FSeatWidth;
    s.SeatHeight = paper.FSeatHeight;
    s.PitchX = paper.FSeatWidth + std::max(0, paper.FSeatGapX);
    s.PitchY = paper.FSeatHeight + std::max(0, paper.FSeatGapY);
    s.FirstLeft = paper.FFirstSeatLeft;
    s.FirstTop = paper.FFirstSeatTop;
    if (s.SheetWidth <= 0 || s.SheetHeight <= 0 || s.Columns < 1 || s.Rows < 1 || s.SeatWidth <= 0 ||
        s.SeatHeight <= 0) {
        s.SheetWidth = s.SeatWidth = s.PitchX = 2100;
        s.SheetHeight = s.SeatHeight = s.PitchY = 2970;
        s.Columns = s.Rows = 1;
        s.FirstLeft = s.FirstTop = 0;
    }
    return s;
}

} // namespace

TPaperDialog::TPaperDialog(const TPriPaper& paper, QWidget* parent) : QDialog(parent), fPaper(paper) {
    setWindowTitle(QStringLiteral("用紙設定"));
    fEditor = new TSheetLayoutEditor;
    fEditor->SetSheet(SheetOf(paper));

    auto* orientBox = new QGroupBox(QStringLiteral("向き"));
    fPortrait = new QRadioButton(QStringLiteral("縦(&V)"));
    fPortrait->setObjectName("portrait");
    fLandscape = new QRadioButton(QStringLiteral("横(&H)"));
    fLandscape->setObjectName("landscape");
    auto* group = new QButtonGroup(this);
    group->addButton(fPortrait);
    group->addButton(fLandscape);
    (paper.FPortrait == 0 ? fLandscape : fPortrait)->setChecked(true);
    auto* orientLayout = new QHBoxLayout(orientBox);
    orientLayout->addWidget(fPortrait);
    orientLayout->addWidget(fLandscape);
    orientLayout->addStretch();

    fPreview = new TSheetPreview;
    fPreview->setObjectName("preview");

    auto* buttons = TDialogFrame::OkCancel(this, QStringLiteral("OK"));

    auto* left = new QVBoxLayout;
    left->addWidget(fEditor);
    left->addWidget(orientBox);
    left->addStretch();
    TDialogFrame::Arrange(this, left, fPreview, buttons);

    setTabOrder(fEditor->LastField(), fPortrait);
    setTabOrder(fPortrait, fLandscape);
    fEditor->OnChanged = [this] { UpdatePreview(); };
    connect(fPortrait, &QRadioButton::toggled, this, [this] { UpdatePreview(); });
    UpdatePreview();
    fEditor->FirstField()->setFocus();
}

TPriPaper TPaperDialog::Paper() const {
    TPriPaper paper = fPaper;
    fEditor->Sheet().ToPaper(paper, fPortrait->isChecked() ? 1 : 0);
    // The orientation here is the user's own, also for a sheet of several seats.
    paper.FPortrait = fPortrait->isChecked() ? 1 : 0;
    return paper;
}

void TPaperDialog::done(int result) {
    if (result == QDialog::Accepted) {
        QString problem = fEditor->Sheet().LayoutProblem();
        if (problem.isEmpty()) problem = fEditor->Sheet().DocumentProblem();
        if (!problem.isEmpty()) {
            QMessageBox::warning(this, windowTitle(), problem);
            return;
        }
    }
    QDialog::done(result);
}

void TPaperDialog::UpdatePreview() {
    fPreview->SetSheet(fEditor->Sheet(), fLandscape->isChecked());
}
