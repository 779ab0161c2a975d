#include "imaging/GifEncoder.h"

#include <QHash>
#include <QPainter>
#include <algorithm>
#include <gif_lib.h>
#include <memory>
#include <vector>

namespace {

int WriteToArray(GifFileType* gif, const GifByteType* data, int length) {
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
    return length;
}

struct TMapDeleter {
    void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};
using TColorMap = std::unique_ptr<ColorMapObject, TMapDeleter>;

// The exact palette when the picture has at most limit colours; clear pixels are left out.
bool ExactPalette(const QImage& rgb, const std::vector<bool>& clear, int limit, std::vector<QRgb>& colors,
                  std::vector<GifByteType>& indices) {
    QHash<QRgb, int> seen;
    indices.resize(size_t(rgb.width()) * size_t(rgb.height()));
    size_t i = 0;
    for (int y = 0; y < rgb.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            if (!clear.empty() && clear[i]) {
                indices[i++] = 0;
                continue;
            }
            const QRgb c = line[x] | 0xFF000000u;
            auto it = seen.constFind(c);
            if (it == seen.constEnd()) {
                if (seen.size() == limit) return false;
                it = seen.insert(c, int(colors.size()));
                colors.push_back(c);
            }
            indices[i++] = GifByteType(it.value());
        }
    }
    return true;
}

} // namespace

QByteArray TGifEncoder::Encode(const QImage& image) {
    if (image.isNull() || image.width() <= 0 || image.height() <= 0 || image.width() > 65535 || image.height() > 65535)
        return {};
    QImage rgb(image.size(), QImage::Format_RGB32);
    rgb.fill(Qt::white);
    {
        QPainter p(&rgb);
        p.drawImage(0, 0, image);
    }
    const int w = rgb.width(), h = rgb.height();
    // Which pixels are more than half clear; empty when none is.
    std::vector<bool> clear;
    if (image.hasAlphaChannel()) {
        const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
        clear.assign(size_t(w) * size_t(h), false);
        bool any = false;
        for (int y = 0; y < h; ++y) {
            const QRgb* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
            for (int x = 0; x < w; ++x)
                if (qAlpha(line[x]) < 128) clear[size_t(y) * size_t(w) + size_t(x)] = any = true;
        }
        if (!any) clear.clear();
    }
    const int opaqueColours = clear.empty() ? 256 : 255;
    std::vector<QRgb> colors;
    std::vector<GifByteType> indices;
    TColorMap map;
    int clearIndex = -1;
    if (ExactPalette(rgb, clear, opaqueColours, colors, indices)) {
        if (!clear.empty()) {
            clearIndex = int(colors.size());
            colors.push_back(qRgb(255, 255, 255));
        }
        int size = 2;
        while (size < int(colors.size()))
            size *= 2;
        map.reset(GifMakeMapObject(size, nullptr));
        if (!map) return {};
        for (int i = 0; i < size; ++i) {
            const QRgb c = i < int(colors.size()) ? colors[size_t(i)] : 0;
            map->Colors[i] = GifColorType{GifByteType(qRed(c)), GifByteType(qGreen(c)), GifByteType(qBlue(c))};
        }
    } else {
        const size_t n = size_t(w) * size_t(h);
        std::vector<GifByteType> r(n), g(n), b(n);
        size_t i = 0;
        for (int y = 0; y < h; ++y) {
            const QRgb* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
            for (int x = 0; x < w; ++x, ++i) {
                r[i] = GifByteType(qRed(line[x]));
                g[i] = GifByteType(qGreen(line[x]));
                b[i] = GifByteType(qBlue(line[x]));
            }
        }
        map.reset(GifMakeMapObject(256, nullptr));
        if (!map) return {};
        indices.assign(n, 0);
        int count = opaqueColours;
        if (GifQuantizeBuffer(unsigned(w), unsigned(h), &count, r.data(), g.data(), b.data(), indices.data(),
                              map->Colors) != GIF_OK)
            return {};
        if (!clear.empty()) {
            clearIndex = std::clamp(count, 0, 255);
            map->Colors[clearIndex] = GifColorType{255, 255, 255};
        }
    }
    if (clearIndex >= 0)
        for (size_t i = 0; i < clear.size(); ++i)
            if (clear[i]) indices[i] = GifByteType(clearIndex);

    QByteArray out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, WriteToArray, &error);
    if (!gif) return {};
    // The clear entry is named by a graphic control block, which needs GIF89a.
    if (clearIndex >= 0) EGifSetGifVersion(gif, true);
    bool ok = EGifPutScreenDesc(gif, w, h, map->BitsPerPixel, 0, map.get()) == GIF_OK;
    if (ok && clearIndex >= 0) {
        GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, 0, clearIndex};
        GifByteType block[4];
        EGifGCBToExtension(&control, block);
        ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, block) == GIF_OK;
    }
    ok = ok && EGifPutImageDesc(gif, 0, 0, w, h, false, nullptr) == GIF_OK;
    for (int y = 0; ok && y < h; ++y)
        ok = EGifPutLine(gif, indices.data() + size_t(y) * size_t(w), w) == GIF_OK;
    if (EGifCloseFile(gif, &error) != GIF_OK) ok = false;
    return ok ? out : QByteArray();
}
