#include "app/dialogs/PrintProgressDlg.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

TPrintProgressDlg::TPrintProgressDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setWindowTitle(QStringLiteral("転送中"));
    setWindowModality(parent ? Qt::WindowModal : Qt::ApplicationModal);
    fLabelSX1 = new QLabel(QStringLiteral("ページを作成中"), this);
    fLabelSX1->setAlignment(Qt::AlignCenter);
    fProgressBar1 = new QProgressBar(this);
    fProgressBar1->setTextVisible(false);
    fCancelBtn = new QPushButton(QStringLiteral("キャンセル"), this);
    fCancelBtn->setAccessibleName(QStringLiteral("キャンセル"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fLabelSX1);
    layout->addWidget(fProgressBar1);
    layout->addWidget(fCancelBtn, 0, Qt::AlignHCenter);
    setMinimumWidth(320);
    connect(fCancelBtn, &QPushButton::clicked, this, &TPrintProgressDlg::CancelBtnClick);
}

void TPrintProgressDlg::Start(int maximum) {
    fProgressBar1->setRange(0, std::max(1, maximum));
    fProgressBar1->setValue(0);
    if (!isVisible()) show();
    raise();
    QApplication::processEvents();
}

bool TPrintProgressDlg::Step() {
    if (fProgressBar1->value() < fProgressBar1->maximum()) fProgressBar1->setValue(fProgressBar1->value() + 1);
    // The window stays drawn and the button clickable; the modality keeps the document still.
    QApplication::processEvents();
    return !fCancelFlg;
}

void TPrintProgressDlg::reject() {}

void TPrintProgressDlg::CancelBtnClick() {
    fCancelFlg = true;
    fLabelSX1->setText(QStringLiteral("取り消し中..."));
}
