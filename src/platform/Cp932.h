#pragma once

#include <QByteArray>
#include <QString>

// Every text in files, records and dialog calls is Microsoft Shift-JIS (CP932).
// SHIFT_JIS proper would turn 0x5C into a yen sign and reject ① and ～, so CP932 it is.
class TCp932 {
public:
    // Undecodable bytes become U+FFFD; decoding never fails.
    static QString Decode(const char* data, qsizetype size);
    static QString Decode(const QByteArray& bytes) { return Decode(bytes.constData(), bytes.size()); }
    // Characters CP932 lacks become '?'.
    static QByteArray Encode(const QString& text);
    // True when every character of the text has a CP932 form.
    static bool CanEncode(const QString& text);
};
