#pragma once

#include "objects/ScaledCopy.h"
#include "platform/Rect.h"

#include <QByteArray>
#include <QImage>
#include <QString>

class QPainter;
class TStreamReader;
class TStreamWriter;

// The page background holder: one picture per side, drawn stretched beneath all objects.
class TPriBackImage {
public:
    // Which background a record belongs to: the edited side's or the second side's.
    static constexpr int kMainBack = 0;
    static constexpr int kSubBack = 1;

    QImage FMainBack;
    QImage FSubBack;
    bool FVisible = true;
    bool FUseSub = false;
    // The part of the active background that matches the visible rectangle.
    QImage FViewPart;

    QImage& ActiveBack() { return FUseSub ? FSubBack : FMainBack; }
    const QImage& ActiveBack() const { return FUseSub ? FSubBack : FMainBack; }
    bool IsEmpty() const { return ActiveBack().isNull() || ActiveBack().width() == 0 || ActiveBack().height() == 0; }

    void AssignBack(const TPriBackImage& other);
    void SetBackVisible(bool value) { FVisible = value; }
    void EraseBack() { ActiveBack() = QImage(); }
    void MakeViewPart(const TRect& view, int viewWidth, int viewHeight);

    // Into the active background, by the upper-cased extension (BMP, JPG/JPEG, GIF, PNG).
    // False for a missing file, another extension or a file that is no picture; the
    // background is then unchanged.
    bool LoadBackFile(const QString& path);
    // One background record of a template; which is kMainBack or kSubBack. The picture is
    // JPEG, or a BMP file in files of version 1. False when the record is cut short or its
    // picture does not decode; the background is then unchanged.
    bool ReadBack(TStreamReader& stream, int which, int version);
    // False when the picture cannot be encoded; nothing is written then.
    bool WriteBack(TStreamWriter& stream, int which) const;

    // Draws the whole background stretched over the view, or the pre-cut part over the rectangle.
    void DrawWhole(QPainter& canvas, const TRect& target) const;
    void DrawViewPart(QPainter& canvas, const TRect& target) const;

private:
    // The JPEG bytes a picture came from, so that saving an unchanged background writes them
    // again instead of compressing it once more (no loss from save to save).
    struct TJpegSource {
        qint64 key = 0;
        QByteArray bytes;
    };
    TJpegSource& Source(int which) { return which == kSubBack ? fSubSource : fMainSource; }
    const TJpegSource& Source(int which) const { return which == kSubBack ? fSubSource : fMainSource; }

    TJpegSource fMainSource;
    TJpegSource fSubSource;
    // The background already scaled down to the last whole-page size on its device.
    mutable TScaledCopy fScaled;
};
