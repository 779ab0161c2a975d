#include "NumberSpinBox.h"

TNumberSpinBox::TNumberSpinBox(int minimum, int maximum, QWidget* parent) : QSpinBox(parent) {
    setRange(minimum, maximum);
    setAccelerated(true);
}

QString TNumberSpinBox::Narrow(const QString& text) {
    QString out = text;
    for (QChar& c : out) {
        const char16_t u = c.unicode();
        if (u >= 0xFF10 && u <= 0xFF19)
            c = QChar(u'0' + (u - 0xFF10));
        else if (u == 0xFF0D || u == 0x2212)
            c = QChar(u'-');
        else if (u == 0x3000)
            c = QChar(u' ');
    }
    return out;
}

QValidator::State TNumberSpinBox::validate(QString& input, int& pos) const {
    input = Narrow(input);
    return QSpinBox::validate(input, pos);
}

int TNumberSpinBox::valueFromText(const QString& text) const {
    return QSpinBox::valueFromText(Narrow(text));
}
