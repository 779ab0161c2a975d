#pragma once

#include "objects/PriBase.h"
#include "objects/ScaledCopy.h"

#include <QImage>
#include <QString>
#include <array>

// Values 0 and 1 of the image type code as the older code named them.
enum TImageType : uint8_t { itImage = 0, itMask = 1 };

// A picture on the page. BaseBmp is the picture as loaded (what the record stores), BltBmp the
// copy adjusted by the effect dialog (what is drawn and printed), LightImage BltBmp already
// stretched to the fitted size of the bounds, so the screen redraw never scales.
class TPriImage : public TPriBase {
public:
    TPriImage();

    QImage LightImage;
    QImage BaseBmp;
    QImage BltBmp;
    bool center = true;
    bool Proportional = true;
    bool Stretch = true;
    int32_t TurnNum = 0;
    int32_t RedNum = 0;
    int32_t GreenNum = 0;
    int32_t BlueNum = 0;
    bool SideReverse = false;
    bool LongReverse = false;
    std::array<int32_t, 4> FPlacement{};
    // 0 BMP, 1 JPEG, 2 GIF, 3 PNG: the format BaseBmp is stored in.
    uint8_t ImageType = 0;

    const QString& ImagePath() const { return FImagePath; }
    // Also takes ImageType from the extension when it names a picture format.
    void SetImagePath(const QString& path);
    // Both pictures at once, as paste and the replace command set them.
    void SetPicture(const QImage& picture);

    using TPriBase::AssignObject;
    void AssignObject(const TPriBase* source, bool layoutOnly) override;
    void ScaleToView(QSize view, QSize paperPixels, int screenInch) override;
    void ApplyTrack() override;
    void MoveBy(QPoint delta) override;
    void SizeBy(QPoint delta) override;
    void DrawObject(TBltMode mode, QPainter& canvas) override;
    void PrintDraw(QPainter& canvas, const QRect& target, bool useMargins, QPoint pageOrigin, const TRect& pageMargins,
                   const QRect& pageClip) override;
    void DrawToImage(QPainter& canvas, const QRect& rect, QSize output) override;
    bool LoadFromStream(TStreamReader& stream, int version) override;
    bool SaveToStream(TStreamWriter& stream, int version) override;

    // placement is left, top, width, height; clip is left, top, right, bottom.
    virtual void DrawImage(QPainter& canvas, const QRect& placement, bool useMargins, TBltMode mode, const TRect& clip);

    // Where the picture goes inside a box (left, top, width, height).
    QRect FitImageRect(const QRect& box) const;
    void RebuildLightImage();
    // By the upper-cased extension; false for other extensions or a file that is no picture.
    bool LoadImageFile(const QString& path);
    void ResetEffects();
    // Picture length and bytes; decodes only from those bytes. The record version decides
    // whether the bytes are a BMP file (below 6) or in the format of ImageType.
    bool ReadImageData(TStreamReader& stream, int version = 6);
    bool WriteImageData(TStreamWriter& stream, int version = 6);

    // Largest display cache built; anything bigger would not fit on any page bitmap.
    static constexpr qint64 kMaxLightPixels = qint64(64) * 1024 * 1024;

private:
    // BltBmp or LightImage with the pixels of Color made transparent, for one colour at a time.
    struct TMaskedCache {
        qint64 sourceKey = 0;
        TColor color = 0;
        QImage image;
    };
    const QImage& Masked(const QImage& source, TMaskedCache& cache) const;
    // LightImage without the transparent colour, for the screen.
    const QImage& MaskedLight() const;
    bool EncodePicture(int version, QByteArray& bytes) const;

    // The encoded bytes BaseBmp was decoded from, so that saving an unchanged picture writes
    // them again: a JPEG is not compressed once more on every save, and files round-trip exactly.
    struct TEncodedSource {
        qint64 key = 0;
        uint8_t type = 0;
        QByteArray bytes;
    };
    TEncodedSource fSource;

    QString FImagePath;
    qint64 fLightSourceKey = 0;
    mutable TMaskedCache fMaskedLight;
    mutable TMaskedCache fMaskedBlt;
    // The picture at the pixels of the last output device, the same for every seat of a sheet.
    TScaledCopy fPrintCopy;
};
