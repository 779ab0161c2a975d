#include "PortalDialog.h"

#include "packs/common/WideDigitBox.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

TPortalDialog::TPortalDialog(int32_t rows, const QString& dataName, const QStringList& fieldFiles, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("ポータルの設定"));

    fRows = new TWideDigitBox<QSpinBox>;
    fRows->setObjectName("rows");
    fRows->setRange(1, kMaxRows);
    fRows->setSuffix(QStringLiteral(" 行"));
    // A stored count below 1 would divide the portal's height by nothing.
    fRows->setValue(std::clamp(rows, 1, kMaxRows));

    fDataName = new QComboBox;
    fDataName->setObjectName("dataName");
    fDataName->addItem(QStringLiteral("（なし）"), QString());
    for (const QString& name : fieldFiles)
        if (!name.isEmpty()) fDataName->addItem(name, name);
    int index = dataName.isEmpty() ? 0 : fDataName->findData(dataName);
    if (index < 0) {
        // A definition file that has gone stays the portal's choice until another is made.
        fDataName->addItem(QStringLiteral("%1（見つかりません）").arg(dataName), dataName);
        index = fDataName->count() - 1;
    }
    fDataName->setCurrentIndex(index);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("行数(&R):"), fRows);
    form->addRow(QStringLiteral("明細データ(&D):"), fDataName);
    auto* hint = new QLabel(QStringLiteral("明細データの各行が、ポータルの1行目に置いた項目で行数分印刷されます。"));
    hint->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(hint);
    layout->addWidget(buttons);
    fRows->setFocus();
    fRows->selectAll();
}

int32_t TPortalDialog::Rows() const {
    return fRows->value();
}

QString TPortalDialog::DataName() const {
    return fDataName->currentData().toString();
}
