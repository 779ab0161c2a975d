#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

// Little-endian writer into memory; files are written from the finished buffer in one go.
class TStreamWriter {
public:
    void WriteInt32(int32_t value);
    void WriteInt64(int64_t value);
    void WriteBool(bool value) { WriteInt32(value ? 1 : 0); }
    void WriteEnum(int value) { WriteInt32(value); }
    // The 32-bit colour sign-extended to 64 bits.
    void WriteColor(int32_t value) { WriteInt64(static_cast<int64_t>(value)); }
    void WriteDouble(double value);
    // CP932 bytes with a 32-bit byte count in front.
    void WriteString(const QString& value);
    void WriteRawString(const QByteArray& value);
    void WriteBytes(const QByteArray& bytes) { fBytes.append(bytes); }
    void WriteBytes(const char* data, qsizetype size) { fBytes.append(data, size); }
    // int64 byte count, then the bytes.
    void WriteBlock64(const QByteArray& bytes);

    const QByteArray& Bytes() const { return fBytes; }
    qsizetype Size() const { return fBytes.size(); }
    void Clear() { fBytes.clear(); }

private:
    QByteArray fBytes;
};
