#include "SheetEditDialog.h"

#include "DialogFrame.h"
#include "SheetLayoutEditor.h"
#include "SheetPreview.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

TSheetEditDialog::TSheetEditDialog(const TCardSheet& start, const QStringList& takenNames, QWidget* parent)
    : QDialog(parent), fTaken(takenNames) {
    setWindowTitle(QStringLiteral("用紙の追加"));
    fName = new QLineEdit(start.Name);
    fName->setObjectName("sheetName");
    fName->setPlaceholderText(QStringLiteral("例: A4 ラベル 18面"));
    fEditor = new TSheetLayoutEditor;
    fEditor->SetSheet(start);
    fPreview = new TSheetPreview;
    fPreview->setObjectName("preview");

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("名前(&N):"), fName);

    auto* buttons = TDialogFrame::OkCancel(this, QStringLiteral("追加"));

    auto* left = new QVBoxLayout;
    left->addLayout(form);
    left->addWidget(fEditor);
    left->addStretch();
    TDialogFrame::Arrange(this, left, fPreview, buttons);

    setTabOrder(fName, fEditor->FirstField());
    fEditor->OnChanged = [this] { fPreview->SetSheet(fEditor->Sheet()); };
    fPreview->SetSheet(fEditor->Sheet());
    fName->setFocus();
}

TCardSheet TSheetEditDialog::Sheet() const {
    TCardSheet s = fEditor->Sheet();
    s.Name = fName->text().trimmed();
    s.UserAdded = true;
    return s;
}

void TSheetEditDialog::done(int result) {
    if (result == QDialog::Accepted) {
        const TCardSheet s = Sheet();
        QString problem = s.Problem();
        if (problem.isEmpty()) problem = s.DocumentProblem();
        if (problem.isEmpty() && fTaken.contains(s.Name)) problem = QStringLiteral("同じ名前の用紙がすでにあります。");
        if (!problem.isEmpty()) {
            QMessageBox::warning(this, windowTitle(), problem);
            (s.Name.isEmpty() || fTaken.contains(s.Name) ? fName : fEditor->FirstField())->setFocus();
            return;
        }
    }
    QDialog::done(result);
}
