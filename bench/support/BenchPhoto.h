#pragma once

#include <QImage>

// Something photo-like: smooth gradients with fine detail, so its JPEG is of realistic size.
inline QImage BenchPhoto(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x)
            line[x] = qRgb((x * 255 / w + (x * y) % 7) & 0xFF, (y * 255 / h + (x ^ y) % 5) & 0xFF,
                           ((x + y) * 127 / (w + h) + x % 3) & 0xFF);
    }
    return image;
}
