#include "app/mainwindow/PrintMainForm.h"
#include "document/ObjectKinds.h"
#include "platform/AppPaths.h"
#include "platform/FontMap.h"
#include "platform/PrivateFolder.h"
#include "print/PageFiles.h"

#include "app/DisplayCheck.h"
#include "app/ExportCommand.h"
#include "app/QtTranslations.h"
#include "app/SingleInstance.h"
#include "app/SplashForm.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

void Usage() {
    std::fprintf(stderr,
                 "usage: komorebi [--no-splash] [--startup-timing] [FILE.tda]\n"
                 "       komorebi export TEMPLATE.tda --out FILE.pdf|FILE.png [--dpi N] [OPTIONS]\n"
                 "       komorebi print TEMPLATE.tda [--printer NAME] [--copies N] [OPTIONS]\n"
                 "OPTIONS: --year Y --month M, --records DIR, --fields DIR, --main NAME, --detail NAME,\n"
                 "         --mode 0-5, --start-seat ROW,COL (from 1,1), --pages FROM-TO\n"
                 "A PDF takes every sheet; PNG sheets go to FILE-001.png, FILE-002.png ... (one sheet: FILE.png).\n");
}

struct TCommandLine {
    bool NoSplash = false;
    bool Timing = false;
    QString File;
    bool Bad = false;
};

TCommandLine ParseDesktopArguments(const QStringList& args) {
    TCommandLine line;
    for (const QString& a : args) {
        if (a == QLatin1String("--no-splash"))
            line.NoSplash = true;
        else if (a == QLatin1String("--startup-timing"))
            line.Timing = true;
        else if (a.startsWith(QLatin1Char('-')) || !line.File.isEmpty())
            line.Bad = true;
        else
            line.File = QFileInfo(a).absoluteFilePath();
    }
    return line;
}

int RunExport(const TAppPaths& paths, const QStringList& args, bool toPrinter) {
    const char* verb = toPrinter ? "print" : "export";
    TExportOptions options;
    QString error;
    if (!TExportCommand::ParseArguments(args, options, &error, toPrinter)) {
        std::fprintf(stderr, "komorebi %s: %s\n", verb, qPrintable(error));
        Usage();
        return 2;
    }
    // A user who never started the program has no record folder yet: it gets the examples now.
    QString seedError;
    if (!paths.EnsureUserTree(&seedError)) std::fprintf(stderr, "komorebi %s: %s\n", verb, qPrintable(seedError));
    if (options.RecordDir.isEmpty()) options.RecordDir = paths.RecordFolder();
    if (options.FieldDir.isEmpty()) options.FieldDir = paths.FieldFolder();
    options.SenderFile = paths.SenderFile();
    options.FamilyDaysFile = paths.FamilyDaysFile();
    options.Progress = isatty(STDERR_FILENO) != 0;
    int pages = 0;
    QStringList written;
    const bool ok = toPrinter ? TExportCommand::Print(paths.AppPath(), options, &error, &pages)
                              : TExportCommand::Run(paths.AppPath(), options, &error, &pages, &written);
    if (!ok) {
        std::fprintf(stderr, "komorebi %s: %s\n", verb, qPrintable(error));
        return 1;
    }
    for (const QString& file : written)
        std::printf("%s\n", qPrintable(QFileInfo(file).absoluteFilePath()));
    return 0;
}

void PrintTiming(qint64 qtStartNs, qint64 formOffsetNs, const TPrintMainForm& form) {
    std::printf("startup phase                  ms (from process start)\n");
    std::printf("%-28s %8.1f\n", "Qt start", qtStartNs / 1e6);
    for (const auto& [name, ns] : form.StartupPhases())
        std::printf("%-28s %8.1f\n", qPrintable(name), (formOffsetNs + ns) / 1e6);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char* argv[]) {
    QElapsedTimer clock;
    clock.start();
    // The export needs no display.
    const bool toPrinter = argc > 1 && std::strcmp(argv[1], "print") == 0;
    const bool headless = toPrinter || (argc > 1 && std::strcmp(argv[1], "export") == 0);
    if (headless && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (headless && qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        // Batch runs (cron, CI) have no session folder; give Qt a private one instead of a warning.
        const QString dir = TPrivateFolder::FallbackRuntimeFolder();
        if (!dir.isEmpty()) qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir));
    }
    if (!headless && !HasDisplay()) {
        std::fprintf(stderr, "%s\n", qPrintable(NoDisplayMessage()));
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("komorebi"));
    const qint64 qtStartNs = clock.nsecsElapsed();
    TFontMap::Install();
    TObjectKinds::RegisterAll();
    const TAppPaths paths = TAppPaths::Detect();
    const QStringList args = QCoreApplication::arguments();
    if (headless) return RunExport(paths, args.mid(2), toPrinter);

    if (!InstallQtTranslations(app))
        std::fprintf(stderr, "komorebi: Qt's Japanese translations are missing (qt6-translations-l10n); "
                             "its standard dialogs will be in English\n");
    const TCommandLine line = ParseDesktopArguments(args.mid(1));
    if (line.Bad) {
        Usage();
        return 2;
    }
    // One program per user: a second start hands its file to the first and ends.
    TSingleInstance instance;
    if (!instance.Claim()) {
        instance.SendToPrimary(line.File.isEmpty() ? QStringList() : QStringList{line.File});
        return 0;
    }
    if (!line.NoSplash) TSplashForm::ShowSplash();
    // Page folders of jobs that were killed, this user's only.
    TPageFiles::RemoveStaleFolders();
    QString error;
    if (!paths.EnsureUserTree(&error)) std::fprintf(stderr, "komorebi: %s\n", qPrintable(error));

    TMainFormOptions options;
    options.Paths = paths;
    const qint64 formOffsetNs = clock.nsecsElapsed();
    TPrintMainForm form(options);
    // The window comes to the front at once; the file waits until no dialog or build is running.
    QObject::connect(&instance, &TSingleInstance::ActivationRequested, &form, &TPrintMainForm::OpenFromOtherInstance);
    if (!form.FormCreate(line.File)) return 0;
    QObject::connect(&form, &TPrintMainForm::FirstPainted, &form, [&] {
        // What the first picture does not need comes after it.
        form.FinishStartup();
        if (line.Timing) PrintTiming(qtStartNs, formOffsetNs, form);
    });
    form.show();
    return app.exec();
}
