#pragma once

#include <QPlainTextEdit>

// A multi-line editor whose text, saved as CP932 with CR LF line ends, never grows past a byte
// limit: typing, pasting, dropping and input-method text are cut to what still fits, always
// between whole characters.
class TLimitedTextEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    TLimitedTextEdit(int limit, QWidget* parent = nullptr);

    int Limit() const { return fLimit; }
    // Bytes the text takes when saved.
    int UsedBytes() const { return BytesOf(toPlainText()); }
    // The text with CR LF line ends, and the same set from such a text.
    QString Text() const;
    void SetText(const QString& text);

    static int BytesOf(const QString& editorText);
    // The longest head of text that still fits in place of the selection.
    QString FitInsert(const QString& text) const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    int fLimit;
};
