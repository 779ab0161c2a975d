#include "platform/Cp932.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iconv.h>

namespace {

// One converter per direction and thread; iconv_open is far too slow to call per string.
class TIconv {
public:
    TIconv(const char* to, const char* from) : fHandle(iconv_open(to, from)) {}
    ~TIconv() {
        if (fHandle != reinterpret_cast<iconv_t>(-1)) iconv_close(fHandle);
    }
    TIconv(const TIconv&) = delete;
    TIconv& operator=(const TIconv&) = delete;
    iconv_t Get() {
        iconv(fHandle, nullptr, nullptr, nullptr, nullptr);
        return fHandle;
    }
    bool Valid() const { return fHandle != reinterpret_cast<iconv_t>(-1); }

private:
    iconv_t fHandle;
};

bool IsAscii(const char* data, qsizetype size) {
    for (qsizetype i = 0; i < size; ++i)
        if (static_cast<unsigned char>(data[i]) >= 0x80) return false;
    return true;
}

QString DecodeSlow(const char* data, qsizetype size) {
    thread_local TIconv conv("UTF-16LE", "CP932");
    QString out;
    if (!conv.Valid()) return QString::fromLatin1(data, size);
    out.resize(size); // CP932 never yields more UTF-16 units than bytes
    iconv_t cd = conv.Get();
    char* in = const_cast<char*>(data);
    size_t inLeft = static_cast<size_t>(size);
    char* outPtr = reinterpret_cast<char*>(out.data());
    size_t outLeft = static_cast<size_t>(out.size()) * 2;
    while (inLeft > 0) {
        size_t r = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        if (r != static_cast<size_t>(-1)) break;
        if (errno == EILSEQ || errno == EINVAL) {
            // A broken or truncated lead byte: mark it and go on with the next byte.
            if (outLeft < 2) break;
            char16_t repl = 0xFFFD;
            memcpy(outPtr, &repl, 2);
            outPtr += 2;
            outLeft -= 2;
            ++in;
            --inLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        } else {
            break;
        }
    }
    out.resize((reinterpret_cast<QChar*>(outPtr) - out.data()));
    return out;
}

} // namespace

QString TCp932::Decode(const char* data, qsizetype size) {
    if (size <= 0) return QString();
    if (IsAscii(data, size)) return QString::fromLatin1(data, size);
    return DecodeSlow(data, size);
}

QByteArray TCp932::Encode(const QString& text) {
    if (text.isEmpty()) return QByteArray();
    bool ascii = true;
    for (QChar c : text)
        if (c.unicode() >= 0x80) {
            ascii = false;
            break;
        }
    if (ascii) return text.toLatin1();

    thread_local TIconv conv("CP932", "UTF-16LE");
    if (!conv.Valid()) return text.toLatin1();
    QByteArray out;
    out.resize(text.size() * 2 + 4);
    iconv_t cd = conv.Get();
    char* in = reinterpret_cast<char*>(const_cast<QChar*>(text.constData()));
    size_t inLeft = static_cast<size_t>(text.size()) * 2;
    char* outPtr = out.data();
    size_t outLeft = static_cast<size_t>(out.size());
    while (inLeft > 0) {
        size_t r = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        if (r != static_cast<size_t>(-1)) break;
        if ((errno == EILSEQ || errno == EINVAL) && outLeft > 0) {
            // Skip the whole unmappable character (a surrogate pair counts as one).
            char16_t unit;
            memcpy(&unit, in, 2);
            size_t skip = (unit >= 0xD800 && unit < 0xDC00 && inLeft >= 4) ? 4 : 2;
            in += skip;
            inLeft -= skip;
            *outPtr++ = '?';
            --outLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        } else {
            break;
        }
    }
    out.resize(outPtr - out.data());
    return out;
}

bool TCp932::CanEncode(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].unicode() < 0x80) continue;
        const QString one = text.mid(i, text[i].isHighSurrogate() ? 2 : 1);
        if (Encode(one) == "?") return false;
    }
    return true;
}

qsizetype TCp932::FitLength(const char* data, qsizetype size, qsizetype maxBytes) {
    const qsizetype limit = std::min(size, maxBytes);
    qsizetype i = 0;
    while (i < limit) {
        const auto b = static_cast<unsigned char>(data[i]);
        const qsizetype step = ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) ? 2 : 1;
        if (i + step > limit) break;
        i += step;
    }
    return i;
}

qsizetype TCp932::ToBuffer(const QString& text, char* buffer, qsizetype bufferSize) {
    if (buffer == nullptr || bufferSize <= 0) return 0;
    const QByteArray raw = Encode(text);
    const qsizetype n = FitLength(raw.constData(), raw.size(), bufferSize - 1);
    memcpy(buffer, raw.constData(), size_t(n));
    buffer[n] = '\0';
    return n;
}

QString TCp932::FromBuffer(const char* buffer, qsizetype bufferSize) {
    if (buffer == nullptr || bufferSize <= 0) return QString();
    const void* end = memchr(buffer, 0, size_t(bufferSize));
    if (end != nullptr) return Decode(buffer, static_cast<const char*>(end) - buffer);
    return Decode(buffer, FitLength(buffer, bufferSize, bufferSize - 1));
}
