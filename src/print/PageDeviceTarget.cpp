#include "print/PageDeviceTarget.h"

#include <QPdfWriter>
#include <QPrinter>

TPageDeviceTarget::~TPageDeviceTarget() {
    if (fCanvas.isActive()) fCanvas.end();
}

bool TPageDeviceTarget::BeginDoc(const QString& title) {
    fError.clear();
    if (auto* printer = dynamic_cast<QPrinter*>(&fDevice))
        printer->setDocName(title);
    else if (auto* pdf = dynamic_cast<QPdfWriter*>(&fDevice))
        pdf->setTitle(title);
    if (!fCanvas.begin(&fDevice)) {
        fError = QStringLiteral("印刷を開始できません");
        return false;
    }
    ++fJobs;
    // Qt would store opaque pictures as JPEG in a PDF: barcodes must keep every module exact.
    fCanvas.setRenderHint(QPainter::LosslessImageRendering);
    return true;
}

bool TPageDeviceTarget::NewPage() {
    if (!fDevice.newPage()) {
        fError = QStringLiteral("次のページを開始できません");
        return false;
    }
    return true;
}

bool TPageDeviceTarget::EndDoc() {
    if (!fCanvas.isActive()) return true;
    if (!fCanvas.end()) {
        fError = QStringLiteral("印刷を終了できません");
        return false;
    }
    return true;
}

void TPageDeviceTarget::Abort() {
    if (auto* printer = dynamic_cast<QPrinter*>(&fDevice)) printer->abort();
    if (fCanvas.isActive()) fCanvas.end();
}
