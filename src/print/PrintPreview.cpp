#include "print/PrintPreview.h"

#include <QPainter>
#include <algorithm>

TPrintPreview::TPrintPreview(QSize pagePixels, int dpiX, int dpiY)
    : fPagePixels(pagePixels), fDpiX(dpiX), fDpiY(dpiY) {}

TPrintPreview::~TPrintPreview() {
    if (fCanvas) fCanvas->end();
}

void TPrintPreview::SetDevice(QSize pagePixels, int dpiX, int dpiY) {
    fPagePixels = pagePixels;
    fDpiX = dpiX;
    fDpiY = dpiY;
}

void TPrintPreview::BeginDoc() {
    if (fPrinting) throw EPrintPreviewError("TPrintPreview: BeginDoc: Already Printing");
    fPages.clear();
    fRender = nullptr;
    fRecent.clear();
    fSourceCount = 0;
    fPrinting = true;
    NewPage();
}

void TPrintPreview::NewPage() {
    if (!fPrinting) throw EPrintPreviewError("TPrintPreview.NewPage: not Printing");
    auto page = std::make_unique<TMetafileEx>(fPagePixels, fDpiX, fDpiY);
    auto canvas = std::make_unique<QPainter>(page.get());
    if (fCanvas) {
        canvas->setFont(fCanvas->font());
        canvas->setPen(fCanvas->pen());
        canvas->setBrush(fCanvas->brush());
        canvas->setCompositionMode(fCanvas->compositionMode());
        canvas->setRenderHints(fCanvas->renderHints());
        canvas->setLayoutDirection(fCanvas->layoutDirection());
        fCanvas->end();
    } else {
        // The page reports the printer's resolution, so points come out at the printed size.
        QFont font = canvas->font();
        font.setPointSize(kStartPoints);
        canvas->setFont(font);
    }
    fCanvas = std::move(canvas);
    fPages.push_back(std::move(page));
}

void TPrintPreview::EndDoc() {
    if (!fPrinting) throw EPrintPreviewError("TPrintPreview.EndDoc: not Printing");
    if (fCanvas) fCanvas->end();
    fCanvas.reset();
    fPrinting = false;
}

void TPrintPreview::Clear() {
    if (fPrinting) throw EPrintPreviewError("TPrintPreview: BeginDoc: Already Printing");
    fPages.clear();
}

QPainter& TPrintPreview::GetCanvas() {
    if (!fPrinting || !fCanvas) throw EPrintPreviewError("TPrintPreview.GetCanvas: not Printing");
    return *fCanvas;
}

void TPrintPreview::CheckIndex(int index) const {
    if (fPrinting) throw EPrintPreviewError("TPrinterPreview.GetPage: Pages cannot be used when printing");
    if (index < 0 || index >= PageCount()) throw EPrintPreviewError("TPrinterCanvas.GetPage: Index is out of Range");
}

void TPrintPreview::SetSource(int count, TRender render) {
    if (fPrinting) throw EPrintPreviewError("TPrintPreview: SetSource: Already Printing");
    fPages.clear();
    fRecent.clear();
    fSourceCount = render ? std::max(0, count) : 0;
    fRender = std::move(render);
}

const TMetafileEx& TPrintPreview::GetPage(int index) const {
    CheckIndex(index);
    if (!fRender) return *fPages[size_t(index)];
    for (auto it = fRecent.begin(); it != fRecent.end(); ++it)
        if (it->first == index) {
            if (it != fRecent.begin()) std::rotate(fRecent.begin(), it, it + 1);
            return *fRecent.front().second;
        }
    auto page = std::make_unique<TMetafileEx>(fPagePixels, fDpiX, fDpiY);
    {
        QPainter canvas(page.get());
        QFont font = canvas.font();
        font.setPointSize(kStartPoints);
        canvas.setFont(font);
        // A page that cannot be drawn shows empty.
        if (!fRender(index, canvas)) {
            canvas.end();
            page = std::make_unique<TMetafileEx>(fPagePixels, fDpiX, fDpiY);
        }
    }
    // The dialog holds the page on show; the ones before it may go.
    constexpr size_t kKept = 4;
    fRecent.emplace_front(index, std::move(page));
    if (fRecent.size() > kKept) fRecent.pop_back();
    return *fRecent.front().second;
}

bool TPrintPreview::SavePage(int index, const QString& fileName) const {
    CheckIndex(index);
    if (fRender) {
        GetPage(index);
        return fRecent.front().second->save(fileName);
    }
    return fPages[size_t(index)]->save(fileName);
}

bool TPrintPreview::LoadPage(int index, const QString& fileName) {
    CheckIndex(index);
    if (fRender) return false;
    auto page = std::make_unique<TMetafileEx>(fPagePixels, fDpiX, fDpiY);
    const bool ok = page->load(fileName);
    if (!ok) page = std::make_unique<TMetafileEx>(fPagePixels, fDpiX, fDpiY);
    fPages[size_t(index)] = std::move(page);
    return ok;
}
