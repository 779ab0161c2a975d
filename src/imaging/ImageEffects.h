#pragma once

#include <QImage>
#include <QRect>
#include <QSize>

// The pixel work of the image effect dialog: colour offsets, quarter turns and mirrors, and the
// fitting of a picture into a preview. Everything runs on whole scan lines of 32-bit pixels;
// a picture with an alpha channel keeps it through every effect.
namespace ImageEffects {

enum class TTurn { Right90, Left90, FlipVertical, FlipHorizontal };

// Each channel plus its offset, clamped to 0..255. Offsets beyond +-255 act as +-255. Alpha is
// left as it is; the colours of a part-transparent pixel move by the offsets themselves.
QImage OffsetColours(const QImage& source, int red, int green, int blue);

// Right90: destination (x, y) takes source (y, H - 1 - x); Left90: source (W - 1 - y, x);
// FlipVertical: source (x, H - 1 - y); FlipHorizontal: source (W - 1 - x, y).
// An empty image when the source is empty or the result cannot be allocated.
QImage Turn(const QImage& source, TTurn turn);

// The picture fitted into an area keeping its aspect ratio and centred in it (widths and
// heights truncated). Empty when the picture or the area has no pixels.
QRect FitRect(QSize picture, QSize area);

// The part of the picture inside the window, stretched to size with smoothing. The window is
// clipped to the picture first; an empty image when nothing of it remains.
QImage StretchPart(const QImage& source, const QRect& window, QSize size);

// The picture as the effects work on it: RGB32 when it has no alpha channel, ARGB32 (colours
// not premultiplied) when it has one. Shares the data when it already is in that format.
QImage ToWorkFormat(const QImage& source);

} // namespace ImageEffects
