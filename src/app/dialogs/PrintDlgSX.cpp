#include "app/dialogs/PrintDlgSX.h"

#include "print/RyPrinter.h"

#include <QButtonGroup>
#include <QDir>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

// Full-width digits and minus, as a Japanese input method in full-width mode types them, become
// their plain forms.
void Narrow(QString& text) {
    for (QChar& c : text) {
        const char16_t u = c.unicode();
        if (u >= 0xFF10 && u <= 0xFF19)
            c = QChar(char16_t(u'0' + (u - 0xFF10)));
        else if (u == 0xFF0D || u == 0x2212)
            c = QChar(u'-');
    }
}

// Digits only, typed, pasted or committed by an input method, full-width ones taken as plain.
class TDigitValidator : public QRegularExpressionValidator {
public:
    explicit TDigitValidator(QObject* parent)
        : QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{1,6}")), parent) {}
    State validate(QString& input, int& pos) const override {
        Narrow(input);
        return QRegularExpressionValidator::validate(input, pos);
    }
};

class TDigitSpinBox : public QSpinBox {
public:
    using QSpinBox::QSpinBox;

protected:
    QValidator::State validate(QString& input, int& pos) const override {
        Narrow(input);
        return QSpinBox::validate(input, pos);
    }
};

QSpinBox* Spin(int low, int high, int value, QWidget* parent) {
    auto* spin = new TDigitSpinBox(parent);
    spin->setRange(low, high);
    spin->setValue(value);
    return spin;
}

// A spin with its label before and its unit after, in one row.
QWidget* SpinRow(const QString& before, QSpinBox* spin, const QString& after, QWidget* parent) {
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    if (!before.isEmpty()) {
        auto* label = new QLabel(before, row);
        label->setBuddy(spin);
        layout->addWidget(label);
    }
    layout->addWidget(spin);
    if (!after.isEmpty()) layout->addWidget(new QLabel(after, row));
    layout->addStretch();
    return row;
}

} // namespace

TPrintDlgSX::TPrintDlgSX(TRyPrinter* printer, QWidget* parent) : QDialog(parent), fPrinter(printer) {
    setWindowTitle(QStringLiteral("印刷ダイアログ"));
    auto* layout = new QVBoxLayout(this);

    auto* info = new QGroupBox(QStringLiteral(" プリンタ情報 "), this);
    auto* infoForm = new QFormLayout(info);
    fLblPrinterName = new QLabel(info);
    fLblPrinterPaper = new QLabel(info);
    fLblPrinterPort = new QLabel(info);
    infoForm->addRow(QStringLiteral("プリンタ名"), fLblPrinterName);
    infoForm->addRow(QStringLiteral("用紙設定"), fLblPrinterPaper);
    infoForm->addRow(QStringLiteral("使用ポート"), fLblPrinterPort);
    fBtnPrintSetting = new QPushButton(QStringLiteral("プリンタ設定"), info);
    fBtnPrintSetting->setAutoDefault(false);
    fBtnPrintSetting->setEnabled(printer != nullptr);
    infoForm->addRow(fBtnPrintSetting);
    connect(fBtnPrintSetting, &QPushButton::clicked, this, &TPrintDlgSX::PrintSettingClick);
    layout->addWidget(info);

    auto* quality = new QGroupBox(QStringLiteral(" 印刷品位 "), this);
    auto* qualityRow = new QHBoxLayout(quality);
    fQuality = new QButtonGroup(this);
    const QString qualities[] = {QStringLiteral("きれい"), QStringLiteral("ふつう")};
    for (int i = 0; i < 2; ++i) {
        auto* button = new QRadioButton(qualities[i], quality);
        fQuality->addButton(button, i);
        qualityRow->addWidget(button);
    }
    fQuality->button(1)->setChecked(true);
    layout->addWidget(quality);

    auto* shift = new QGroupBox(QStringLiteral(" 印刷開始位置 "), this);
    auto* shiftRow = new QHBoxLayout(shift);
    fSpinMarginRight = Spin(-999, 999, 0, shift);
    fSpinMarginBottom = Spin(-999, 999, 0, shift);
    shiftRow->addWidget(SpinRow(QStringLiteral("右に"), fSpinMarginRight, QStringLiteral("mm"), shift));
    shiftRow->addWidget(SpinRow(QStringLiteral("下に"), fSpinMarginBottom, QStringLiteral("mm"), shift));
    layout->addWidget(shift);

    fGroupSeat = new QGroupBox(QStringLiteral("印刷開始シート位置"), this);
    auto* seatRow = new QHBoxLayout(fGroupSeat);
    fSpinSeatY = Spin(1, 1, 1, fGroupSeat);
    fSpinSeatX = Spin(1, 1, 1, fGroupSeat);
    seatRow->addWidget(SpinRow(QString(), fSpinSeatY, QStringLiteral("行目から"), fGroupSeat));
    seatRow->addWidget(SpinRow(QString(), fSpinSeatX, QStringLiteral("列目から"), fGroupSeat));
    layout->addWidget(fGroupSeat);
    fGroupSeat->hide();

    auto* pages = new QGroupBox(QStringLiteral("印刷範囲"), this);
    auto* pagesLayout = new QVBoxLayout(pages);
    fRadioPrintAll = new QRadioButton(QStringLiteral("すべて"), pages);
    fRadioPageSet = new QRadioButton(QStringLiteral("ページ指定"), pages);
    fRadioPrintAll->setChecked(true);
    auto* range = new QHBoxLayout();
    // Digits only; what the key filter cannot catch (a pasted 0) OK refuses.
    auto* digits = new TDigitValidator(this);
    fEdtPageFirst = new QLineEdit(QStringLiteral("1"), pages);
    fEdtPageLast = new QLineEdit(QStringLiteral("1"), pages);
    for (QLineEdit* edit : {fEdtPageFirst, fEdtPageLast}) {
        edit->setValidator(digits);
        edit->setAlignment(Qt::AlignRight);
        // Wide enough for the six digits the validator takes, no wider.
        edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0")) * 8 + 12);
    }
    range->addWidget(fRadioPageSet);
    range->addWidget(fEdtPageFirst);
    range->addWidget(new QLabel(QStringLiteral("ページから"), pages));
    range->addWidget(fEdtPageLast);
    range->addWidget(new QLabel(QStringLiteral("ページまで"), pages));
    range->addStretch();
    pagesLayout->addWidget(fRadioPrintAll);
    pagesLayout->addLayout(range);
    connect(fRadioPrintAll, &QRadioButton::toggled, this, &TPrintDlgSX::UpdatePageEdits);
    layout->addWidget(pages);

    auto* copies = new QGroupBox(QStringLiteral(" 印刷部数 "), this);
    auto* copiesRow = new QHBoxLayout(copies);
    fSpinPrintCount = Spin(1, 999, 1, copies);
    copiesRow->addWidget(SpinRow(QStringLiteral("部数(&C)"), fSpinPrintCount, QString(), copies));
    layout->addWidget(copies);

    fErrorLabel = new QLabel(this);
    fErrorLabel->setStyleSheet(QStringLiteral("color: #c00000"));
    fErrorLabel->hide();
    layout->addWidget(fErrorLabel);

    auto* buttons = new QDialogButtonBox(this);
    auto* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &TPrintDlgSX::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TPrintDlgSX::reject);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    ShowPrinterInfo();
}

void TPrintDlgSX::SetShift(int rightMM, int downMM) {
    fSpinMarginRight->setValue(rightMM);
    fSpinMarginBottom->setValue(downMM);
}

void TPrintDlgSX::SetSeatLimits(int columns, int rows) {
    const bool shown = columns != 0 || rows != 0;
    fGroupSeat->setVisible(shown);
    if (!shown) return;
    fSpinSeatX->setMaximum(std::max(1, columns));
    fSpinSeatY->setMaximum(std::max(1, rows));
}

void TPrintDlgSX::SetStartSeat(int column, int row) {
    fSpinSeatX->setValue(column);
    fSpinSeatY->setValue(row);
}

QRadioButton* TPrintDlgSX::FineButton() const {
    return qobject_cast<QRadioButton*>(fQuality->button(0));
}

void TPrintDlgSX::ShowPdfFile(const QString& file, const QString& paper) {
    fLblPrinterName->setText(QStringLiteral("PDF"));
    fLblPrinterPort->setText(QDir::toNativeSeparators(file));
    fLblPrinterPaper->setText(paper);
}

QString TPrintDlgSX::PaperText(const QPageLayout& layout) {
    const QPageSize size = layout.pageSize();
    if (!size.isValid()) return QString();
    QSizeF mm = size.size(QPageSize::Millimeter);
    if (layout.orientation() == QPageLayout::Landscape) mm.transpose();
    const auto number = [](double v) { return QString::number(qRound(v * 10) / 10.0); };
    const QString sides = QStringLiteral("%1 × %2 mm").arg(number(mm.width()), number(mm.height()));
    if (size.id() == QPageSize::Custom) return sides;
    // A driver's size may lie a fraction off the millimetre; its name says which paper it is.
    return QStringLiteral("%1（%2 × %3 mm）").arg(size.name()).arg(qRound(mm.width())).arg(qRound(mm.height()));
}

void TPrintDlgSX::ShowPrinterInfo() {
    fRadioPrintAll->setChecked(true);
    UpdatePageEdits();
    if (!fPrinter) return;
    fLblPrinterName->clear();
    fLblPrinterPaper->clear();
    fLblPrinterPort->clear();
    try {
        const int index = fPrinter->GetIndex();
        fLblPrinterName->setText(fPrinter->GetPrinterNames().value(index));
        fLblPrinterPort->setText(fPrinter->GetPort());
        fSpinPrintCount->setMaximum(std::max(1, fPrinter->MaxCopies()));
        // The paper the job prints on: the one set on the job's printer, not its default.
        if (index >= 0) fLblPrinterPaper->setText(PaperText(fPrinter->Printer().pageLayout()));
    } catch (const ERyPrinterNoPrinter&) {
        fLblPrinterName->setText(QStringLiteral("プリンタがありません"));
    } catch (const ERyPrinter&) {
        // What is known stays shown.
        if (fLblPrinterName->text().isEmpty()) fLblPrinterName->setText(QStringLiteral("プリンタの情報を読めません"));
    }
}

void TPrintDlgSX::UpdatePageEdits() {
    const bool range = fRadioPageSet->isChecked();
    fEdtPageFirst->setEnabled(range);
    fEdtPageLast->setEnabled(range);
}

void TPrintDlgSX::PrintSettingClick() {
    if (!fPrinter) return;
    QPrintDialog dialog(&fPrinter->Printer(), this);
    dialog.setWindowTitle(QStringLiteral("プリンタ設定"));
    if ((ExecDialog ? ExecDialog(dialog) : dialog.exec()) != QDialog::Accepted) return;
    if (!fPrinter->SetCurrent(fPrinter->Printer().printerName())) fPrinter->Reset();
    if (FitPaper) FitPaper();
    ShowPrinterInfo();
}

void TPrintDlgSX::accept() {
    auto refuse = [this](const QString& text, QWidget* focus) {
        fErrorLabel->setText(text);
        fErrorLabel->show();
        focus->setFocus();
    };
    bool firstOk = false, lastOk = false;
    const int first = fEdtPageFirst->text().toInt(&firstOk);
    const int last = fEdtPageLast->text().toInt(&lastOk);
    const bool all = fRadioPrintAll->isChecked();
    if (!all && (!firstOk || first < 1))
        return refuse(QStringLiteral("開始ページは1以上の数で指定してください"), fEdtPageFirst);
    if (!all && (!lastOk || last < first))
        return refuse(QStringLiteral("終了ページは開始ページ以上の数で指定してください"), fEdtPageLast);
    if (!fGroupSeat->isHidden() &&
        (fSpinSeatX->value() > fSpinSeatX->maximum() || fSpinSeatY->value() > fSpinSeatY->maximum()))
        return refuse(QStringLiteral("印刷開始シート位置が用紙の範囲外です"), fSpinSeatY);

    fPageAll = all;
    if (!all) {
        fFirstPage = first;
        fLastPage = last;
    }
    fShiftRight = fSpinMarginRight->value();
    fShiftDown = fSpinMarginBottom->value();
    fSeatX = !fGroupSeat->isHidden() ? fSpinSeatX->value() : 1;
    fSeatY = !fGroupSeat->isHidden() ? fSpinSeatY->value() : 1;
    fCopies = fSpinPrintCount->value();
    fQualityValue = std::max(0, fQuality->checkedId());
    if (fPrinter) fPrinter->Printer().setCopyCount(fCopies);
    QDialog::accept();
}

TPrintChoice TPrintDlgSX::Choice() const {
    TPrintChoice c;
    c.AllPages = fPageAll;
    c.FirstPage = fFirstPage;
    c.LastPage = fLastPage;
    c.ShiftRightMM = fShiftRight;
    c.ShiftDownMM = fShiftDown;
    c.Quality = fQualityValue;
    return c;
}
