// Opening a template with a 4000 x 3000 JPEG background, against decoding the same JPEG alone:
// what the container adds on top of the picture.
#include "document/PriPaint.h"
#include "imaging/JpegCodec.h"
#include "platform/FontMap.h"
#include "platform/StreamReader.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

QImage Photo(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x)
            line[x] = qRgb((x * 255 / w + (x * y) % 7) & 0xFF, (y * 255 / h + (x ^ y) % 5) & 0xFF,
                           ((x + y) * 127 / (w + h) + x % 3) & 0xFF);
    }
    return image;
}

struct TFixture {
    QTemporaryDir Dir;
    QString Path = Dir.filePath(QStringLiteral("photo.tda"));
    QByteArray Jpeg;

    TFixture() {
        TPriPaint doc(nullptr, QString(), 96, std::make_unique<TNoPrinter>());
        doc.PrintPaper.SetFields({0, 0, 1, 0, 2100, 2970, 0, 0, 0, 0, 0, 0, 1, 1, 2100, 2970});
        doc.BackObject.FMainBack = Photo(4000, 3000);
        doc.SaveToFile(Path, 0);
        QFile file(Path);
        file.open(QIODevice::ReadOnly);
        // The main background block follows the header, the paper and the empty merge settings.
        TStreamReader r(file.readAll());
        r.Skip(92 + 8);
        r.ReadBlock64(Jpeg);
    }
};

TFixture& Fixture() {
    static TFixture f;
    return f;
}

void BM_LoadTemplateWithBackground(benchmark::State& state) {
    TPriPaint doc(nullptr, QString(), 96, std::make_unique<TNoPrinter>());
    for (auto _ : state) {
        if (!doc.LoadFromFile(Fixture().Path, 0)) state.SkipWithError("load failed");
    }
}
BENCHMARK(BM_LoadTemplateWithBackground)->Unit(benchmark::kMillisecond);

void BM_DecodeBackgroundJpegAlone(benchmark::State& state) {
    const QByteArray& jpeg = Fixture().Jpeg;
    if (jpeg.isEmpty()) state.SkipWithError("no JPEG in the template");
    for (auto _ : state) {
        QImage image = TJpegCodec::Decode(jpeg);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_DecodeBackgroundJpegAlone)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TFontMap::Install();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
