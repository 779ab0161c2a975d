// Opening templates against the part no container can avoid, decoding the picture: a shipped
// template as the chooser opens it (load, re-date, lay out), the year calendar with the most
// objects of the shipped set, and the bare load of a template with a 4000 x 3000 background.
#include "document/PriDocument.h"
#include "document/TemplateFile.h"
#include "imaging/JpegCodec.h"
#include "platform/FontMap.h"
#include "platform/StreamReader.h"

#include "support/BenchPhoto.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

const QString kDataDir = QStringLiteral(KOMOREBI_SOURCE_DIR "/data/");
const QString kPhotoTemplate = kDataDir + QStringLiteral("Template/A4/フォトカレンダー.tda");
const QString kYearTemplate = kDataDir + QStringLiteral("Template/A4/年間カレンダー.tda");

void Open(benchmark::State& state, const QString& path) {
    for (auto _ : state) {
        TPriDocument doc(kDataDir);
        if (!doc.Load(path, 0)) state.SkipWithError("template did not load");
        doc.ApplyStartMonth(2027, 4);
        doc.ScaleToPaper();
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

struct TFixture {
    QTemporaryDir Dir;
    QString Path = Dir.filePath(QStringLiteral("photo.tda"));
    QByteArray Jpeg;

    TFixture() {
        TPriDocument doc{QString()};
        doc.PrintPaper.SetFields({0, 0, 1, 0, 2100, 2970, 0, 0, 0, 0, 0, 0, 1, 1, 2100, 2970});
        doc.BackObject.FMainBack = BenchPhoto(4000, 3000);
        doc.Save(Path, 0);
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
    TPriDocument doc{QString()};
    for (auto _ : state) {
        if (!doc.Load(Fixture().Path, 0)) state.SkipWithError("load failed");
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
