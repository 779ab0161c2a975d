// Dragging one 40 x 30 mm object on an A4 page at 200 % with 40 objects: one pointer move while
// dragging (tracking frame repainted) and the release of that move (old and new bounds redrawn),
// each against the whole-page redraw of the same page.
#include "document/MouseTracker.h"
#include "document/PriPaint.h"
#include "support/BenchBox.h"
#include "objects/PriBase.h"

#include <QPainter>
#include <benchmark/benchmark.h>

namespace {

struct TPage {
    std::unique_ptr<TPriPaint> Surface;
    QImage Screen;
    TPriBase* Dragged = nullptr;

    TPage() {
        Surface = std::make_unique<TPriPaint>(nullptr, QString(), 96, std::make_unique<TNoPrinter>());
        Surface->PrintPaper.SetFields({0, 0, 1, 0, 2100, 2970, 0, 0, 0, 0, 0, 0, 1, 1, 2100, 2970});
        for (int i = 0; i < 40; ++i) {
            auto box = std::make_unique<TBenchBox>();
            // The first is the 40 x 30 mm object that is dragged.
            box->SetStoreRect(i == 0 ? QRect(150, 150, 400, 300)
                                     : QRect(100 + (i % 5) * 400, 500 + (i / 5) * 300, 350, 250));
            box->Font = QFont(QStringLiteral("ＭＳ Ｐゴシック"));
            box->Font.setPixelSize(30);
            TPriBase* added = Surface->AppendObject(std::move(box));
            if (i == 0) Dragged = added;
        }
        Surface->BltSizeCheck = bs200;
        Surface->SetBltGridCheck(true);
        Surface->SetPageLayout({10, 10}, {1200, 800});
        Surface->SetVisibleRect(0, 0, 1200, 800);
        Surface->RedrawPage(nullptr, false, true);
        Screen = QImage(Surface->ViewSize(), QImage::Format_RGB32);
    }
    QPoint Centre() const { return Dragged->BoundsRect().ToQRect().center(); }
    // What the screen repaint of a region costs: the page copied, the overlay over it.
    void Paint(const QRegion& region) {
        QPainter p(&Screen);
        for (const QRect& r : region)
            Surface->PaintView(p, r);
    }
};

void BM_WholePageRedraw(benchmark::State& state) {
    TPage page;
    for (auto _ : state) {
        page.Surface->RedrawPage(nullptr, false, true);
        page.Paint(QRegion(page.Surface->VisibleRect().ToQRect()));
    }
}
BENCHMARK(BM_WholePageRedraw)->Unit(benchmark::kMicrosecond);

void BM_DragMove(benchmark::State& state) {
    TPage page;
    TMouseTracker& mouse = page.Surface->Mouse();
    const QPoint start = page.Centre();
    mouse.Press(Qt::LeftButton, false, start, false, start);
    mouse.Move(start + QPoint(5, 5), false);
    int step = 0;
    for (auto _ : state) {
        const QRegion before = mouse.OverlayRegion();
        const QPoint p = start + QPoint(20 + (step & 1) * 7, 12 + (step & 1) * 3);
        mouse.Move(p, false);
        page.Paint(before | mouse.OverlayRegion());
        ++step;
    }
    mouse.Release(start, false);
}
BENCHMARK(BM_DragMove)->Unit(benchmark::kMicrosecond);

void BM_DragRelease(benchmark::State& state) {
    TPage page;
    TMouseTracker& mouse = page.Surface->Mouse();
    int step = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QPoint start = page.Centre();
        const QPoint end = start + QPoint((step & 1) ? -80 : 80, (step & 1) ? -40 : 40);
        const QRect before = page.Dragged->BoundsRect().ToQRect();
        mouse.Press(Qt::LeftButton, false, start, false, start);
        mouse.Move(end, false);
        state.ResumeTiming();
        mouse.Release(end, false);
        page.Paint(QRegion(before.united(page.Dragged->BoundsRect().ToQRect()).adjusted(-9, -9, 9, 9)));
        ++step;
    }
}
BENCHMARK(BM_DragRelease)->Unit(benchmark::kMicrosecond);

} // namespace
