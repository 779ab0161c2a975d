#include "platform/StreamReader.h"

#include "platform/Cp932.h"
#include "platform/ReadBudget.h"

#include <QIODevice>
#include <QtEndian>
#include <algorithm>
#include <cstring>

namespace {

// A file is read in pieces of this size at least, so small fields cost no system call each.
constexpr qint64 kFileChunk = 256 * 1024;

} // namespace

TStreamReader::TStreamReader(QIODevice* device, qint64 size) : fDevice(device), fDeviceSize(std::max<qint64>(0, size)) {
    fOk = device && device->isReadable() && !device->isSequential() && device->seek(0);
}

qint64 TStreamReader::ReadDevice(char* dest, qint64 count) {
    qint64 done = 0;
    while (done < count) {
        const qint64 got = fDevice->read(dest + done, count - done);
        if (got <= 0) break;
        done += got;
    }
    return done;
}

bool TStreamReader::Fill(qsizetype count) {
    const qsizetype held = fBytes.size() - fPos;
    if (held >= count) return true;
    if (!fDevice) return false;
    // The part passed is dropped; the rest is topped up by a chunk or what is asked, within the size.
    fBytes.remove(0, fPos);
    fBase += fPos;
    fPos = 0;
    const qint64 want = std::min<qint64>(std::max<qint64>(count - held, kFileChunk), Remaining() - held);
    fBytes.resize(held + want);
    const qint64 got = ReadDevice(fBytes.data() + held, want);
    fBytes.resize(held + got);
    return fBytes.size() >= count;
}

bool TStreamReader::Take(void* dest, qsizetype count) {
    if (!fOk || count < 0 || count > Remaining() || !Fill(count)) {
        fOk = false;
        return false;
    }
    memcpy(dest, fBytes.constData() + fPos, static_cast<size_t>(count));
    fPos += count;
    return true;
}

bool TStreamReader::Peek(void* dest, qsizetype count) {
    if (!fOk || count < 0 || count > Remaining()) return false;
    if (!Fill(count)) {
        fOk = false;
        return false;
    }
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
    const qsizetype held = fBytes.size() - fPos;
    if (!fDevice || count <= held) {
        out = QByteArray(fBytes.constData() + fPos, count);
        fPos += count;
        return true;
    }
    // A large block goes straight from the file into its own buffer, not through the window.
    out.resize(count);
    memcpy(out.data(), fBytes.constData() + fPos, static_cast<size_t>(held));
    const qint64 got = ReadDevice(out.data() + held, count - held);
    fBase += fBytes.size() + got;
    fBytes.clear();
    fPos = 0;
    if (got != count - held) {
        out.clear();
        fOk = false;
        return false;
    }
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
    const qsizetype held = fBytes.size() - fPos;
    if (!fDevice || count <= held) {
        fPos += count;
        return true;
    }
    const qint64 target = Position() + count;
    fBytes.clear();
    fPos = 0;
    fBase = target;
    if (!fDevice->seek(target)) fOk = false;
    return fOk;
}

bool TStreamReader::Refuse(const QString& reason) {
    fOk = false;
    if (fBudget) fBudget->Refuse(reason);
    return false;
}
