#include "merge/RecordText.h"

#include "platform/Cp932.h"

#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <iconv.h>

namespace {

const unsigned char kBom[3] = {0xEF, 0xBB, 0xBF};

bool HasBom(const QByteArray& bytes) {
    return bytes.size() >= 3 && static_cast<unsigned char>(bytes[0]) == kBom[0] &&
           static_cast<unsigned char>(bytes[1]) == kBom[1] && static_cast<unsigned char>(bytes[2]) == kBom[2];
}

// Where a piece of a file may end without cutting a character in two: after a byte below 0x40,
// which is never part of a double-byte CP932 character nor of a UTF-8 sequence.
// Bytes before from were looked at already.
qsizetype SafeEnd(const QByteArray& bytes, qsizetype from) {
    for (qsizetype i = bytes.size(); i > from; --i)
        if (static_cast<unsigned char>(bytes[i - 1]) < 0x40) return i;
    return 0;
}

constexpr qint64 kPieceBytes = 1 << 20;

// TCp932::Decode straight onto the end of the text, which has the room reserved.
void AppendCp932(QString& text, iconv_t cd, const char* data, qsizetype size) {
    qsizetype start = text.size();
    text.resize(start + size);
    char* in = const_cast<char*>(data);
    size_t inLeft = size_t(size);
    char* out = reinterpret_cast<char*>(text.data() + start);
    size_t outLeft = size_t(size) * 2;
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &out, &outLeft) != size_t(-1)) break;
        if ((errno != EILSEQ && errno != EINVAL) || outLeft < 2) break;
        // A broken or truncated lead byte: mark it and go on with the next byte.
        const char16_t replacement = 0xFFFD;
        memcpy(out, &replacement, 2);
        out += 2;
        outLeft -= 2;
        ++in;
        --inLeft;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    text.truncate((out - reinterpret_cast<char*>(text.data())) / 2);
}

// Opens a plain file of at most kMaxFileBytes for reading; false with the reason otherwise.
bool OpenRecordFile(QFile& file, QString& error) {
    const QString path = file.fileName();
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        error = QStringLiteral("「%1」は通常のファイルではありません").arg(path);
        return false;
    }
    if (info.size() > TRecordText::kMaxFileBytes) {
        error = QStringLiteral("「%1」は大きすぎます（%2 バイト）").arg(path).arg(info.size());
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("「%1」を開けません（%2）").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace

bool TRecordText::IsValidUtf8(const char* data, qsizetype size, bool& hasNonAscii) {
    hasNonAscii = false;
    const auto* s = reinterpret_cast<const unsigned char*>(data);
    qsizetype i = 0;
    while (i < size) {
        // Runs of ASCII are the common case; skip them eight bytes at a time.
        while (i + 8 <= size) {
            uint64_t word;
            memcpy(&word, s + i, 8);
            if (word & 0x8080808080808080ull) break;
            i += 8;
        }
        if (i >= size) break;
        const unsigned char c = s[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        hasNonAscii = true;
        int follow;
        uint32_t cp;
        if (c >= 0xC2 && c <= 0xDF) {
            follow = 1;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            follow = 2;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            follow = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        // A sequence cut off by the end of the file is not UTF-8.
        if (i + follow >= size) return false;
        for (int k = 1; k <= follow; ++k) {
            const unsigned char t = s[i + k];
            if ((t & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (t & 0x3F);
        }
        if ((follow == 2 && cp < 0x800) || (follow == 3 && cp < 0x10000) || cp > 0x10FFFF ||
            (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += follow + 1;
    }
    return true;
}

TRecordText::TEncoding TRecordText::Detect(const QByteArray& bytes) {
    if (HasBom(bytes)) return TEncoding::Utf8;
    bool nonAscii = false;
    if (IsValidUtf8(bytes.constData(), bytes.size(), nonAscii)) return nonAscii ? TEncoding::Utf8 : TEncoding::Ascii;
    return TEncoding::Cp932;
}

QString TRecordText::Decode(const QByteArray& bytes) {
    switch (Detect(bytes)) {
    case TEncoding::Ascii: return QString::fromLatin1(bytes);
    case TEncoding::Utf8:
        if (HasBom(bytes)) return QString::fromUtf8(bytes.constData() + 3, bytes.size() - 3);
        return QString::fromUtf8(bytes);
    case TEncoding::Cp932: break;
    }
    return TCp932::Decode(bytes);
}

// The file is decoded as UTF-8 as long as it is valid UTF-8; a piece that is not sends the
// reader back to the start to decode it all as CP932, which most files show in their first piece.
bool TRecordText::ReadText(const QString& path, QString& text, QString& error) {
    text.clear();
    QFile file(path);
    if (!OpenRecordFile(file, error)) return false;
    // No encoding gives more UTF-16 units than bytes; pages never written are never taken.
    text.reserve(qsizetype(file.size()));
    TEncoding encoding = TEncoding::Ascii;
    bool bom = false;
    qint64 total = 0;
    QByteArray pending;
    iconv_t cd = iconv_t(-1);
    const auto closeIconv = qScopeGuard([&] {
        if (cd != iconv_t(-1)) iconv_close(cd);
    });
    for (bool atEnd = false; !atEnd;) {
        const QByteArray more = file.read(kPieceBytes);
        if (file.error() != QFileDevice::NoError) {
            text.clear();
            error = QStringLiteral("「%1」を読み込めません（%2）").arg(path, file.errorString());
            return false;
        }
        atEnd = more.isEmpty();
        total += more.size();
        if (total > kMaxFileBytes) {
            text.clear();
            error = QStringLiteral("「%1」は読み込み中に大きくなりすぎました").arg(path);
            return false;
        }
        if (pending.isEmpty())
            pending = more;
        else
            pending += more;
        if (total == pending.size() && (total >= 3 || atEnd)) {
            bom = HasBom(pending);
            if (bom) {
                pending.remove(0, 3);
                encoding = TEncoding::Utf8;
            }
        }
        const qsizetype end =
            atEnd ? pending.size() : SafeEnd(pending, qMax<qsizetype>(0, pending.size() - more.size()));
        if (end == 0) continue;
        const char* data = pending.constData();
        bool nonAscii = false;
        if (encoding != TEncoding::Cp932 && !bom && !IsValidUtf8(data, end, nonAscii)) {
            encoding = TEncoding::Cp932;
            text.truncate(0);
            pending.clear();
            total = 0;
            atEnd = false;
            if (!file.seek(0)) {
                error = QStringLiteral("「%1」を読み込めません（%2）").arg(path, file.errorString());
                return false;
            }
            continue;
        }
        if (nonAscii) encoding = TEncoding::Utf8;
        switch (encoding) {
        case TEncoding::Ascii: text.append(QLatin1String(data, end)); break;
        case TEncoding::Utf8: text.append(QString::fromUtf8(data, end)); break;
        case TEncoding::Cp932:
            if (cd == iconv_t(-1)) cd = iconv_open("UTF-16LE", "CP932");
            if (cd == iconv_t(-1))
                text.append(TCp932::Decode(data, end));
            else
                AppendCp932(text, cd, data, end);
            break;
        }
        pending.remove(0, end);
    }
    return true;
}

bool TRecordText::ReadFile(const QString& path, QByteArray& bytes, QString& error) {
    bytes.clear();
    QFile file(path);
    if (!OpenRecordFile(file, error)) return false;
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        bytes.clear();
        error = QStringLiteral("「%1」を読み込めません（%2）").arg(path, file.errorString());
        return false;
    }
    if (bytes.size() > kMaxFileBytes) {
        bytes.clear();
        error = QStringLiteral("「%1」は読み込み中に大きくなりすぎました").arg(path);
        return false;
    }
    return true;
}
