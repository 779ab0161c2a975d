#pragma once

#include <QDialog>

class QDialogButtonBox;
class QLabel;
class TLimitedTextEdit;

// Asks for the text of a text object: several lines, at most limit bytes once saved, the count
// shown as the user types.
class TStringEditDialog : public QDialog {
    Q_OBJECT
public:
    TStringEditDialog(const QString& text, int limit, QWidget* parent = nullptr);

    // The text with CR LF line ends.
    QString Text() const;
    TLimitedTextEdit* Editor() const { return fEdit; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void UpdateCount();

    TLimitedTextEdit* fEdit;
    QLabel* fCount;
    QLabel* fWarning;
    QDialogButtonBox* fButtons;
};
