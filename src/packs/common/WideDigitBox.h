#pragma once

// Shared by the dialog packs: number boxes that take what a Japanese input method types.

#include <QString>
#include <QValidator>
#include <algorithm>

// A spin box that also takes full-width digits, point and minus, as an input method in
// full-width mode types them; they become their plain forms as they arrive.
template <class TBase> class TWideDigitBox : public TBase {
public:
    using TBase::TBase;

    QValidator::State validate(QString& input, int& pos) const override {
        const QString narrow = Narrow(input);
        if (narrow != input) {
            input = narrow;
            pos = std::min(pos, int(input.size()));
        }
        return TBase::validate(input, pos);
    }

    static QString Narrow(QString text) {
        for (QChar& c : text) {
            const char16_t u = c.unicode();
            if (u >= 0xFF10 && u <= 0xFF19)
                c = QChar(u'0' + (u - 0xFF10));
            else if (u == 0xFF0E)
                c = QChar(u'.');
            else if (u == 0xFF0D || u == 0x2212)
                c = QChar(u'-');
        }
        return text;
    }
};
