#include "objects/PriBackImage.h"

#include "imaging/ImageCodec.h"
#include "platform/DocumentLimits.h"
#include "platform/Rounding.h"
#include "platform/StreamReader.h"
#include "platform/StreamWriter.h"

#include <QFile>
#include <QFileInfo>
#include <QPainter>

void TPriBackImage::AssignBack(const TPriBackImage& other) {
    FMainBack = other.FMainBack;
    FSubBack = other.FSubBack;
    FVisible = other.FVisible;
    FUseSub = other.FUseSub;
    fMainSource = other.fMainSource;
    fSubSource = other.fSubSource;
}

void TPriBackImage::MakeViewPart(const TRect& r, int w, int h) {
    if (IsEmpty() || w <= 0 || h <= 0) {
        FViewPart = QImage();
        return;
    }
    const QImage& back = ActiveBack();
    const int bw = back.width(), bh = back.height();
    const int c = Trunc(double(bw) / w * r.Left);
    const int d = Trunc(double(bh) / h * r.Top);
    const int e = Trunc(double(bw) / w * (r.Right - r.Left));
    const int f = Trunc(double(bh) / h * (r.Bottom - r.Top));
    if (e <= 0 || f + 1 <= 0) {
        FViewPart = QImage();
        return;
    }
    FViewPart = QImage(e, f + 1, QImage::Format_RGB32);
    FViewPart.fill(Qt::white);
    QPainter p(&FViewPart);
    p.drawImage(QPoint(-c, -d), back);
}

bool TPriBackImage::LoadBackFile(const QString& path) {
    const auto format = TImageCodec::FormatFromExtension(path);
    if (!format || !QFileInfo(path).isFile()) return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > TImageCodec::kMaxFileBytes) return false;
    const QByteArray bytes = file.read(TImageCodec::kMaxFileBytes + 1);
    if (bytes.size() > TImageCodec::kMaxFileBytes) return false;
    // Within what one picture of a document may be, as every other way a picture enters.
    const QImage picture = TImageCodec::Decode(bytes, *format, TDocumentLimits::kMaxPicturePixels);
    if (TImageCodec::IsEmpty(picture)) return false;
    ActiveBack() = picture;
    const int which = FUseSub ? kSubBack : kMainBack;
    Source(which) = *format == TImageFormat::Jpeg ? TJpegSource{picture.cacheKey(), bytes} : TJpegSource{};
    return true;
}

bool TPriBackImage::ReadBack(TStreamReader& stream, int which, int version) {
    int32_t present = 0;
    if (!stream.ReadInt32(present)) return false;
    QImage& target = which == kSubBack ? FSubBack : FMainBack;
    if (present != 1) {
        target = QImage();
        Source(which) = {};
        return true;
    }
    bool visible = FVisible;
    if (which != kSubBack && !stream.ReadBool(visible)) return false;
    QByteArray bytes;
    if (!stream.ReadBlock64(bytes)) return false;
    const TImageFormat format = version == 1 ? TImageFormat::Bmp : TImageFormat::Jpeg;
    const QImage picture = TImageCodec::DecodeForDocument(bytes, format, stream);
    if (TImageCodec::IsEmpty(picture)) return false;
    target = picture;
    if (which != kSubBack) FVisible = visible;
    Source(which) = format == TImageFormat::Jpeg ? TJpegSource{picture.cacheKey(), bytes} : TJpegSource{};
    return true;
}

bool TPriBackImage::WriteBack(TStreamWriter& stream, int which) const {
    const QImage& picture = which == kSubBack ? FSubBack : FMainBack;
    if (TImageCodec::IsEmpty(picture)) {
        stream.WriteInt32(0);
        return true;
    }
    const TJpegSource& source = Source(which);
    const QByteArray bytes = source.key == picture.cacheKey() && !source.bytes.isEmpty()
                                 ? source.bytes
                                 : TImageCodec::Encode(picture, TImageFormat::Jpeg);
    if (bytes.isEmpty()) return false;
    stream.WriteInt32(1);
    if (which != kSubBack) stream.WriteBool(FVisible);
    stream.WriteBlock64(bytes);
    return true;
}

void TPriBackImage::DrawWhole(QPainter& canvas, const TRect& target) const {
    if (IsEmpty()) return;
    const QRect rect = target.ToQRect();
    if (rect.isEmpty()) return;
    // No device gets more pixels than it shows: the page bitmap keeps a copy that whole-page
    // redraws copy plainly, and a PDF or printer page takes the photo at its printed resolution
    // instead of whole, however large the document keeps it.
    canvas.drawImage(rect, fScaled.For(ActiveBack(), TScaledCopy::DevicePixels(canvas, rect)));
}

void TPriBackImage::DrawViewPart(QPainter& canvas, const TRect& target) const {
    if (FViewPart.isNull()) return;
    canvas.save();
    canvas.setRenderHint(QPainter::SmoothPixmapTransform);
    canvas.drawImage(target.ToQRect(), FViewPart);
    canvas.restore();
}
