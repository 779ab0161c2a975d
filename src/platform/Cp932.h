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
    // The longest head of CP932 bytes, at most limit long, that ends between two characters:
    // a buffer filled with it never holds half of a double-byte character.
    static qsizetype FitBytes(const QByteArray& bytes, qsizetype limit);
    static bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
};
