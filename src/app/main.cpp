#include "app/SampleRender.h"
#include "platform/FontMap.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <cstdio>

int main(int argc, char* argv[]) {
    // Headless commands need no display.
    const bool headless = argc > 1 && QByteArray(argv[1]) != "--gui";
    if (headless && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("komorebi"));
    TFontMap::Install();
    const QString appPath = QCoreApplication::applicationDirPath() + QDir::separator();

    const QStringList args = QCoreApplication::arguments();
    if (args.size() > 1 && args[1] == QLatin1String("sample")) {
        QString out = appPath + QStringLiteral("UserData/sample.png");
        const qsizetype at = args.indexOf(QStringLiteral("--out"));
        if (at > 0 && at + 1 < args.size()) out = args[at + 1];
        QString error;
        if (!RenderSamplePage(appPath, out, &error)) {
            std::fprintf(stderr, "komorebi: %s\n", qPrintable(error));
            return 1;
        }
        std::printf("%s\n", qPrintable(QFileInfo(out).absoluteFilePath()));
        return 0;
    }
    std::fprintf(stderr, "usage: komorebi sample [--out FILE.png]\n");
    return 2;
}
