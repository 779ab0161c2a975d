#pragma once

class TPriDocument;
struct TPrinterMetrics;
class QImage;
class QSize;

// Single pages drawn through the print path without a job: thumbnails, tools and checks.
class TPageExport {
public:
    // An export device: a sheet of the given pixels without unprintable edges.
    static TPrinterMetrics DeviceMetrics(QSize pixels, int dpi);
    // One designed page (a single seat) drawn through the print path at the resolution.
    static QImage RenderSeat(TPriDocument& doc, int dpi, bool smooth = false);
};
