#pragma once

#include <QString>

// The headless export: a template rendered through the print drawing into a PDF or a PNG.
struct TExportOptions {
    QString TemplateFile;
    QString OutFile;
    int Year = -1;
    int Month = -1;
    int Dpi = 300;
};

class TPriPaint;
struct TPrinterMetrics;
class QImage;
class QSize;

class TPageExport {
public:
    // An export device: a sheet of the given pixels without unprintable edges.
    static TPrinterMetrics DeviceMetrics(QSize pixels, int dpi);
    // One designed page (a single seat) drawn through the print path at the resolution.
    static QImage RenderSeat(TPriPaint& doc, int dpi, bool smooth = false);

    // Parses "TEMPLATE.tda --out FILE [--year Y --month M] [--dpi N]"; false with a message on bad use.
    static bool ParseArguments(const QStringList& args, TExportOptions& options, QString* error);
    static bool Run(const QString& appPath, const TExportOptions& options, QString* error);
};
