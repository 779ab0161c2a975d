#pragma once

// A CUPS scheduler of the test's own: its own configuration, spool and socket in a temporary
// folder, one CUPS-PDF queue writing into that folder. The system's scheduler and queues are never
// touched; the scheduler stops and the files go when this object goes, and the scheduler also
// stops should the test process die first.

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <csignal>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

#ifdef KOMOREBI_HAVE_CUPS
#include <cups/cups.h>
#endif

class TPrivateCups {
public:
    static constexpr const char* kCupsd = "/usr/sbin/cupsd";
    static constexpr const char* kBackend = "/usr/lib/cups/backend/cups-pdf";
    static constexpr const char* kPpd = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd";
    // The CUPS-PDF backend reads its settings only from here, named after the queue's device.
    static constexpr const char* kBackendConfDir = "/etc/cups";

    // What is missing for a real print job here; empty when nothing is.
    static QString Missing() {
        QStringList missing;
        for (const char* file : {kCupsd, kBackend, kPpd})
            if (!QFileInfo::exists(QString::fromLatin1(file))) missing << QString::fromLatin1(file);
        for (const char* tool : {"lpadmin", "lpstat", "pdfinfo", "pdftoppm", "zbarimg"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty() &&
                QStandardPaths::findExecutable(QString::fromLatin1(tool), {QStringLiteral("/usr/sbin")}).isEmpty())
                missing << QString::fromLatin1(tool);
        if (!missing.isEmpty())
            return QStringLiteral("not installed: %1 (packages cups, cups-client, printer-driver-cups-pdf, "
                                  "poppler-utils, zbar-tools)")
                .arg(missing.join(QStringLiteral(", ")));
        // The backend runs as root only when the scheduler does, and its settings live in /etc/cups.
        if (geteuid() != 0) return QStringLiteral("a scheduler with the CUPS-PDF backend needs root");
        if (!QFileInfo(QString::fromLatin1(kBackendConfDir)).isWritable())
            return QStringLiteral("%1 is not writable").arg(QString::fromLatin1(kBackendConfDir));
#ifndef KOMOREBI_HAVE_CUPS
        return QStringLiteral("built without the CUPS library");
#endif
        return QString();
    }

    TPrivateCups() = default;
    TPrivateCups(const TPrivateCups&) = delete;
    TPrivateCups& operator=(const TPrivateCups&) = delete;

    ~TPrivateCups() {
        if (fCupsd.state() != QProcess::NotRunning) {
            fCupsd.terminate();
            if (!fCupsd.waitForFinished(10000)) {
                fCupsd.kill();
                fCupsd.waitForFinished(5000);
            }
        }
        if (!fBackendConf.isEmpty()) QFile::remove(fBackendConf);
        if (!fOldServer.isNull())
            qputenv("CUPS_SERVER", fOldServer);
        else
            qunsetenv("CUPS_SERVER");
#ifdef KOMOREBI_HAVE_CUPS
        cupsSetServer(nullptr);
#endif
    }

    const QString& Queue() const {
        return fQueue;
    }
    QString Socket() const {
        return fDir.filePath(QStringLiteral("cups.sock"));
    }
    QString OutDir() const {
        return fDir.filePath(QStringLiteral("out"));
    }
    // For a child process that should print on this scheduler.
    QProcessEnvironment Environment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("CUPS_SERVER"), Socket());
        return env;
    }

    // Starts the scheduler, adds the queue as its default and points this process at it.
    bool Start(QString* error) {
        const auto fail = [error](const QString& text) {
            if (error) *error = text;
            return false;
        };
        if (!fDir.isValid()) return fail(QStringLiteral("no temporary folder"));
        const QString d = fDir.path();
        // The filters run as the scheduler's user and must reach the spool below this folder.
        QFile::setPermissions(d, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                     QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                     QFileDevice::ExeOther);
        for (const char* sub : {"out", "spool", "cache", "state", "log", "tmp", "ssl", "pdfspool"})
            QDir(d).mkpath(QString::fromLatin1(sub));
        QFile::setPermissions(OutDir(), QFileDevice::Permissions(0x7777));
        // The filters, run as the scheduler's user, keep their temporary files here.
        chmod(QFile::encodeName(fDir.filePath(QStringLiteral("tmp"))).constData(), 01777);
        if (!Write(QStringLiteral("cupsd.conf"),
                   QStringLiteral("Listen %1\nLogLevel warn\nBrowsing No\nWebInterface No\nDefaultAuthType None\n"
                                  "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                                  "<Location /admin>\n  Order allow,deny\n  Allow all\n</Location>\n"
                                  "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n")
                       .arg(Socket())) ||
            !Write(QStringLiteral("cups-files.conf"),
                   QStringLiteral("ServerRoot %1\nStateDir %1/state\nCacheDir %1/cache\nRequestRoot %1/spool\n"
                                  "TempDir %1/tmp\nServerKeychain %1/ssl\nPrintcap %1/printcap\n"
                                  "ErrorLog %1/log/error_log\nAccessLog %1/log/access_log\n"
                                  "PageLog %1/log/page_log\n")
                       .arg(d)))
            return fail(QStringLiteral("cannot write the scheduler's configuration"));

        // The backend's settings, named after this process so parallel tests keep apart.
        const QString device = QStringLiteral("komorebi-test-%1").arg(getpid());
        fBackendConf = QStringLiteral("%1/cups-pdf-%2.conf").arg(QString::fromLatin1(kBackendConfDir), device);
        {
            QFile conf(fBackendConf);
            if (!conf.open(QIODevice::WriteOnly | QIODevice::Truncate))
                return fail(QStringLiteral("cannot write %1").arg(fBackendConf));
            // Label 2 puts the job number in every file name: jobs of one title must not overwrite each other.
            conf.write(QStringLiteral("Out %1\nAnonDirName %1\nLabel 2\nSpool %2/pdfspool\nLog %2/log\n")
                           .arg(OutDir(), d)
                           .toUtf8());
        }

        fCupsd.setProgram(QString::fromLatin1(kCupsd));
        fCupsd.setArguments({QStringLiteral("-f"), QStringLiteral("-c"), d + QStringLiteral("/cupsd.conf"),
                             QStringLiteral("-s"), d + QStringLiteral("/cups-files.conf")});
        fCupsd.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        fCupsd.setStandardOutputFile(d + QStringLiteral("/log/stdout"));
        // A test that dies takes its scheduler with it.
        fCupsd.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
        fCupsd.start();
        if (!fCupsd.waitForStarted(10000)) return fail(QStringLiteral("cupsd did not start"));
        QElapsedTimer clock;
        clock.start();
        while (!QFileInfo::exists(Socket())) {
            if (fCupsd.state() == QProcess::NotRunning || clock.elapsed() > 20000)
                return fail(QStringLiteral("cupsd did not open its socket: %1").arg(Log()));
            QThread::msleep(50);
        }

        fOldServer = qgetenv("CUPS_SERVER");
        qputenv("CUPS_SERVER", Socket().toUtf8());
#ifdef KOMOREBI_HAVE_CUPS
        cupsSetServer(Socket().toUtf8().constData());
#endif
        QString out;
        if (!Tool(QStringLiteral("lpadmin"),
                  {QStringLiteral("-p"), fQueue, QStringLiteral("-E"), QStringLiteral("-v"),
                   QStringLiteral("cups-pdf:/") + device, QStringLiteral("-P"), QString::fromLatin1(kPpd)},
                  &out) ||
            !Tool(QStringLiteral("lpadmin"), {QStringLiteral("-d"), fQueue}, &out))
            return fail(QStringLiteral("lpadmin failed: %1").arg(out));
        return true;
    }

    // Runs a CUPS client tool against this scheduler.
    bool Tool(const QString& tool, const QStringList& args, QString* output = nullptr) const {
        QProcess p;
        p.setProcessEnvironment(Environment());
        p.setProcessChannelMode(QProcess::MergedChannels);
        QString program = QStandardPaths::findExecutable(tool);
        if (program.isEmpty()) program = QStandardPaths::findExecutable(tool, {QStringLiteral("/usr/sbin")});
        p.start(program, args);
        const bool ok = p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
        if (output) *output = QString::fromUtf8(p.readAll());
        return ok;
    }

    // The PDFs written so far, oldest job first, once the queue has no job left and at least
    // count of them are there; what is there when the wait runs out otherwise.
    QStringList WaitForPdfs(int count, int waitMs = 120000) const {
        QElapsedTimer clock;
        clock.start();
        QStringList files;
        do {
            QString jobs;
            Tool(QStringLiteral("lpstat"), {QStringLiteral("-o"), fQueue}, &jobs);
            files = QDir(OutDir()).entryList({QStringLiteral("*.pdf")}, QDir::Files);
            if (jobs.trimmed().isEmpty() && files.size() >= count) break;
            QThread::msleep(200);
        } while (clock.elapsed() < waitMs);
        // "TITLE-job_N.pdf": ordered by the job number.
        const auto job = [](const QString& name) {
            return QRegularExpression(QStringLiteral("job_(\\d+)")).match(name).captured(1).toInt();
        };
        std::sort(files.begin(), files.end(), [&](const QString& a, const QString& b) { return job(a) < job(b); });
        for (QString& f : files)
            f = QDir(OutDir()).filePath(f);
        return files;
    }

    // The end of the scheduler's error log, to explain a failure.
    QString Log() const {
        QFile f(fDir.filePath(QStringLiteral("log/error_log")));
        if (!f.open(QIODevice::ReadOnly)) return QString();
        return QString::fromUtf8(f.readAll().right(2000));
    }

private:
    bool Write(const QString& name, const QString& text) const {
        QFile f(fDir.filePath(name));
        return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(text.toUtf8()) == text.toUtf8().size();
    }

    QTemporaryDir fDir{QDir::tempPath() + QStringLiteral("/komorebi-cups-XXXXXX")};
    QString fQueue = QStringLiteral("komorebi-pdf");
    QString fBackendConf;
    QByteArray fOldServer;
    QProcess fCupsd;
};
