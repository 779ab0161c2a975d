#include "app/SampleRender.h"
#include "document/ObjectKinds.h"
#include "platform/FontMap.h"
#include "print/PageExport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <unistd.h>

namespace {

void Usage() {
    std::fprintf(stderr, "usage: komorebi export TEMPLATE.tda --out FILE.pdf|FILE.png [--year Y --month M] [--dpi N]\n"
                         "       komorebi sample [--out FILE.png]\n");
}

} // namespace

int main(int argc, char* argv[]) {
    // The commands of the command line need no display.
    const bool headless = argc > 1;
    if (headless && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (headless && qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        // Batch runs (cron, CI) have no session folder; give Qt a private one instead of a warning.
        const QByteArray dir = QDir::tempPath().toLocal8Bit() + "/komorebi-runtime-" + QByteArray::number(getuid());
        if (QDir().mkpath(QString::fromLocal8Bit(dir)) &&
            QFile::setPermissions(QString::fromLocal8Bit(dir), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                                   QFileDevice::ExeOwner))
            qputenv("XDG_RUNTIME_DIR", dir);
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("komorebi"));
    TFontMap::Install();
    TObjectKinds::RegisterAll();
    const QString appPath = QCoreApplication::applicationDirPath() + QDir::separator();

    const QStringList args = QCoreApplication::arguments();
    const QString command = args.size() > 1 ? args[1] : QString();
    QString error;
    if (command == QLatin1String("export")) {
        TExportOptions options;
        if (!TPageExport::ParseArguments(args.mid(2), options, &error)) {
            std::fprintf(stderr, "komorebi export: %s\n", qPrintable(error));
            Usage();
            return 2;
        }
        if (!TPageExport::Run(appPath, options, &error)) {
            std::fprintf(stderr, "komorebi export: %s\n", qPrintable(error));
            return 1;
        }
        std::printf("%s\n", qPrintable(QFileInfo(options.OutFile).absoluteFilePath()));
        return 0;
    }
    if (command == QLatin1String("sample")) {
        QString out = appPath + QStringLiteral("UserData/sample.png");
        const qsizetype at = args.indexOf(QStringLiteral("--out"));
        if (at > 0 && at + 1 < args.size()) out = args[at + 1];
        if (!RenderSamplePage(appPath, out, &error)) {
            std::fprintf(stderr, "komorebi: %s\n", qPrintable(error));
            return 1;
        }
        std::printf("%s\n", qPrintable(QFileInfo(out).absoluteFilePath()));
        return 0;
    }
    Usage();
    return 2;
}
