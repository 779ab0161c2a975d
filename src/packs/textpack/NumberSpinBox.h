#pragma once

#include <QSpinBox>

// A spin box that also takes the full-width digits a Japanese input method types.
class TNumberSpinBox : public QSpinBox {
    Q_OBJECT
public:
    TNumberSpinBox(int minimum, int maximum, QWidget* parent = nullptr);

    // Full-width digits, minus and spaces become their ASCII forms.
    static QString Narrow(const QString& text);

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    int valueFromText(const QString& text) const override;
};
