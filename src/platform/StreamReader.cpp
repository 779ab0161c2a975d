#include "platform/StreamReader.h"

#include "platform/Cp932.h"
#include "platform/ReadBudget.h"

#include <QtEndian>
#include <cstring>

bool TStreamReader::Take(void* dest, qsizetype count) {
    if (!fOk || count < 0 || count > Remaining()) {
        fOk = false;
        return false;
    }
    memcpy(dest, fBytes.constData() + fPos, static_cast<size_t>(count));
    fPos += count;
    return true;
}

bool TStreamReader::Peek(void* dest, qsizetype count) const {
    if (!fOk || count < 0 || count > Remaining()) return false;
    memcpy(dest, fBytes.constData() + fPos, static_cast<size_t>(count));
    return true;
}

bool TStreamReader::ReadInt32(int32_t& value) {
    uchar raw[4];
    if (!Take(raw, 4)) return false;
    value = qFromLittleEndian<qint32>(raw);
    return true;
}

bool TStreamReader::ReadInt64(int64_t& value) {
    uchar raw[8];
    if (!Take(raw, 8)) return false;
    value = qFromLittleEndian<qint64>(raw);
    return true;
}

bool TStreamReader::ReadBool(bool& value) {
    int32_t raw;
    if (!ReadInt32(raw)) return false;
    value = (raw & 0xFF) != 0;
    return true;
}

bool TStreamReader::ReadEnum(uint8_t& value) {
    int32_t raw;
    if (!ReadInt32(raw)) return false;
    value = static_cast<uint8_t>(raw & 0xFF);
    return true;
}

bool TStreamReader::ReadColor(int32_t& value) {
    int64_t raw;
    if (!ReadInt64(raw)) return false;
    value = static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(raw) & 0xFFFFFFFFu));
    return true;
}

bool TStreamReader::ReadDouble(double& value) {
    int64_t raw;
    if (!ReadInt64(raw)) return false;
    memcpy(&value, &raw, 8);
    return true;
}

bool TStreamReader::ReadRawString(QByteArray& value) {
    int32_t count;
    if (!ReadInt32(count)) return false;
    return ReadBytes(count, value);
}

bool TStreamReader::ReadString(QString& value) {
    QByteArray raw;
    if (!ReadRawString(raw)) return false;
    value = TCp932::Decode(raw);
    return true;
}

bool TStreamReader::ReadBytes(qsizetype count, QByteArray& out) {
    if (!fOk || count < 0 || count > Remaining()) {
        fOk = false;
        return false;
    }
    // A copy, never a view: the bytes may be a mapped file that goes away after the read.
    out = QByteArray(fBytes.constData() + fPos, count);
    fPos += count;
    return true;
}

bool TStreamReader::ReadBlock64(QByteArray& out) {
    int64_t count;
    if (!ReadInt64(count)) return false;
    if (count < 0 || count > Remaining()) {
        fOk = false;
        return false;
    }
    return ReadBytes(static_cast<qsizetype>(count), out);
}

bool TStreamReader::Skip(qsizetype count) {
    if (!fOk || count < 0 || count > Remaining()) {
        fOk = false;
        return false;
    }
    fPos += count;
    return true;
}

bool TStreamReader::Refuse(const QString& reason) {
    fOk = false;
    if (fBudget) fBudget->Refuse(reason);
    return false;
}
