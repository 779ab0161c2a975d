// Redraw of an A4 page at 300 % with 40 objects: whole page against a 1000 x 700 visible part.
#include "document/PriPaint.h"
#include "support/BenchBox.h"
#include "platform/FontMap.h"

#include <QApplication>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace {

std::unique_ptr<TPriPaint> MakePage() {
    auto surface = std::make_unique<TPriPaint>(nullptr, QString(), 96, std::make_unique<TNoPrinter>());
    surface->PrintPaper.SetFields({0, 0, 1, 0, 2100, 2970, 0, 0, 0, 0, 0, 0, 1, 1, 2100, 2970});
    for (int i = 0; i < 40; ++i) {
        auto box = std::make_unique<TBenchBox>();
        box->SetStoreRect(QRect(100 + (i % 5) * 400, 100 + (i / 5) * 350, 350, 300));
        box->Font = QFont(QStringLiteral("ＭＳ Ｐゴシック"));
        box->Font.setPixelSize(40);
        surface->AppendObject(std::move(box));
    }
    surface->BltSizeCheck = bs300;
    surface->SetBltGridCheck(true);
    surface->SetPageLayout({10, 10}, {1200, 800});
    return surface;
}

void BM_RedrawWholePage(benchmark::State& state) {
    auto surface = MakePage();
    for (auto _ : state)
        surface->RedrawPage(nullptr, false, true);
}
BENCHMARK(BM_RedrawWholePage)->Unit(benchmark::kMillisecond);

void BM_RedrawVisibleRect(benchmark::State& state) {
    auto surface = MakePage();
    surface->SetVisibleRect(600, 900, 1000, 700);
    for (auto _ : state)
        surface->RedrawPage(nullptr, false, false);
}
BENCHMARK(BM_RedrawVisibleRect)->Unit(benchmark::kMillisecond);

} // namespace
