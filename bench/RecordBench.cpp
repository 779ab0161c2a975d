// Record files: loading a 1,000,000-row CP932 file against reading it and converting it with
// iconv alone (the difference is what splitting into records and rows costs), the peak memory
// of the load, key look-ups, and the window's start-up with such a file in the record folder.
// KOMOREBI_BENCH_APP_DIR names another built application folder to start instead of this one's.
#include "merge/RecordFile.h"
#include "platform/Cp932.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <iconv.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kRows = 1000000;
constexpr int kKeys = 100000;

// ~100 bytes a row, one to three rows a key, Japanese text throughout.
QByteArray SampleBytes(int rows) {
    const QString names[] = {QStringLiteral("山田太郎"), QStringLiteral("佐藤花子"), QStringLiteral("鈴木一郎"),
                             QStringLiteral("表示能力")};
    const QString towns[] = {QStringLiteral("東京都千代田区丸の内"), QStringLiteral("大阪府大阪市北区梅田"),
                             QStringLiteral("福岡県福岡市博多区"), QStringLiteral("北海道札幌市中央区")};
    QByteArray bytes;
    bytes.reserve(qsizetype(rows) * 110);
    int key = 0;
    for (int row = 0; row < rows; ++row) {
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
    return bytes;
}

QTemporaryDir& Scratch() {
    static QTemporaryDir dir;
    return dir;
}

// Written once per run.
const QString& SampleFile() {
    static QString path;
    if (!path.isEmpty()) return path;
    path = Scratch().filePath(QStringLiteral("sample.CSV"));
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(SampleBytes(kRows));
    return path;
}

double ReadAndIconvMs(const QString& path, qint64* size = nullptr) {
    QElapsedTimer clock;
    clock.start();
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return -1;
    QByteArray bytes = f.readAll();
    QString out(bytes.size(), Qt::Uninitialized);
    iconv_t cd = iconv_open("UTF-16LE", "CP932");
    char* in = bytes.data();
    size_t inLeft = size_t(bytes.size());
    char* outPtr = reinterpret_cast<char*>(out.data());
    size_t outLeft = size_t(out.size()) * 2;
    iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    benchmark::DoNotOptimize(out.data());
    if (size) *size = bytes.size();
    return clock.nsecsElapsed() / 1e6;
}

double StatusMb(pid_t pid, const char* field) {
    QFile status(pid ? QStringLiteral("/proc/%1/status").arg(pid) : QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field)) return line.mid(qstrlen(field)).trimmed().split(' ').front().toDouble() / 1024;
    return -1;
}

// The load's own peak, from a child that does nothing else: its high-water mark less what it
// started with.
double LoadPeakMb(const QString& path) {
    int fds[2];
    if (pipe(fds) != 0) return -1;
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        const double base = StatusMb(0, "VmRSS:");
        TRecordFile file;
        file.LoadFromFile(path);
        const double peak = StatusMb(0, "VmHWM:") - base;
        (void)!write(fds[1], &peak, sizeof peak);
        _exit(0);
    }
    close(fds[1]);
    double peak = -1;
    if (read(fds[0], &peak, sizeof peak) != sizeof peak) peak = -1;
    close(fds[0]);
    waitpid(child, nullptr, 0);
    return peak;
}

void BM_ReadAndIconvOnly(benchmark::State& state) {
    const QString& path = SampleFile();
    qint64 size = 0;
    for (auto _ : state)
        state.SetIterationTime(ReadAndIconvMs(path, &size) / 1000);
    state.counters["MB"] = double(size) / (1024 * 1024);
}

void BM_LoadRecordFile(benchmark::State& state) {
    const QString& path = SampleFile();
    double loadMs = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        TRecordFile file;
        if (!file.LoadFromFile(path)) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(file.Count());
        loadMs += clock.nsecsElapsed() / 1e6;
        state.counters["records"] = file.Count();
    }
    double plainMs = 0;
    for (int i = 0; i < 3; ++i)
        plainMs += ReadAndIconvMs(path);
    const double fileMb = double(QFileInfo(path).size()) / (1024 * 1024);
    const double peakMb = LoadPeakMb(path);
    state.counters["xReadIconv"] = (loadMs / double(state.iterations())) / (plainMs / 3);
    state.counters["peakMB"] = peakMb;
    state.counters["xFileSize"] = peakMb / fileMb;
}

// Every key of a file of 100,000 one-row records looked up once, as the detail-printing modes do.
void BM_IndexOfKey(benchmark::State& state) {
    QByteArray bytes;
    for (int k = 0; k < kKeys; ++k)
        bytes += "S" + QByteArray::number(k) + ",item\r\n";
    TRecordFile file;
    if (!file.LoadFromBytes(bytes, QStringLiteral("keys.CSV"))) state.SkipWithError("load failed");
    QStringList keys;
    for (int i = 0; i < file.Count(); ++i)
        keys.append(file.KeyAt(i));
    for (auto _ : state) {
        int found = 0;
        for (const QString& key : keys)
            found += file.IndexOfKey(key) >= 0;
        if (found != kKeys) state.SkipWithError("a key was not found");
    }
}

// A copy of the application folder with its own record folder: programs are copied, shipped
// data linked, and what the program writes is its own.
QString AppCopy(const QString& source, bool withRecords) {
    const QString root = Scratch().filePath(withRecords ? QStringLiteral("app-records") : QStringLiteral("app-empty"));
    if (QFileInfo::exists(root)) return root;
    QDir().mkpath(root);
    const QDir from(source);
    for (const QFileInfo& entry : from.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
        const QString target = root + QLatin1Char('/') + entry.fileName();
        const QString name = entry.fileName();
        if (entry.isFile()) {
            // A symbolic link to the program would take its folder to be the source folder.
            QFile::copy(entry.filePath(), target);
        } else if (name == QLatin1String("settings")) {
            QDir().mkpath(target);
            for (const QFileInfo& f : QDir(entry.filePath()).entryInfoList(QDir::Files))
                if (f.fileName() != QLatin1String("settings.ini"))
                    QFile::copy(f.filePath(), target + "/" + f.fileName());
        } else if (name == QLatin1String("recordfile") || name == QLatin1String("UserData") ||
                   name == QLatin1String("temp")) {
            QDir().mkpath(target);
        } else {
            QFile::link(entry.filePath(), target);
        }
    }
    if (withRecords) QFile::copy(SampleFile(), root + QStringLiteral("/recordfile/sample.CSV"));
    return root;
}

// From the start of the program to its first painted window with a template open; the child
// prints its start-up phases then, and is stopped once they are read.
void StartWindow(benchmark::State& state, bool withRecords) {
    const QByteArray other = qgetenv("KOMOREBI_BENCH_APP_DIR");
    const QString root =
        AppCopy(other.isEmpty() ? QStringLiteral(KOMOREBI_APP_DIR) : QString::fromLocal8Bit(other), withRecords);
    double peakMb = 0;
    for (auto _ : state) {
        QTemporaryDir runtime;
        QFile::setPermissions(runtime.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QProcess app;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        env.insert(QStringLiteral("XDG_DATA_HOME"), runtime.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), runtime.path());
        app.setProcessEnvironment(env);
        QElapsedTimer clock;
        clock.start();
        app.start(root + QStringLiteral("/komorebi"),
                  {QStringLiteral("--no-splash"), QStringLiteral("--startup-timing"),
                   root + QStringLiteral("/Template/A4/年間カレンダー.tda")});
        QByteArray out;
        while (!out.contains("startup phase") && app.waitForReadyRead(60000))
            out += app.readAllStandardOutput();
        state.SetIterationTime(clock.nsecsElapsed() / 1e9);
        peakMb = StatusMb(pid_t(app.processId()), "VmHWM:");
        app.kill();
        app.waitForFinished();
        if (!out.contains("startup phase")) state.SkipWithError("the window did not show");
    }
    state.counters["peakMB"] = peakMb;
}

void BM_StartWindowEmptyRecordFolder(benchmark::State& state) {
    StartWindow(state, false);
}

void BM_StartWindowMillionRowRecordFile(benchmark::State& state) {
    StartWindow(state, true);
}

} // namespace

BENCHMARK(BM_ReadAndIconvOnly)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
BENCHMARK(BM_LoadRecordFile)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_IndexOfKey)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_StartWindowEmptyRecordFolder)->Unit(benchmark::kMillisecond)->Iterations(5)->UseManualTime();
BENCHMARK(BM_StartWindowMillionRowRecordFile)->Unit(benchmark::kMillisecond)->Iterations(5)->UseManualTime();
