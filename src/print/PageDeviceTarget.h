#pragma once

#include "print/PrintTarget.h"

#include <QPainter>

class QPagedPaintDevice;

// A print target over a paged device: a QPrinter (a CUPS queue or a PDF file) or a QPdfWriter.
// Pictures reach the device with their exact pixels, so barcodes stay sharp and decodable.
class TPageDeviceTarget : public TPrintTarget {
public:
    explicit TPageDeviceTarget(QPagedPaintDevice& device) : fDevice(device) {}
    ~TPageDeviceTarget() override;

    bool BeginDoc(const QString& title) override;
    bool NewPage() override;
    bool EndDoc() override;
    void Abort() override;
    QPainter& Canvas() override { return fCanvas; }
    QString Error() const override { return fError; }
    // Jobs started so far.
    int Jobs() const { return fJobs; }

private:
    QPagedPaintDevice& fDevice;
    QPainter fCanvas;
    QString fError;
    int fJobs = 0;
};
