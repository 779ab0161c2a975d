// The whole output job as a user runs it: `komorebi export` as a child process, timed from start
// to exit, with the child's peak memory. The card sheet of make_peer_card runs against PdfFloor
// (the same pages drawn straight into a PDF: what no program can undercut); statements run with
// one key of many detail rows and with many one-row keys; one page lies under a 7000 x 7000 photo;
// the address side of New Year cards prints a postcard per household (pages_per_s against the
// card sheet's); the shipped year calendar exports with every almanac note on against none
// (notes_x_plain). The card sheet runs again with a QR Code of a URL on every card (qr_x_plain:
// its time over the plain sheet's for the same records, measured in the same run).
// The data of every case is made once per process, outside the timing.
//
// Counters: peak_MB (the child's maximum resident set), pdf_MB, and per series x_floor (card time
// over the floor's for the same records) or peak_x_first (peak memory over that of the series'
// smallest size). The QR sheet also has qr_read: of the QR Codes on its first and last page, as
// pdftoppm renders them at 300 dpi, the share zbarimg reads back as the record's URL; -1 without
// those two programs. A filter runs a part: --benchmark_filter='Card' for the card sheets alone.
//
// Before and after a change, from one build tree holding this benchmark, its tools and PdfFloor:
//   KOMOREBI_BIN=/path/to/before/build/app/komorebi build/bench/OutputBench
//   build/bench/OutputBench                  (the komorebi of this build: ../app/komorebi)
#include "calendar/PriCarendar.h"
#include "document/PriDocument.h"
#include "platform/Cp932.h"

#include "support/BenchPhoto.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <fcntl.h>
#include <map>
#include <spawn.h>
#include <string>
#include <algorithm>
#include <cstdio>
#include <unistd.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

QString BinDir() {
    return QCoreApplication::applicationDirPath();
}

QString Komorebi() {
    const QString chosen = qEnvironmentVariable("KOMOREBI_BIN");
    return chosen.isEmpty() ? BinDir() + QStringLiteral("/../app/komorebi") : chosen;
}

QString Tool(const char* name) {
    return BinDir() + QStringLiteral("/../tools/") + QLatin1String(name);
}

QTemporaryDir& Work() {
    static QTemporaryDir dir;
    return dir;
}

// VmHWM of a live process in KB; 0 once it is gone.
long HighWaterKB(const std::string& statusFile) {
    std::FILE* f = std::fopen(statusFile.c_str(), "r");
    if (!f) return 0;
    char line[256];
    long kb = 0;
    while (std::fgets(line, sizeof line, f))
        if (std::sscanf(line, "VmHWM: %ld kB", &kb) == 1) break;
    std::fclose(f);
    return kb;
}

struct TRun {
    bool Ok = false;
    double Seconds = 0;
    long PeakKB = 0;
    QString Error;
};

// Runs the program with stdout dropped and stderr kept for a failure's message.
TRun Run(const QStringList& command) {
    TRun run;
    std::vector<std::string> args;
    for (const QString& a : command)
        args.push_back(a.toStdString());
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const std::string errors = Work().filePath(QStringLiteral("stderr.txt")).toStdString();
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&files, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &files, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&files);
    if (spawned != 0) {
        run.Error = QStringLiteral("cannot start %1").arg(command[0]);
        return run;
    }
    // The child's own high-water mark, read while it runs: its ru_maxrss would include this
    // process's memory, which the spawned child shared until its exec.
    int status = 0;
    const std::string proc = "/proc/" + std::to_string(pid) + "/status";
    while (true) {
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) break;
        if (done < 0) {
            run.Error = QStringLiteral("lost the child");
            return run;
        }
        run.PeakKB = std::max(run.PeakKB, HighWaterKB(proc));
        usleep(2000);
    }
    run.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.Ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (!run.Ok) {
        QFile f(QString::fromStdString(errors));
        f.open(QIODevice::ReadOnly);
        run.Error = command[0] + QStringLiteral(" failed: ") + QString::fromUtf8(f.read(400));
    }
    return run;
}

// Times command per iteration; returns the mean seconds and the largest peak in KB.
std::pair<double, long> Measure(benchmark::State& state, const QStringList& command, const QString& out) {
    double total = 0;
    long peak = 0;
    for (auto _ : state) {
        const TRun run = Run(command);
        if (!run.Ok) {
            state.SkipWithError(run.Error.toStdString().c_str());
            break;
        }
        state.SetIterationTime(run.Seconds);
        total += run.Seconds;
        peak = std::max(peak, run.PeakKB);
    }
    if (state.error_occurred()) return {0, 0};
    state.counters["peak_MB"] = peak / 1024.0;
    state.counters["pdf_MB"] = QFileInfo(out).size() / 1e6;
    return {total / std::max<benchmark::IterationCount>(1, state.iterations()), peak};
}

bool Made(benchmark::State& state, const TRun& run) {
    if (!run.Ok) state.SkipWithError(run.Error.toStdString().c_str());
    return run.Ok;
}

// make_peer_card's folder for n records, with a QR Code on each card when qr.
QString CardFolder(benchmark::State& state, int n, bool qr = false) {
    const QString dir = Work().filePath((qr ? QStringLiteral("card-qr-%1") : QStringLiteral("card-%1")).arg(n));
    QStringList make{Tool("make_peer_card"), dir, QString::number(n)};
    if (qr) make << QStringLiteral("--qr");
    if (!QFileInfo::exists(dir) && !Made(state, Run(make))) return {};
    return dir;
}

QStringList CardExport(const QString& dir, const QString& out) {
    return {Komorebi(),
            QStringLiteral("export"),
            dir + "/card.tda",
            QStringLiteral("--out"),
            out,
            QStringLiteral("--records"),
            dir + "/recordfile",
            QStringLiteral("--fields"),
            dir + "/fieldfile"};
}

std::map<int, double> gFloorSeconds;
std::map<int, double> gCardSeconds;

void BM_CardFloor(benchmark::State& state) {
    const int n = int(state.range(0));
    const QString dir = CardFolder(state, n);
    if (dir.isEmpty()) return;
    const QString out = dir + QStringLiteral("/floor.pdf");
    gFloorSeconds[n] =
        Measure(state, {BinDir() + QStringLiteral("/PdfFloor"), dir + "/recordfile/card.CSV", out}, out).first;
}
BENCHMARK(BM_CardFloor)->Arg(1000)->Arg(10000)->UseManualTime()->Unit(benchmark::kSecond);

void BM_CardJob(benchmark::State& state) {
    const int n = int(state.range(0));
    const QString dir = CardFolder(state, n);
    if (dir.isEmpty()) return;
    const QString out = dir + QStringLiteral("/komorebi.pdf");
    const double seconds = Measure(state, CardExport(dir, out), out).first;
    gCardSeconds[n] = seconds;
    if (gFloorSeconds[n] > 0) state.counters["x_floor"] = seconds / gFloorSeconds[n];
    if (seconds > 0) state.counters["pages_per_s"] = (n + 9) / 10 / seconds; // ten cards a sheet
}
BENCHMARK(BM_CardJob)->Arg(1000)->Arg(10000)->UseManualTime()->Unit(benchmark::kSecond);

// The standard output of a helper program, or nothing when it does not finish.
QByteArray Output(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    return p.readAllStandardOutput();
}

// The share of the QR Codes on the first and last page of the card sheet that a reader decodes
// as their record's URL; -1 when pdftoppm or zbarimg is missing.
double QrRead(const QString& pdf, int records) {
    const QString render = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    const QString reader = QStandardPaths::findExecutable(QStringLiteral("zbarimg"));
    if (render.isEmpty() || reader.isEmpty()) return -1;
    const int pages = (records + 9) / 10;
    int expected = 0, decoded = 0;
    for (const int page : QSet<int>{1, pages}) {
        const QString png = Work().filePath(QStringLiteral("qr-page"));
        QFile::remove(png + ".png");
        Output(render, {QStringLiteral("-r"), QStringLiteral("300"), QStringLiteral("-f"), QString::number(page),
                        QStringLiteral("-l"), QString::number(page), QStringLiteral("-png"),
                        QStringLiteral("-singlefile"), pdf, png});
        const QList<QByteArray> found =
            Output(reader, {QStringLiteral("--raw"), QStringLiteral("-q"), png + ".png"}).split('\n');
        for (int i = (page - 1) * 10 + 1; i <= std::min(page * 10, records); ++i) {
            ++expected;
            if (found.contains(QStringLiteral("https://example.jp/card/%1").arg(i, 6, 10, QLatin1Char('0')).toUtf8()))
                ++decoded;
        }
    }
    return expected > 0 ? double(decoded) / expected : 0;
}

// The card sheet with a QR Code per card, after the plain sheet of the same size.
void BM_CardJobQr(benchmark::State& state) {
    static std::map<int, long> peaks;
    const int n = int(state.range(0));
    const QString dir = CardFolder(state, n, true);
    if (dir.isEmpty()) return;
    const QString out = dir + QStringLiteral("/komorebi.pdf");
    const auto [seconds, peak] = Measure(state, CardExport(dir, out), out);
    if (seconds <= 0) return;
    state.counters["pages_per_s"] = (n + 9) / 10 / seconds;
    if (gCardSeconds[n] > 0) state.counters["qr_x_plain"] = seconds / gCardSeconds[n];
    peaks[n] = peak;
    if (peaks.begin()->second > 0) state.counters["peak_x_first"] = double(peak) / peaks.begin()->second;
    state.counters["qr_read"] = QrRead(out, n);
}
BENCHMARK(BM_CardJobQr)->Arg(1000)->Arg(10000)->UseManualTime()->Unit(benchmark::kSecond);

bool WriteCp932(const QString& path, const QStringList& lines) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(TCp932::Encode(lines.join(QStringLiteral("\r\n")) + "\r\n")) >= 0;
}

// The address side of New Year cards: one postcard per household, the shipped list repeated to n
// lines with keys of their own.
void BM_AddressCards(benchmark::State& state) {
    const int n = int(state.range(0));
    const QString dir = Work().filePath(QStringLiteral("address-%1").arg(n));
    if (!QFileInfo::exists(dir + "/Template") && !Made(state, Run({Tool("make_address_side"), dir}))) return;
    QFile list(dir + QStringLiteral("/recordfile/宛名.CSV"));
    if (!list.open(QIODevice::ReadOnly)) return state.SkipWithError("no address list");
    const QStringList shipped = TCp932::Decode(list.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    list.close();
    QStringList lines;
    for (int i = 0; i < n; ++i) {
        QString line = shipped[i % shipped.size()];
        lines << QStringLiteral("B%1").arg(i + 1, 5, 10, QLatin1Char('0')) + line.mid(line.indexOf(u','));
    }
    if (!WriteCp932(list.fileName(), lines)) return state.SkipWithError("cannot write the address list");
    const QString out = dir + QStringLiteral("/cards.pdf");
    const double seconds =
        Measure(state,
                {Komorebi(), QStringLiteral("export"), dir + QStringLiteral("/Template/Hagaki/宛名面.tda"),
                 QStringLiteral("--out"), out, QStringLiteral("--records"), dir + "/recordfile",
                 QStringLiteral("--fields"), dir + "/fieldfile"},
                out)
            .first;
    if (seconds > 0) state.counters["pages_per_s"] = n / seconds;
}
BENCHMARK(BM_AddressCards)->Arg(1000)->UseManualTime()->Unit(benchmark::kSecond);

// The shipped statement template and field files, made once.
QString MergeFolder(benchmark::State& state) {
    const QString dir = Work().filePath(QStringLiteral("merge"));
    if (!QFileInfo::exists(dir + "/Template") && !Made(state, Run({Tool("make_merge_templates"), dir}))) return {};
    return dir;
}

// A record folder of keys statements with rows detail rows each.
QString StatementRecords(int keys, int rows) {
    const QString dir = Work().filePath(QStringLiteral("statements-%1x%2").arg(keys).arg(rows));
    if (QFileInfo::exists(dir)) return dir;
    QDir().mkpath(dir);
    QStringList heads, lines;
    for (int k = 1; k <= keys; ++k) {
        const QString number = QStringLiteral("B%1").arg(k, 6, 10, QLatin1Char('0'));
        heads << QStringList{number,
                             QStringLiteral("2027年4月30日"),
                             QStringLiteral("K001"),
                             QStringLiteral("100-0005"),
                             QStringLiteral("東京都千代田区丸の内9-2-1"),
                             QStringLiteral("こもれびビル 12F"),
                             QStringLiteral("株式会社こもれび商事"),
                             QStringLiteral("営業部"),
                             QStringLiteral("佐藤　美咲"),
                             QStringLiteral("4月分 事務用品"),
                             QString::number(rows * 6000),
                             QString::number(rows * 600),
                             QString::number(rows * 6600),
                             QStringLiteral("2027年5月31日")}
                     .join(u',');
        for (int r = 0; r < rows; ++r)
            lines << QStringList{number,
                                 QStringLiteral("4/%1").arg(1 + r % 28),
                                 QStringLiteral("S%1").arg(1 + r % 20, 3, 10, QLatin1Char('0')),
                                 QStringLiteral("ボールペン 0.5mm, 黒"),
                                 QStringLiteral("50"),
                                 QStringLiteral("本"),
                                 QStringLiteral("120"),
                                 QStringLiteral("6000")}
                         .join(u'\t');
    }
    if (!WriteCp932(dir + QStringLiteral("/明細書.CSV"), heads) ||
        !WriteCp932(dir + QStringLiteral("/明細行.TAB"), lines))
        return {};
    return dir;
}

void Statements(benchmark::State& state, int keys, int rows, long& firstPeak) {
    const QString merge = MergeFolder(state);
    if (merge.isEmpty()) return;
    const QString records = StatementRecords(keys, rows);
    if (records.isEmpty()) {
        state.SkipWithError("cannot write the record files");
        return;
    }
    const QString out = records + QStringLiteral("/out.pdf");
    const long peak = Measure(state,
                              {Komorebi(), QStringLiteral("export"), merge + QStringLiteral("/Template/A4/明細書.tda"),
                               QStringLiteral("--out"), out, QStringLiteral("--records"), records,
                               QStringLiteral("--fields"), merge + QStringLiteral("/fieldfile")},
                              out)
                          .second;
    if (firstPeak == 0) firstPeak = peak;
    if (firstPeak > 0) state.counters["peak_x_first"] = double(peak) / firstPeak;
}

void BM_StatementDetailRows(benchmark::State& state) {
    static long first = 0;
    Statements(state, 1, int(state.range(0)), first);
}
BENCHMARK(BM_StatementDetailRows)->Arg(150)->Arg(3000)->Arg(100000)->UseManualTime()->Unit(benchmark::kSecond);

void BM_OneRowStatements(benchmark::State& state) {
    static long first = 0;
    Statements(state, int(state.range(0)), 1, first);
}
BENCHMARK(BM_OneRowStatements)->Arg(1000)->Arg(10000)->Arg(100000)->UseManualTime()->Unit(benchmark::kSecond);

// One A4 page whose background is a 7000 x 7000 photo.
void BM_PhotoBackgroundPage(benchmark::State& state) {
    const QString path = Work().filePath(QStringLiteral("photo.tda"));
    if (!QFileInfo::exists(path)) {
        TPriDocument doc{QString()};
        doc.PrintPaper.SetFields({0, 0, 1, 0, 2100, 2970, 0, 0, 0, 0, 0, 0, 1, 1, 2100, 2970});
        doc.BackObject.FMainBack = BenchPhoto(7000, 7000);
        if (!doc.Save(path, 0)) {
            state.SkipWithError("cannot save the template");
            return;
        }
    }
    const QString out = Work().filePath(QStringLiteral("photo.pdf"));
    Measure(state, {Komorebi(), QStringLiteral("export"), path, QStringLiteral("--out"), out}, out);
}
BENCHMARK(BM_PhotoBackgroundPage)->UseManualTime()->Unit(benchmark::kSecond);

// The shipped year calendar with every almanac note on its twelve months, and without.
void BM_YearCalendarNotes(benchmark::State& state) {
    const bool notes = state.range(0) != 0;
    const QString path = Work().filePath(notes ? QStringLiteral("year-notes.tda") : QStringLiteral("year-plain.tda"));
    if (!QFileInfo::exists(path)) {
        TPriDocument doc{QString()};
        if (!doc.Load(QStringLiteral(KOMOREBI_SOURCE_DIR "/data/Template/A4/年間カレンダー.tda"), 0)) {
            state.SkipWithError("cannot open the year calendar");
            return;
        }
        // Numbers in the corner, so the small months have room for notes beside and below them.
        for (auto& obj : doc.Objects())
            if (obj->ObjectNum == okCarendar) {
                auto& cal = static_cast<TPriCarendar&>(*obj);
                cal.SidePos = TPriCarendar::TSidePos::psLeft;
                cal.LongPos = TPriCarendar::TLongPos::tlTop;
                cal.Extras.AlmanacItems = notes ? (TObjectExtras::aiFamilyYears << 1) - 1 : 0;
                cal.Extras.AlmanacSize = 4;
            }
        if (!doc.Save(path, 0)) {
            state.SkipWithError("cannot save the calendar");
            return;
        }
    }
    const QString out = Work().filePath(QStringLiteral("year.pdf"));
    const double seconds =
        Measure(state,
                {Komorebi(), QStringLiteral("export"), path, QStringLiteral("--out"), out, QStringLiteral("--year"),
                 QStringLiteral("2027"), QStringLiteral("--month"), QStringLiteral("1")},
                out)
            .first;
    static double plain = 0;
    if (!notes)
        plain = seconds;
    else if (plain > 0)
        state.counters["notes_x_plain"] = seconds / plain;
}
BENCHMARK(BM_YearCalendarNotes)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kSecond);

} // namespace
