#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

class QIODevice;
class TReadBudget;

// Little-endian reader over bytes that came from outside (a file, a record, the clipboard).
// Every length is checked against the bytes actually left; the first failure makes the
// reader fail for good, so a caller can read a whole record and test Ok() once.
class TStreamReader {
public:
    TStreamReader() = default;
    explicit TStreamReader(QByteArray bytes) : fBytes(std::move(bytes)) {}
    // Reads an open file as its bytes are asked for, never past size: what follows the last byte
    // the format holds is never read, and a file cut short meanwhile fails the read instead of
    // faulting the way a mapping would. The device must outlive the reader; copies must not be read.
    TStreamReader(QIODevice* device, qint64 size);

    qsizetype Size() const { return fDevice ? fDeviceSize : fBytes.size(); }
    qsizetype Position() const { return fBase + fPos; }
    qsizetype Remaining() const { return Size() - Position(); }
    bool AtEnd() const { return Remaining() <= 0; }
    bool Ok() const { return fOk; }
    // The bytes read over; for a file, only the part read in and not yet passed.
    const QByteArray& Bytes() const { return fBytes; }

    bool ReadInt32(int32_t& value);
    bool ReadInt64(int64_t& value);
    // Booleans and enumerations are 32-bit integers of which only the low byte counts.
    bool ReadBool(bool& value);
    bool ReadEnum(uint8_t& value);
    // Colours are stored sign-extended to 64 bits; the colour is the low 32 bits.
    bool ReadColor(int32_t& value);
    bool ReadDouble(double& value);
    // 32-bit byte count, then that many CP932 bytes.
    bool ReadString(QString& value);
    bool ReadRawString(QByteArray& value);
    bool ReadBytes(qsizetype count, QByteArray& out);
    // Length-checked int64 count followed by that many bytes.
    bool ReadBlock64(QByteArray& out);
    bool Skip(qsizetype count);
    bool Peek(void* dest, qsizetype count);

    // Marks the reader failed, for callers that reject a value they read.
    void Fail() { fOk = false; }
    // Fails the reader for a value outside the document limits, keeping the reason; always false.
    bool Refuse(const QString& reason);

    // The load this reader belongs to; none when bytes are read on their own (no picture budget).
    void SetBudget(TReadBudget* budget) { fBudget = budget; }
    TReadBudget* Budget() const { return fBudget; }

private:
    bool Take(void* dest, qsizetype count);
    // Makes count bytes from the position available in fBytes (count is within Remaining()).
    bool Fill(qsizetype count);
    // Reads up to count bytes from the device into dest; the number read.
    qint64 ReadDevice(char* dest, qint64 count);

    QByteArray fBytes;
    qsizetype fPos = 0;
    QIODevice* fDevice = nullptr;
    qint64 fDeviceSize = 0;
    qint64 fBase = 0; // where fBytes starts in the file
    bool fOk = true;
    TReadBudget* fBudget = nullptr;
};
