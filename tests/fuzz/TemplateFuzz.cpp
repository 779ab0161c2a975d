// Feeds arbitrary bytes to the template reader. A load may fail; it must never crash, leak or
// allocate what a corrupt length claims.
#include "document/PriDocument.h"
#include "FuzzApp.h"
#include "document/TemplateFile.h"
#include "print/PageBuilder.h"

#include <QPainter>
#include <cstdint>
#include <cstdlib>

namespace {

TPriDocument* Document() {
    EnsureFuzzApp("TemplateFuzz");
    static TPriDocument doc{QString()};
    return &doc;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TPriDocument* doc = Document();
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    // A smaller picture budget than a real document's, so the sanitizers' overhead stays within
    // the fuzzer's memory limit; the code paths are the same.
    constexpr qint64 kFuzzPixels = qint64(16) * 1024 * 1024;
    if (TTemplateFile::Parse(*doc, bytes, 0, nullptr, kFuzzPixels) == TTemplateFile::TResult::Ok) {
        // What was read must also lay out, draw and save.
        doc->ScaleToPaper();
        if (!doc->PageBitmap().isNull()) {
            QPainter page(&doc->PageBitmap());
            for (auto& obj : doc->Objects()) {
                page.save();
                obj->DrawObject(bmLayout, page);
                page.restore();
            }
        }
        QByteArray again;
        TTemplateFile::Build(*doc, 0, again);
        // And print through the same drawing as the export, at a low resolution.
        TPrinterMetrics m;
        m.LogPixelsX = m.LogPixelsY = 50;
        m.PhysicalWidth = m.HorzRes = 420;
        m.PhysicalHeight = m.VertRes = 600;
        m.Complete();
        QImage sheet(m.PhysicalWidth, m.PhysicalHeight, QImage::Format_RGB32);
        QPainter canvas(&sheet);
        TPageBuilder(*doc, m).DrawPlainSheet(canvas);
    }
    return 0;
}
