// Loading a 50 MB CP932 record file of 500,000 rows against reading it and converting it
// with iconv alone: the difference is what splitting into records and rows costs.
#include "merge/RecordFile.h"
#include "platform/Cp932.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <iconv.h>

namespace {

constexpr int kRows = 500000;

// Written once per run: ~100 bytes a row, one to three rows a key, Japanese text throughout.
const QString& SampleFile() {
    static QTemporaryDir dir;
    static QString path;
    if (!path.isEmpty()) return path;
    path = dir.filePath(QStringLiteral("sample.CSV"));
    const QString names[] = {QStringLiteral("山田太郎"), QStringLiteral("佐藤花子"), QStringLiteral("鈴木一郎"),
                             QStringLiteral("表示能力")};
    const QString towns[] = {QStringLiteral("東京都千代田区丸の内"), QStringLiteral("大阪府大阪市北区梅田"),
                             QStringLiteral("福岡県福岡市博多区"), QStringLiteral("北海道札幌市中央区")};
    QByteArray bytes;
    bytes.reserve(52 * 1024 * 1024);
    int key = 0;
    for (int row = 0; row < kRows; ++row) {
        if (row % 2 == 0 || row % 3 == 0) ++key;
        const QString line =
            QStringLiteral("K%1,%2,%3%4丁目,\"03-%5\",%6.%7,品名\\,型番%8,備考：配送は午前中を希望します\r\n")
                .arg(key, 7, 10, QChar(u'0'))
                .arg(names[row % 4], towns[(row / 4) % 4])
                .arg(row % 9 + 1)
                .arg(1000 + row % 9000)
                .arg(row * 37 % 100000)
                .arg(row % 100, 2, 10, QChar(u'0'))
                .arg(row % 1000);
        bytes += TCp932::Encode(line);
    }
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(bytes);
    return path;
}

void BM_ReadAndIconvOnly(benchmark::State& state) {
    const QString& path = SampleFile();
    iconv_t cd = iconv_open("UTF-16LE", "CP932");
    for (auto _ : state) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) state.SkipWithError("cannot open sample");
        QByteArray bytes = f.readAll();
        QString out(bytes.size(), Qt::Uninitialized);
        char* in = bytes.data();
        size_t inLeft = size_t(bytes.size());
        char* outPtr = reinterpret_cast<char*>(out.data());
        size_t outLeft = size_t(out.size()) * 2;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        benchmark::DoNotOptimize(out.data());
        state.counters["MB"] = double(bytes.size()) / (1024 * 1024);
    }
    iconv_close(cd);
}

void BM_LoadRecordFile(benchmark::State& state) {
    const QString& path = SampleFile();
    for (auto _ : state) {
        TRecordFile file;
        if (!file.LoadFromFile(path)) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(file.Count());
        state.counters["records"] = file.Count();
    }
}

} // namespace

BENCHMARK(BM_ReadAndIconvOnly)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_LoadRecordFile)->Unit(benchmark::kMillisecond)->Iterations(3);
