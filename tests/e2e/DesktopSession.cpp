#include "e2e/DesktopSession.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>
#include <unistd.h>

namespace {

// Longest wait for a window to appear: a first start under load takes a few seconds.
constexpr int kWindowWaitMs = 45000;

QString Run(const QString& program, const QStringList& args, int waitMs, bool* ok) {
    QProcess p;
    p.start(program, args);
    bool done = p.waitForStarted(waitMs) && p.waitForFinished(waitMs);
    if (!done) {
        p.kill();
        p.waitForFinished(2000);
    }
    if (ok) *ok = done && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
}

QRect WindowGeometry(TDesktopSession& session, const QString& window) {
    bool ok = false;
    const QString text =
        session.XDoTool({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), window}, 10000, &ok);
    int x = 0, y = 0, w = 0, h = 0;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const QString key = line.section(QLatin1Char('='), 0, 0);
        const int value = line.section(QLatin1Char('='), 1).toInt();
        if (key == QLatin1String("X")) x = value;
        if (key == QLatin1String("Y")) y = value;
        if (key == QLatin1String("WIDTH")) w = value;
        if (key == QLatin1String("HEIGHT")) h = value;
    }
    return ok ? QRect(x, y, w, h) : QRect();
}

} // namespace

TDesktopSession::TDesktopSession() : fTemp(QStringLiteral(KOMOREBI_BINARY_DIR "/e2e-XXXXXX")) {
    // KOMOREBI_E2E_KEEP=1 leaves the files and the programs' folders for a look afterwards.
    if (qEnvironmentVariableIsSet("KOMOREBI_E2E_KEEP")) fTemp.setAutoRemove(false);
    if (!fTemp.isValid()) {
        fError = QStringLiteral("no temporary folder under the build folder");
        return;
    }
    if (!QDir().mkpath(Folder()) || !CopyAppFolder(QStringLiteral(KOMOREBI_APP_DIR), AppFolder())) {
        if (fError.isEmpty()) fError = QStringLiteral("cannot copy the application folder");
        return;
    }
    fReady = true;
}

TDesktopSession::~TDesktopSession() = default;

QString TDesktopSession::MissingTools() {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) return QStringLiteral("no X display (run it under xvfb-run -a)");
    for (const char* tool : {"xdotool", "import"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            return QStringLiteral("%1 is not installed").arg(QString::fromLatin1(tool));
    return QString();
}

// The program and its libraries are linked, not copied: they are never written. Everything else
// is a copy the program may change, without the settings an earlier run left behind.
bool TDesktopSession::CopyAppFolder(const QString& from, const QString& to) {
    if (!QFileInfo(from + QStringLiteral("/komorebi")).isExecutable()) {
        fError = QStringLiteral("%1/komorebi is not built").arg(from);
        return false;
    }
    const QDir source(from);
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    QDir().mkpath(to);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = source.relativeFilePath(path);
        const QString target = to + relative;
        if (it.fileInfo().isDir()) {
            if (!QDir().mkpath(target)) return false;
            continue;
        }
        if (relative == QLatin1String("settings/settings.ini")) continue;
        const bool binary = it.fileInfo().isExecutable() || relative.endsWith(QLatin1String(".so"));
        if (binary && ::link(QFile::encodeName(path).constData(), QFile::encodeName(target).constData()) == 0) continue;
        if (!QFile::copy(path, target)) return false;
        QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner);
    }
    return true;
}

QString TDesktopSession::XDoTool(const QStringList& args, int waitMs, bool* ok) {
    return Run(QStringLiteral("xdotool"), args, waitMs, ok);
}

QProcessEnvironment TDesktopSession::Environment(const QString& name) {
    const QString home = fTemp.path() + QStringLiteral("/") + name;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_SCALE_FACTOR"));
    const struct {
        const char* Variable;
        const char* Folder;
    } folders[] = {{"HOME", "home"},
                   {"XDG_RUNTIME_DIR", "runtime"},
                   {"XDG_CONFIG_HOME", "config"},
                   {"XDG_DATA_HOME", "data"},
                   {"XDG_CACHE_HOME", "cache"}};
    for (const auto& f : folders) {
        const QString folder = home + QLatin1Char('/') + QLatin1String(f.Folder);
        QDir().mkpath(folder);
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        env.insert(QString::fromLatin1(f.Variable), folder);
    }
    return env;
}

TDesktopSession::TProgram TDesktopSession::Start(const QString& name, const QString& file) {
    TProgram program;
    program.Name = name;
    const QString home = fTemp.path() + QStringLiteral("/") + name;
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(Environment(name));
    process->setProcessChannelMode(QProcess::MergedChannels);
    process->setStandardOutputFile(home + QStringLiteral("/output.txt"));
    process->start(AppFolder() + QStringLiteral("komorebi"), {QStringLiteral("--no-splash"), file});
    if (!process->waitForStarted(10000)) return program;
    const QString pid = QString::number(process->processId());
    bool ok = false;
    const QString found =
        XDoTool({QStringLiteral("search"), QStringLiteral("--sync"), QStringLiteral("--onlyvisible"),
                 QStringLiteral("--all"), QStringLiteral("--pid"), pid, QStringLiteral("--name"), QStringLiteral(".")},
                kWindowWaitMs, &ok);
    if (!ok || found.isEmpty()) {
        process->kill();
        process->waitForFinished(5000);
        return program;
    }
    // The main window is the largest the program shows.
    for (const QString& window : found.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QRect g = WindowGeometry(*this, window.trimmed());
        if (qint64(g.width()) * g.height() > qint64(program.Geometry.width()) * program.Geometry.height()) {
            program.Geometry = g;
            program.Window = window.trimmed();
        }
    }
    program.Process = std::move(process);
    // Its first picture is painted once the event loop runs.
    Pause(800);
    return program;
}

int TDesktopSession::HandOver(const QString& name, const QString& file) {
    QProcess second;
    second.setProcessEnvironment(Environment(name));
    second.start(AppFolder() + QStringLiteral("komorebi"), {QStringLiteral("--no-splash"), file});
    const bool ended = second.waitForFinished(20000);
    return ended && second.exitStatus() == QProcess::NormalExit ? second.exitCode() : -1;
}

QStringList TDesktopSession::Dialogs(const TProgram& program) {
    const QString pid = QString::number(program.Process ? program.Process->processId() : 0);
    const QString found = XDoTool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--all"),
                                   QStringLiteral("--pid"), pid, QStringLiteral("--name"), QStringLiteral(".")});
    QStringList windows;
    for (const QString& window : found.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        if (window.trimmed() != program.Window) windows << window.trimmed();
    return windows;
}

QString TDesktopSession::WindowName(const QString& window) {
    return XDoTool({QStringLiteral("getwindowname"), window});
}

bool TDesktopSession::Quit(TProgram& program) {
    if (!program.Process) return false;
    Focus(program);
    Keys(QStringLiteral("ctrl+q"));
    // Closing always asks whether to save; the tests have saved what they meant to.
    AnswerDialog(program, QStringLiteral("alt+n"));
    if (program.Process->waitForFinished(15000)) return program.Process->exitStatus() == QProcess::NormalExit;
    program.Process->kill();
    program.Process->waitForFinished(5000);
    return false;
}

bool TDesktopSession::AnswerDialog(const TProgram& program, const QString& keys) {
    QElapsedTimer clock;
    clock.start();
    const QString pid = QString::number(program.Process ? program.Process->processId() : 0);
    do {
        const QString found =
            XDoTool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--all"),
                     QStringLiteral("--pid"), pid, QStringLiteral("--name"), QStringLiteral(".")});
        for (const QString& window : found.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            if (window.trimmed() == program.Window) continue;
            // The keys go to the window under the pointer.
            MouseMove(WindowGeometry(*this, window.trimmed()).center());
            XDoTool({QStringLiteral("windowfocus"), window.trimmed()});
            Pause(200);
            return Keys(keys);
        }
        Pause(200);
    } while (clock.elapsed() < 10000);
    return false;
}

void TDesktopSession::Focus(const TProgram& program) {
    MouseMove(program.Geometry.center());
    XDoTool({QStringLiteral("windowfocus"), program.Window});
    Pause(200);
}

bool TDesktopSession::Keys(const QString& keys) {
    bool ok = false;
    QStringList args{QStringLiteral("key"), QStringLiteral("--clearmodifiers"), QStringLiteral("--delay"),
                     QStringLiteral("80")};
    args += keys.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    XDoTool(args, 10000, &ok);
    // Let the program take the keys before the next look.
    Pause(300);
    return ok;
}

bool TDesktopSession::MouseMove(QPoint screen) {
    bool ok = false;
    XDoTool({QStringLiteral("mousemove"), QString::number(screen.x()), QString::number(screen.y())}, 10000, &ok);
    Pause(60);
    return ok;
}

bool TDesktopSession::MouseDown() {
    bool ok = false;
    XDoTool({QStringLiteral("mousedown"), QStringLiteral("1")}, 10000, &ok);
    Pause(100);
    return ok;
}

bool TDesktopSession::MouseUp() {
    bool ok = false;
    XDoTool({QStringLiteral("mouseup"), QStringLiteral("1")}, 10000, &ok);
    Pause(200);
    return ok;
}

QImage TDesktopSession::Screen() {
    const QString file = fTemp.path() + QStringLiteral("/screen.png");
    QFile::remove(file);
    bool ok = false;
    Run(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), file}, 20000, &ok);
    return ok ? QImage(file).convertToFormat(QImage::Format_RGB32) : QImage();
}

bool TDesktopSession::WaitForScreen(const std::function<bool(const QImage&)>& holds, int waitMs) {
    QElapsedTimer clock;
    clock.start();
    do {
        const QImage screen = Screen();
        if (!screen.isNull() && holds(screen)) return true;
        Pause(200);
    } while (clock.elapsed() < waitMs);
    return false;
}

bool TDesktopSession::WaitUntil(const std::function<bool()>& holds, int waitMs) {
    QElapsedTimer clock;
    clock.start();
    while (!holds()) {
        if (clock.elapsed() > waitMs) return false;
        Pause(200);
    }
    return true;
}

bool TDesktopSession::WaitForWrite(const QString& file, const QDateTime& before, int waitMs) {
    QElapsedTimer clock;
    clock.start();
    do {
        const QFileInfo info(file);
        if (info.exists() && info.lastModified() != before) {
            // The save replaces the file whole; give the rename a moment to settle.
            Pause(200);
            return true;
        }
        Pause(100);
    } while (clock.elapsed() < waitMs);
    return false;
}

void TDesktopSession::Pause(int ms) {
    QThread::msleep(ms);
}

QRect FindColour(const QImage& screen, QRgb colour) {
    int left = screen.width(), top = screen.height(), right = -1, bottom = -1;
    for (int y = 0; y < screen.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(screen.constScanLine(y));
        for (int x = 0; x < screen.width(); ++x) {
            if ((line[x] & 0xFFFFFF) != (colour & 0xFFFFFF)) continue;
            left = std::min(left, x), right = std::max(right, x);
            top = std::min(top, y), bottom = std::max(bottom, y);
        }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}
