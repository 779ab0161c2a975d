#include "app/dialogs/TDataUnit.h"

#include "document/TemplateFile.h"
#include "imaging/JpegCodec.h"
#include "platform/StreamReader.h"

#include <QFile>
#include <QFileInfo>

namespace {

// A thumbnail is a small picture; anything far larger is not read.
constexpr qint64 kMaxThumbnailBytes = qint64(32) * 1024 * 1024;

QImage FitInto(const QImage& picture, QSize fit, qreal pixelRatio) {
    const QSize box = (QSizeF(fit) * pixelRatio).toSize();
    QImage fitted = picture.width() > box.width() || picture.height() > box.height()
                        ? picture.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                        : picture;
    fitted.setDevicePixelRatio(pixelRatio);
    return fitted;
}

} // namespace

bool TTDataUnit::IsTemplateFile(const QString& path) {
    if (!QFileInfo(path).isFile()) return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    TStreamReader reader(file.read(8));
    int32_t magic = 0, version = 0;
    return reader.ReadInt32(magic) && magic == TTemplateFile::kMagic && reader.ReadInt32(version) && version >= 1 &&
           version <= TTemplateFile::kVersion;
}

QString TTDataUnit::ThumbnailFileFor(const QString& templatePath) {
    return templatePath.left(templatePath.size() - 3) + QStringLiteral("jpg");
}

QString TTDataUnit::DisplayName(const QString& templatePath) {
    return QFileInfo(templatePath).completeBaseName();
}

TTDataUnit::TThumbnails TTDataUnit::LoadThumbnail(const QString& jpegPath, QSize previewFit, QSize buttonFit,
                                                  qreal pixelRatio) {
    const QFileInfo info(jpegPath);
    if (!info.isFile() || info.size() > kMaxThumbnailBytes) return {};
    QFile file(jpegPath);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = file.read(kMaxThumbnailBytes);
    const QImage picture = TJpegCodec::DecodeThumbnail(bytes, (QSizeF(previewFit) * pixelRatio).toSize());
    if (picture.isNull()) return {};
    return {FitInto(picture, previewFit, pixelRatio), FitInto(picture, buttonFit, pixelRatio)};
}
