#include "app/SampleRender.h"

#include "document/PriPaint.h"
#include "platform/PrinterMetrics.h"

#include <QFileInfo>
#include <QDir>

bool RenderSamplePage(const QString& appPath, const QString& outFile, QString* error) {
    TPriPaint surface(nullptr, appPath, 96, std::make_unique<TNoPrinter>());
    surface.PrintPaper.SetFields({0, 0, 1, 0, 2100, 2970, 0, 0, 0, 0, 0, 0, 1, 1, 2100, 2970});
    surface.BltSizeCheck = bs200;
    surface.BltGridCheck = true;
    surface.SetPageLayout(QPoint(10, 10), QSize(1200, 900));
    surface.RedrawPage(nullptr, false, true);
    QDir().mkpath(QFileInfo(outFile).absolutePath());
    if (!surface.PageBitmap().save(outFile, "PNG")) {
        if (error) *error = QStringLiteral("cannot write %1").arg(outFile);
        return false;
    }
    return true;
}
