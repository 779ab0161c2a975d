// Feeds arbitrary bytes to the clipboard block reader and pastes whatever it accepts. Another
// program can put anything under the block's name.
#include "document/ClipboardBlock.h"
#include "document/EditHistory.h"
#include "document/PriPaint.h"
#include "FuzzApp.h"

#include <cstdint>
#include <cstdlib>

namespace {

constexpr qint64 kFuzzPixels = qint64(16) * 1024 * 1024;

TPriPaint* Surface() {
    EnsureFuzzApp("ClipboardBlockFuzz");
    static TPriPaint* surface = [] {
        auto* s = new TPriPaint(nullptr, QString(), 96, std::make_unique<TNoPrinter>());
        s->PrintPaper.SetFields({0, 0, 1, 0, 2100, 2970, 0, 0, 0, 0, 0, 0, 1, 1, 2100, 2970});
        s->SetPageLayout(QPoint(0, 0), QSize(400, 400));
        // Pasted pictures keep within a smaller budget than a real document's, so the sanitizers'
        // overhead stays within the fuzzer's memory limit; the code paths are the same.
        s->SetPictureBudget(kFuzzPixels);
        return s;
    }();
    return surface;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TPriPaint* doc = Surface();
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    std::vector<std::unique_ptr<TPriBase>> objects;
    TClipboardBlock::Read(bytes, objects, kFuzzPixels);
    // What is pasted must also draw, copy again and go away with the undo step.
    if (doc->PasteBlock(bytes, QPoint(20, 20))) {
        doc->RedrawPage(nullptr, false, true);
        TClipboardBlock::Write(doc->SelectList());
        doc->Undo();
        doc->History().Clear();
    }
    return 0;
}
