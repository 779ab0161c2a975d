#pragma once

#include <QByteArray>
#include <QImage>

// GIF writing through giflib (Qt reads GIF but cannot write it). Pictures of up to 256
// colours keep them exactly; others are reduced by median cut. Pixels more than half clear take
// the one clear palette entry GIF has; the others are flattened onto white.
class TGifEncoder {
public:
    static QByteArray Encode(const QImage& image);
};
