// Pictures on the page: whole-page redraw at 200 % over a 4000 x 3000 JPEG background with
// and without 20 image objects, and our JPEG decoding against libjpeg-turbo's own API.
#include "document/PriPaint.h"
#include "imaging/ImageCodec.h"
#include "imaging/JpegCodec.h"
#include "objects/PriImage.h"

#include "support/BenchPhoto.h"

#include <QApplication>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <turbojpeg.h>
#include <vector>

namespace {

const QByteArray& BackgroundJpeg() {
    static const QByteArray bytes = TJpegCodec::Encode(BenchPhoto(4000, 3000));
    return bytes;
}

std::unique_ptr<TPriPaint> MakePage(bool withImages) {
    auto surface = std::make_unique<TPriPaint>(nullptr, QString(), 96, std::make_unique<TNoPrinter>());
    surface->PrintPaper.SetFields({0, 0, 1, 0, 2100, 2970, 0, 0, 0, 0, 0, 0, 1, 1, 2100, 2970});
    surface->BackObject.FMainBack = TImageCodec::Decode(BackgroundJpeg(), TImageFormat::Jpeg);
    if (withImages) {
        const QImage picture = BenchPhoto(1600, 1200);
        for (int i = 0; i < 20; ++i) {
            auto image = std::make_unique<TPriImage>();
            image->SetStoreRect(QRect(100 + (i % 4) * 480, 100 + (i / 4) * 560, 440, 500));
            image->SetPicture(picture);
            image->TransParent = i % 2 == 1;
            image->Color = clWhite;
            surface->AppendObject(std::move(image));
        }
    }
    surface->BltSizeCheck = bs200;
    surface->SetPageLayout({10, 10}, {1200, 800});
    surface->RedrawPage(nullptr, false, true);
    return surface;
}

void BM_RedrawBackgroundOnly(benchmark::State& state) {
    auto surface = MakePage(false);
    for (auto _ : state)
        surface->RedrawPage(nullptr, false, true);
}
BENCHMARK(BM_RedrawBackgroundOnly)->Unit(benchmark::kMillisecond);

void BM_RedrawBackgroundAnd20Images(benchmark::State& state) {
    auto surface = MakePage(true);
    for (auto _ : state)
        surface->RedrawPage(nullptr, false, true);
}
BENCHMARK(BM_RedrawBackgroundAnd20Images)->Unit(benchmark::kMillisecond);

void BM_JpegDecodeOurs(benchmark::State& state) {
    const QByteArray& bytes = BackgroundJpeg();
    for (auto _ : state) {
        QImage image = TJpegCodec::Decode(bytes);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_JpegDecodeOurs)->Unit(benchmark::kMillisecond);

void BM_JpegDecodeTjDecompress2(benchmark::State& state) {
    const QByteArray& bytes = BackgroundJpeg();
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    tjhandle handle = tjInitDecompress();
    for (auto _ : state) {
        int w = 0, h = 0, sub = 0, space = 0;
        tjDecompressHeader3(handle, data, static_cast<unsigned long>(bytes.size()), &w, &h, &sub, &space);
        // A fresh buffer each time, as our decoder allocates its bitmap.
        std::vector<unsigned char> pixels(size_t(w) * size_t(h) * 4);
        tjDecompress2(handle, data, static_cast<unsigned long>(bytes.size()), pixels.data(), w, w * 4, h, TJPF_BGRX,
                      TJFLAG_NOREALLOC);
        benchmark::DoNotOptimize(pixels.data());
    }
    tjDestroy(handle);
}
BENCHMARK(BM_JpegDecodeTjDecompress2)->Unit(benchmark::kMillisecond);

} // namespace
