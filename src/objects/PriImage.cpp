#include "objects/PriImage.h"

#include "imaging/ImageCodec.h"
#include "platform/Cp932.h"
#include "platform/Rounding.h"
#include "platform/StreamReader.h"
#include "platform/StreamWriter.h"

#include <QFileInfo>
#include <QPainter>

TPriImage::TPriImage() {
    ObjectNum = okImage;
    Color = RGBColor(128, 128, 128);
    TransParent = false;
}

void TPriImage::SetImagePath(const QString& path) {
    FImagePath = path;
    if (const auto format = TImageCodec::FormatFromExtension(path)) ImageType = uint8_t(*format);
}

void TPriImage::SetPicture(const QImage& picture) {
    BltBmp = picture;
    BaseBmp = picture;
    RebuildLightImage();
}

void TPriImage::AssignObject(const TPriBase* source, bool layoutOnly) {
    TPriBase::AssignObject(source, false);
    const auto* s = dynamic_cast<const TPriImage*>(source);
    if (!layoutOnly && s) {
        center = s->center;
        Proportional = s->Proportional;
        Stretch = s->Stretch;
        Color = s->Color;
        BaseBmp = s->BaseBmp;
        BltBmp = s->BltBmp;
        TurnNum = s->TurnNum;
        RedNum = s->RedNum;
        GreenNum = s->GreenNum;
        BlueNum = s->BlueNum;
        SideReverse = s->SideReverse;
        LongReverse = s->LongReverse;
        FPlacement = s->FPlacement;
        if (TCp932::Encode(s->FImagePath).size() < 1024) FImagePath = s->FImagePath;
        ImageType = s->ImageType;
        fSource = s->fSource;
        // Same picture and bounds: the source's cache is ours too, no rescaling needed.
        LightImage = s->LightImage;
        fLightSourceKey = s->fLightSourceKey;
    }
    RebuildLightImage();
}

void TPriImage::ScaleToView(QSize view, QSize paperPixels, int screenInch) {
    TPriBase::ScaleToView(view, paperPixels, screenInch);
    RebuildLightImage();
}

void TPriImage::ApplyTrack() {
    TPriBase::ApplyTrack();
    RebuildLightImage();
}

void TPriImage::MoveBy(QPoint delta) {
    TPriBase::MoveBy(delta);
    RebuildLightImage();
}

void TPriImage::SizeBy(QPoint delta) {
    TPriBase::SizeBy(delta);
    RebuildLightImage();
}

QRect TPriImage::FitImageRect(const QRect& box) const {
    const int a = BltBmp.width(), b = BltBmp.height();
    const int w = box.width(), h = box.height();
    int width = a, height = b;
    if (Stretch || (Proportional && (w < a || h < b))) {
        if (Proportional && a > 0 && b > 0) {
            const double x = double(a) / b;
            if (b < a) {
                height = Trunc(w / x);
                width = w;
                if (height > h) {
                    width = Trunc(x * h);
                    height = h;
                }
            } else {
                width = Trunc(x * h);
                height = h;
                if (width > w) {
                    height = Trunc(w / x);
                    width = w;
                }
            }
        } else {
            width = w;
            height = h;
        }
    }
    int left = box.x(), top = box.y();
    if (center) {
        left = box.x() + (w - width) / 2;
        top = box.y() + (h - height) / 2;
    }
    return QRect(left, top, width, height);
}

void TPriImage::RebuildLightImage() {
    const QSize size = FitImageRect(QRect(Left, Top, Width, Height)).size();
    if (BltBmp.isNull() || size.width() <= 0 || size.height() <= 0 ||
        qint64(size.width()) * size.height() > kMaxLightPixels) {
        LightImage = QImage();
        fLightSourceKey = 0;
        return;
    }
    if (LightImage.size() == size && fLightSourceKey == BltBmp.cacheKey()) return;
    const QImage::Format format = BltBmp.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    LightImage = (BltBmp.size() == size ? BltBmp : BltBmp.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation))
                     .convertToFormat(format);
    fLightSourceKey = BltBmp.cacheKey();
}

const QImage& TPriImage::Masked(const QImage& source, TMaskedCache& cache) const {
    if (cache.sourceKey == source.cacheKey() && cache.color == Color && !cache.image.isNull()) return cache.image;
    const QRgb key = ColorToQColor(Color).rgb() & 0x00FFFFFFu;
    QImage out = source.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < out.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if (qAlpha(line[x]) == 255 && (line[x] & 0x00FFFFFFu) == key) line[x] = 0;
    }
    cache = TMaskedCache{source.cacheKey(), Color, std::move(out)};
    return cache.image;
}

// The transparent colour is cut out of the full picture before it is scaled down: scaling first
// would blend it into the neighbouring pixels, which then no longer match and show as a halo.
const QImage& TPriImage::MaskedLight() const {
    if (BltBmp.size() == LightImage.size()) return Masked(LightImage, fMaskedLight);
    if (fMaskedLight.sourceKey == LightImage.cacheKey() && fMaskedLight.color == Color && !fMaskedLight.image.isNull())
        return fMaskedLight.image;
    // The full-size masked copy is kept only once printing made it: for the screen it is a
    // passing step, and keeping it would double the memory of every transparent picture.
    TMaskedCache scratch;
    TMaskedCache& full = fMaskedBlt.sourceKey == BltBmp.cacheKey() && fMaskedBlt.color == Color ? fMaskedBlt : scratch;
    QImage scaled = Masked(BltBmp, full).scaled(LightImage.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    fMaskedLight = TMaskedCache{LightImage.cacheKey(), Color, std::move(scaled)};
    return fMaskedLight.image;
}

void TPriImage::DrawImage(QPainter& canvas, const QRect& p, bool, TBltMode mode, const TRect& clip) {
    if (LightImage.isNull()) return;
    if (mode == bmLayout || mode == bmBrowse) {
        canvas.drawImage(p.topLeft(), TransParent ? MaskedLight() : LightImage);
        return;
    }
    // Paper and exported images get the picture at the device's own resolution, cut to the page:
    // the transparent colour is cut from the full picture first, so that no halo is scaled in.
    canvas.save();
    canvas.setClipRect(clip.ToQRect(), canvas.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    canvas.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const QImage& picture = TransParent ? Masked(BltBmp, fMaskedBlt) : BltBmp;
    canvas.drawImage(p, fPrintCopy.For(picture, TScaledCopy::DevicePixels(canvas, p)));
    canvas.restore();
}

void TPriImage::DrawObject(TBltMode mode, QPainter& canvas) {
    const QSize page = PageSize();
    DrawImage(canvas, FitImageRect(QRect(Left, Top, Width, Height)), true, mode,
              TRect{0, 0, page.width(), page.height()});
    DrawFocus(canvas);
}

void TPriImage::PrintDraw(QPainter& canvas, const QRect& target, bool useMargins, QPoint, const TRect&,
                          const QRect& clip) {
    DrawImage(canvas, FitImageRect(target), useMargins, bmPrint, TRect::FromQRect(clip));
}

void TPriImage::DrawToImage(QPainter& canvas, const QRect& rect, QSize output) {
    DrawImage(canvas, FitImageRect(rect), true, bmPrint, TRect{0, 0, output.width(), output.height()});
}

bool TPriImage::LoadImageFile(const QString& path) {
    const auto format = TImageCodec::FormatFromExtension(path);
    if (!format || !QFileInfo::exists(path)) return false;
    const QImage picture = TImageCodec::DecodeFile(path, *format);
    if (TImageCodec::IsEmpty(picture)) return false;
    BltBmp = picture;
    BaseBmp = picture;
    ImageType = uint8_t(*format);
    FImagePath = path;
    ResetEffects();
    RebuildLightImage();
    return true;
}

void TPriImage::ResetEffects() {
    TurnNum = RedNum = GreenNum = BlueNum = 0;
    SideReverse = LongReverse = false;
    FPlacement = {};
}

bool TPriImage::ReadImageData(TStreamReader& stream, int version) {
    QByteArray bytes;
    if (!stream.ReadBlock64(bytes)) return false;
    const auto format = version < 6 ? std::optional(TImageFormat::Bmp) : TImageCodec::FormatFromCode(ImageType);
    if (!format) return false;
    const QImage picture = TImageCodec::DecodeForDocument(bytes, *format, stream);
    if (TImageCodec::IsEmpty(picture)) return false;
    SetPicture(picture);
    if (version >= 6)
        fSource = {BaseBmp.cacheKey(), ImageType, bytes};
    else
        fSource = {};
    return true;
}

bool TPriImage::EncodePicture(int version, QByteArray& bytes) const {
    const auto format = version < 6 ? std::optional(TImageFormat::Bmp) : TImageCodec::FormatFromCode(ImageType);
    if (!format) return false;
    if (version >= 6 && !fSource.bytes.isEmpty() && fSource.key == BaseBmp.cacheKey() && fSource.type == ImageType) {
        bytes = fSource.bytes;
        return true;
    }
    bytes = TImageCodec::Encode(BaseBmp, *format);
    // A record without a picture could never be read back.
    return !bytes.isEmpty();
}

bool TPriImage::WriteImageData(TStreamWriter& stream, int version) {
    QByteArray bytes;
    if (!EncodePicture(version, bytes)) return false;
    stream.WriteBlock64(bytes);
    return true;
}

bool TPriImage::LoadFromStream(TStreamReader& stream, int version) {
    if (!TPriBase::LoadFromStream(stream, version)) return false;
    bool c = true, p = true, s = true;
    stream.ReadBool(c);
    stream.ReadBool(p);
    stream.ReadBool(s);
    uint8_t type = 0;
    if (version >= 6) stream.ReadEnum(type);
    if (!stream.Ok() || type > 3) return false;
    center = c;
    Proportional = p;
    Stretch = s;
    ImageType = type;
    if (!ReadImageData(stream, version)) return false;
    if (version >= 4) {
        int32_t color = 0;
        if (!stream.ReadColor(color)) return false;
        Color = color;
    }
    if (version >= 5) {
        int32_t turn = 0, red = 0, green = 0, blue = 0;
        bool side = false, longRev = false;
        std::array<int32_t, 4> placement{};
        stream.ReadInt32(turn);
        stream.ReadInt32(red);
        stream.ReadInt32(green);
        stream.ReadInt32(blue);
        stream.ReadBool(side);
        stream.ReadBool(longRev);
        for (int32_t& v : placement)
            stream.ReadInt32(v);
        if (!stream.Ok()) return false;
        TurnNum = turn;
        RedNum = red;
        GreenNum = green;
        BlueNum = blue;
        SideReverse = side;
        LongReverse = longRev;
        FPlacement = placement;
    }
    return true;
}

bool TPriImage::SaveToStream(TStreamWriter& stream, int version) {
    // Encoded first, so that a picture that cannot be stored leaves nothing half written.
    QByteArray picture;
    if (!EncodePicture(version, picture)) return false;
    if (!TPriBase::SaveToStream(stream, version)) return false;
    stream.WriteBool(center);
    stream.WriteBool(Proportional);
    stream.WriteBool(Stretch);
    if (version >= 6) stream.WriteEnum(ImageType);
    stream.WriteBlock64(picture);
    if (version >= 4) stream.WriteColor(Color);
    if (version >= 5) {
        stream.WriteInt32(TurnNum);
        stream.WriteInt32(RedNum);
        stream.WriteInt32(GreenNum);
        stream.WriteInt32(BlueNum);
        stream.WriteBool(SideReverse);
        stream.WriteBool(LongReverse);
        for (int32_t v : FPlacement)
            stream.WriteInt32(v);
    }
    return true;
}
