// The template chooser before it shows: 200 templates with thumbnails in one folder, prepared
// (folder listing, headers, buttons) against the header test of one template alone. The
// thumbnails are decoded afterwards on a worker thread and are not part of the first figure;
// the second measures preparing and waiting for every thumbnail.
#include "app/dialogs/CarendarSelectDlg.h"
#include "document/TemplateFile.h"
#include "imaging/JpegCodec.h"
#include "platform/StreamWriter.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

const QString kShippedThumbnail = QStringLiteral(KOMOREBI_SOURCE_DIR "/data/Template/A4/フォトカレンダー.jpg");

// An application folder with 200 templates of one kind, each with the shipped thumbnail.
class TChooserFolder {
public:
    TChooserFolder() {
        const QString folder = fDir.path() + QStringLiteral("/Template/A4/");
        QDir().mkpath(folder);
        TStreamWriter header;
        header.WriteInt32(TTemplateFile::kMagic);
        header.WriteInt32(TTemplateFile::kVersion);
        header.WriteBytes(QByteArray(4096, '\0'));
        QFile thumbFile(kShippedThumbnail);
        const QByteArray thumb = thumbFile.open(QIODevice::ReadOnly) ? thumbFile.readAll() : QByteArray();
        for (int i = 0; i < 200; ++i) {
            const QString base = folder + QStringLiteral("template%1").arg(i, 3, 10, QLatin1Char('0'));
            Write(base + ".tda", header.Bytes());
            Write(base + ".jpg", thumb);
        }
        fFirst = folder + QStringLiteral("template000.tda");
    }
    QString AppPath() const { return fDir.path() + QLatin1Char('/'); }
    QString First() const { return fFirst; }

private:
    static void Write(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        if (f.open(QIODevice::WriteOnly)) f.write(bytes);
    }
    QTemporaryDir fDir;
    QString fFirst;
};

TChooserFolder& Folder() {
    static TChooserFolder folder;
    return folder;
}

void BM_ChooserPrepare200(benchmark::State& state) {
    for (auto _ : state) {
        TCarendarSelectDlg dlg(Folder().AppPath());
        if (!dlg.PrepareLists()) state.SkipWithError("no templates");
        // Closing tells the worker to stop after the thumbnail it is decoding.
    }
}
BENCHMARK(BM_ChooserPrepare200)->Unit(benchmark::kMillisecond);

// Prepared, shown and painted once: what the user waits for before the dialog is there.
void BM_ChooserShow200(benchmark::State& state) {
    for (auto _ : state) {
        TCarendarSelectDlg dlg(Folder().AppPath());
        if (!dlg.PrepareLists()) state.SkipWithError("no templates");
        dlg.show();
        benchmark::DoNotOptimize(dlg.grab());
    }
}
BENCHMARK(BM_ChooserShow200)->Unit(benchmark::kMillisecond);

void BM_ChooserPrepareAndAllThumbnails200(benchmark::State& state) {
    for (auto _ : state) {
        TCarendarSelectDlg dlg(Folder().AppPath());
        if (!dlg.PrepareLists()) state.SkipWithError("no templates");
        QEventLoop loop;
        QObject::connect(&dlg, &TCarendarSelectDlg::ThumbnailsLoaded, &loop, &QEventLoop::quit);
        if (dlg.ThumbnailsPending()) loop.exec();
    }
}
BENCHMARK(BM_ChooserPrepareAndAllThumbnails200)->Unit(benchmark::kMillisecond);

void BM_TemplateHeaderTest(benchmark::State& state) {
    const QString first = Folder().First();
    for (auto _ : state)
        benchmark::DoNotOptimize(TTDataUnit::IsTemplateFile(first));
}
BENCHMARK(BM_TemplateHeaderTest)->Unit(benchmark::kMicrosecond);

} // namespace
