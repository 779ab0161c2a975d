#include "app/dialogs/SaveTempLateDlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

TSaveTempLateDlg::TSaveTempLateDlg(QWidget* parent) : QDialog(parent), fEdit(new QLineEdit(this)) {
    setWindowTitle(QStringLiteral("ダイアログ"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("保存するファイル名を入力して下さい"), this));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("ファイル名"), fEdit);
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &TSaveTempLateDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TSaveTempLateDlg::reject);
    fEdit->setMinimumWidth(260);
    fEdit->setFocus();
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString TSaveTempLateDlg::FileName() const {
    return fEdit->text();
}

void TSaveTempLateDlg::SetFileName(const QString& name) {
    fEdit->setText(name);
    fEdit->selectAll();
}

QString TSaveTempLateDlg::NameProblem(const QString& name) {
    if (name.isEmpty()) return QStringLiteral("ファイル名を入力して下さい");
    const QString bad = QStringLiteral("ファイル名に次の文字は使えません：\\ / : * ? \" < > |");
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || c.category() == QChar::Other_Control)
            return QStringLiteral("ファイル名に制御文字は使えません");
        if (QStringLiteral("\\/:*?\"<>|").contains(c)) return bad;
    }
    if (name.trimmed().isEmpty() || name == QLatin1String(".") || name.contains(QLatin1String("..")))
        return QStringLiteral("このファイル名は使えません");
    if (name.startsWith(QLatin1Char(' ')) || name.endsWith(QLatin1Char(' ')) || name.endsWith(QLatin1Char('.')))
        return QStringLiteral("ファイル名の先頭と末尾に空白や「.」は使えません");
    // Room for ".tda" within the 255 bytes a file name may take.
    if ((name + QStringLiteral(".tda")).toUtf8().size() > 255) return QStringLiteral("ファイル名が長すぎます");
    return QString();
}

void TSaveTempLateDlg::accept() {
    if (OnAccept && !OnAccept(FileName())) {
        fEdit->setFocus();
        return;
    }
    QDialog::accept();
}
