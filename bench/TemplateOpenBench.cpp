// Opening a shipped template as the chooser does (load, re-date, lay out) against the part no
// container can avoid: decoding the template's picture alone. Also the year calendar, which has
// the most objects of the shipped set.
#include "document/PriPaint.h"
#include "document/TemplateFile.h"
#include "imaging/JpegCodec.h"
#include "platform/FontMap.h"
#include "platform/StreamReader.h"

#include <QApplication>
#include <QFile>
#include <benchmark/benchmark.h>

namespace {

const QString kDataDir = QStringLiteral(KOMOREBI_SOURCE_DIR "/data/");
const QString kPhotoTemplate = kDataDir + QStringLiteral("Template/A4/フォトカレンダー.tda");
const QString kYearTemplate = kDataDir + QStringLiteral("Template/A4/年間カレンダー.tda");

void Open(benchmark::State& state, const QString& path) {
    for (auto _ : state) {
        TPriPaint doc(nullptr, kDataDir, 96, std::make_unique<TNoPrinter>());
        if (!doc.LoadFromFile(path, 0)) state.SkipWithError("template did not load");
        doc.ApplyStartMonth(2027, 4);
        doc.SetPageLayout(QPoint(0, 0), QSize(1000, 1000));
        benchmark::DoNotOptimize(doc.Objects().size());
    }
}

void BM_OpenPhotoTemplate(benchmark::State& state) {
    Open(state, kPhotoTemplate);
}
BENCHMARK(BM_OpenPhotoTemplate)->Unit(benchmark::kMillisecond);

void BM_OpenYearCalendarTemplate(benchmark::State& state) {
    Open(state, kYearTemplate);
}
BENCHMARK(BM_OpenYearCalendarTemplate)->Unit(benchmark::kMillisecond);

// The picture of the photo template: the first JPEG in the file, decoded on its own.
void BM_DecodePhotoPictureOnly(benchmark::State& state) {
    QFile f(kPhotoTemplate);
    if (!f.open(QIODevice::ReadOnly)) {
        state.SkipWithError("template missing");
        return;
    }
    const QByteArray bytes = f.readAll();
    const qsizetype start = bytes.indexOf(QByteArray("\xFF\xD8\xFF", 3));
    const qsizetype end = bytes.indexOf(QByteArray("\xFF\xD9", 2), start);
    if (start < 0 || end < 0) {
        state.SkipWithError("no picture in the template");
        return;
    }
    const QByteArray jpeg = bytes.mid(start, end + 2 - start);
    for (auto _ : state)
        benchmark::DoNotOptimize(TJpegCodec::Decode(jpeg));
}
BENCHMARK(BM_DecodePhotoPictureOnly)->Unit(benchmark::kMillisecond);

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
