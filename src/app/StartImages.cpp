#include "app/StartImages.h"

#include "imaging/JpegCodec.h"
#include "platform/StreamReader.h"
#include "platform/StreamWriter.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace {

void SetError(QString* error, const QString& text) {
    if (error) *error = text;
}

bool AnyDecoded(const std::vector<QImage>& images) {
    return std::any_of(images.begin(), images.end(), [](const QImage& image) { return !image.isNull(); });
}

} // namespace

TStartImagesResult ParseStartImages(const QByteArray& bytes, std::vector<QImage>& images, QString* error) {
    images.clear();
    TStreamReader reader(bytes);
    int32_t count = 0;
    if (!reader.ReadInt32(count) || count <= 0) {
        SetError(error, QStringLiteral("no pictures in the start picture file"));
        return TStartImagesResult::Missing;
    }
    // Every entry takes at least its 8-byte length, so a count the bytes cannot hold is a
    // damaged file; the slots are sized to what the bytes can hold at most.
    const qsizetype possible = reader.Remaining() / 8;
    bool damaged = count > possible;
    images.resize(static_cast<size_t>(std::min<qsizetype>({count, possible, kStartImagesUsed})));
    QString firstError =
        damaged ? QStringLiteral("the file claims %1 pictures but is too short").arg(count) : QString();
    for (size_t i = 0; i < images.size(); ++i) {
        QByteArray jpeg;
        if (!reader.ReadBlock64(jpeg)) {
            // The framing is lost: nothing after this point can be trusted.
            if (firstError.isEmpty()) firstError = QStringLiteral("picture %1 breaks off").arg(i);
            damaged = true;
            break;
        }
        images[i] = TJpegCodec::Decode(jpeg, 1, kStartImageMaxPixels);
        if (images[i].isNull()) {
            // The next entry's length is still where it belongs; read on.
            if (firstError.isEmpty()) firstError = QStringLiteral("picture %1 cannot be decoded").arg(i);
            damaged = true;
        }
    }
    if (!AnyDecoded(images)) {
        SetError(error, firstError.isEmpty() ? QStringLiteral("no picture could be decoded") : firstError);
        return TStartImagesResult::Missing;
    }
    if (damaged) {
        SetError(error, firstError);
        return TStartImagesResult::Damaged;
    }
    return TStartImagesResult::Ok;
}

TStartImagesResult LoadStartImages(const QString& file, std::vector<QImage>& images, QString* error) {
    images.clear();
    // A pipe or a device in the file's place would block or never end.
    const QFileInfo info(file);
    if (!info.isFile()) {
        SetError(error, QStringLiteral("%1 does not exist").arg(file));
        return TStartImagesResult::Missing;
    }
    if (info.size() > kStartImagesMaxBytes) {
        SetError(error, QStringLiteral("%1 is too large").arg(file));
        return TStartImagesResult::Missing;
    }
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
        SetError(error, in.errorString());
        return TStartImagesResult::Missing;
    }
    const QByteArray bytes = in.read(kStartImagesMaxBytes + 1);
    if (bytes.size() > kStartImagesMaxBytes || in.error() != QFileDevice::NoError) {
        SetError(error,
                 bytes.size() > kStartImagesMaxBytes ? QStringLiteral("%1 is too large").arg(file) : in.errorString());
        return TStartImagesResult::Missing;
    }
    return ParseStartImages(bytes, images, error);
}

QByteArray BuildStartImages(const std::vector<QByteArray>& jpegs) {
    TStreamWriter writer;
    writer.WriteInt32(static_cast<int32_t>(jpegs.size()));
    for (const QByteArray& jpeg : jpegs)
        writer.WriteBlock64(jpeg);
    return writer.Bytes();
}
