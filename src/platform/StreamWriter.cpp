#include "platform/StreamWriter.h"

#include "platform/Cp932.h"

#include <QtEndian>
#include <cstring>

void TStreamWriter::WriteInt32(int32_t value) {
    uchar raw[4];
    qToLittleEndian<qint32>(value, raw);
    fBytes.append(reinterpret_cast<const char*>(raw), 4);
}

void TStreamWriter::WriteInt64(int64_t value) {
    uchar raw[8];
    qToLittleEndian<qint64>(value, raw);
    fBytes.append(reinterpret_cast<const char*>(raw), 8);
}

void TStreamWriter::WriteDouble(double value) {
    int64_t raw;
    memcpy(&raw, &value, 8);
    WriteInt64(raw);
}

void TStreamWriter::WriteRawString(const QByteArray& value) {
    WriteInt32(static_cast<int32_t>(value.size()));
    fBytes.append(value);
}

void TStreamWriter::WriteString(const QString& value) {
    WriteRawString(TCp932::Encode(value));
}

void TStreamWriter::WriteBlock64(const QByteArray& bytes) {
    WriteInt64(bytes.size());
    fBytes.append(bytes);
}
