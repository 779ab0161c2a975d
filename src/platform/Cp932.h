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

    // The length of the longest start of the bytes, at most maxBytes, that does not end inside
    // a double-byte character.
    static qsizetype FitLength(const char* data, qsizetype size, qsizetype maxBytes);
    // Encodes the text into a caller's buffer of bufferSize bytes, zero-terminated, cut at a
    // character boundary when it does not fit. Returns the bytes written before the terminator.
    static qsizetype ToBuffer(const QString& text, char* buffer, qsizetype bufferSize);
    // The text of a zero-terminated buffer. One without a terminator gives at most bufferSize - 1
    // bytes, cut at a whole character, as if its last byte had been the terminator.
    static QString FromBuffer(const char* buffer, qsizetype bufferSize);
};
