#include "StringEditDialog.h"

#include "DialogParts.h"
#include "LimitedTextEdit.h"
#include "platform/Cp932.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QKeyEvent>
#include <QVBoxLayout>

TStringEditDialog::TStringEditDialog(const QString& text, int limit, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("文字の入力"));
    fEdit = new TLimitedTextEdit(limit, this);
    fEdit->SetText(text);
    fEdit->setObjectName(QStringLiteral("text"));
    fEdit->setMinimumSize(fEdit->fontMetrics().horizontalAdvance(QString(28, QChar(0x3042))),
                          fEdit->fontMetrics().lineSpacing() * 10);
    auto* caption = new QLabel(QStringLiteral("文字(&T):"), this);
    caption->setBuddy(fEdit);
    fCount = new QLabel(this);
    fCount->setObjectName(QStringLiteral("count"));
    fWarning = new QLabel(this);
    fWarning->setObjectName(QStringLiteral("warning"));
    fWarning->setWordWrap(true);
    fWarning->setStyleSheet(QStringLiteral("color: #b00000"));
    auto* hint = new QLabel(QStringLiteral("Enter で改行、Ctrl+Enter で確定します。"), this);
    hint->setEnabled(false);

    fButtons = TDialogParts::OkCancel(this);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(fCount);
    bottom->addStretch();
    bottom->addWidget(hint);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption);
    layout->addWidget(fEdit, 1);
    layout->addLayout(bottom);
    layout->addWidget(fWarning);
    layout->addWidget(fButtons);

    connect(fEdit, &QPlainTextEdit::textChanged, this, &TStringEditDialog::UpdateCount);
    UpdateCount();
    fEdit->moveCursor(QTextCursor::End);
    fEdit->setFocus();
}

void TStringEditDialog::keyPressEvent(QKeyEvent* event) {
    // Enter belongs to the text; Ctrl+Enter, passed on by the editor, confirms.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & Qt::ControlModifier)) {
        if (fButtons->button(QDialogButtonBox::Ok)->isEnabled()) accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

QString TStringEditDialog::Text() const {
    return fEdit->Text();
}

void TStringEditDialog::UpdateCount() {
    const int used = fEdit->UsedBytes();
    const bool over = used > fEdit->Limit();
    fCount->setText(QStringLiteral("%1 / %2 バイト").arg(used).arg(fEdit->Limit()));
    fCount->setStyleSheet(over ? QStringLiteral("color: #b00000; font-weight: bold") : QString());
    QStringList lost;
    const QString text = fEdit->toPlainText();
    // Only when the saved bytes hold more '?' than the text is any character lost; then find which.
    const bool losing = TCp932::Encode(text).count('?') > text.count(QLatin1Char('?'));
    for (qsizetype i = 0; losing && i < text.size() && lost.size() < 5; ++i) {
        if (text[i].unicode() < 0x80) continue;
        const QString one = text.mid(i, text[i].isHighSurrogate() ? 2 : 1);
        if (!TCp932::CanEncode(one) && !lost.contains(one)) lost << one;
        i += one.size() - 1;
    }
    QStringList warnings;
    // A text that came in longer than the limit is not cut behind the user's back.
    if (over)
        warnings << QStringLiteral("文字が多すぎます。%1 バイト以内になるまで減らしてください。").arg(fEdit->Limit());
    if (!lost.isEmpty())
        warnings << QStringLiteral("%1 は使えない文字のため「?」になります。").arg(lost.join(QStringLiteral("、")));
    fWarning->setText(warnings.join(QLatin1Char('\n')));
    fWarning->setVisible(!warnings.isEmpty());
    fButtons->button(QDialogButtonBox::Ok)->setEnabled(!over);
}
