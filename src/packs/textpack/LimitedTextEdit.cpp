#include "LimitedTextEdit.h"

#include "platform/Cp932.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextCursor>

namespace {

// Line ends of every kind become the editor's "\n".
QString EditorLines(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

} // namespace

TLimitedTextEdit::TLimitedTextEdit(int limit, QWidget* parent) : QPlainTextEdit(parent), fLimit(std::max(0, limit)) {
    // Tab moves on to the next control, so the dialog stays usable from the keyboard.
    setTabChangesFocus(true);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
}

int TLimitedTextEdit::BytesOf(const QString& editorText) {
    // Each "\n" is saved as CR LF: one byte more than its own.
    return int(TCp932::Encode(editorText).size() + editorText.count(QLatin1Char('\n')));
}

QString TLimitedTextEdit::Text() const {
    QString text = toPlainText();
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text;
}

void TLimitedTextEdit::SetText(const QString& text) {
    setPlainText(EditorLines(text));
}

QString TLimitedTextEdit::FitInsert(const QString& text) const {
    const QString selected = EditorLines(textCursor().selectedText());
    int room = fLimit - (UsedBytes() - BytesOf(selected));
    qsizetype end = 0;
    while (end < text.size()) {
        const qsizetype len = (text[end].isHighSurrogate() && end + 1 < text.size()) ? 2 : 1;
        const int cost = BytesOf(text.mid(end, len));
        if (cost > room) break;
        room -= cost;
        end += len;
    }
    return text.left(end);
}

void TLimitedTextEdit::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const bool command = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (enter && (event->modifiers() & Qt::ControlModifier)) {
        // Ctrl+Enter is the dialog's: it confirms.
        event->ignore();
        return;
    }
    QString typed = enter ? QStringLiteral("\n") : event->text();
    if (!command && !typed.isEmpty() && (enter || typed.front().isPrint())) {
        if (FitInsert(typed) != typed) {
            QApplication::beep();
            event->accept();
            return;
        }
    }
    QPlainTextEdit::keyPressEvent(event);
}

void TLimitedTextEdit::inputMethodEvent(QInputMethodEvent* event) {
    const QString commit = EditorLines(event->commitString());
    const QString fitted = FitInsert(commit);
    if (fitted == event->commitString()) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    if (fitted != commit) QApplication::beep();
    QInputMethodEvent cut(event->preeditString(), event->attributes());
    cut.setCommitString(fitted, event->replacementStart(), event->replacementLength());
    QPlainTextEdit::inputMethodEvent(&cut);
    event->accept();
}

void TLimitedTextEdit::insertFromMimeData(const QMimeData* source) {
    if (!source || !source->hasText()) return;
    const QString text = EditorLines(source->text());
    const QString fitted = FitInsert(text);
    if (fitted != text) QApplication::beep();
    if (!fitted.isEmpty()) insertPlainText(fitted);
}
