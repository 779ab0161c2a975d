// Twelve month grids of an A4 year calendar at 200 % (the calendar part of a page redraw),
// against a plain fill of the same cells: how much the day numbers cost.
#include "calendar/PriCarendar.h"
#include "platform/FontMap.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

const QSize kPaperPixels(793, 1122); // A4 at 96 dpi
const QSize kView(2 * 793, 2 * 1122);

struct TYearPage {
    QImage Image{kView, QImage::Format_RGB32};
    std::vector<std::unique_ptr<TPriCarendar>> Months;

    explicit TYearPage(TStepCount steps = TStepCount::sc6) {
        Image.fill(Qt::white);
        for (int i = 0; i < 12; ++i) {
            auto c = std::make_unique<TPriCarendar>();
            c->BackImage = &Image;
            // Three columns of 60 x 55 mm months, four rows.
            c->SetStoreRect(QRect(100 + (i % 3) * 650, 300 + (i / 3) * 650, 600, 550));
            c->SetYear(2025);
            c->SetMonth(i + 1);
            c->StepCount = steps;
            c->LoadHoliday(QStringLiteral(KOMOREBI_SOURCE_DIR "/data/HolidayList/holiday.dat"));
            c->ScaleToView(kView, kPaperPixels, 96);
            Months.push_back(std::move(c));
        }
    }
};

void DrawTwelveGrids(benchmark::State& state, TYearPage& page) {
    for (auto _ : state) {
        QPainter p(&page.Image);
        for (auto& c : page.Months)
            c->DrawObject(bmLayout, p);
    }
    state.counters["s_per_grid"] = benchmark::Counter(12.0 * double(state.iterations()),
                                                      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_DrawTwelveGrids(benchmark::State& state) {
    TYearPage page;
    DrawTwelveGrids(state, page);
}
BENCHMARK(BM_DrawTwelveGrids)->Unit(benchmark::kMicrosecond);

// Five rows: March and June 2025 share their last cells at the smaller size, so the
// drawing switches between two font sizes within a month.
void BM_DrawTwelveGridsFiveRows(benchmark::State& state) {
    TYearPage page(TStepCount::sc5);
    DrawTwelveGrids(state, page);
}
BENCHMARK(BM_DrawTwelveGridsFiveRows)->Unit(benchmark::kMicrosecond);

// The same 42 cells per month, filled with one colour each and nothing else.
void BM_PlainFillOfTheCells(benchmark::State& state) {
    TYearPage page;
    const QColor back(0xE6, 0xFA, 0xFF);
    for (auto _ : state) {
        QPainter p(&page.Image);
        for (auto& c : page.Months) {
            const int W = c->Width, H = c->Height;
            for (int r = 0; r < 6; ++r)
                for (int col = 0; col < 7; ++col) {
                    const int x = c->Left + col * (W / 7) + std::min(col, W % 7);
                    const int y = c->Top + r * (H / 6) + std::min(r, H % 6);
                    p.fillRect(QRect(x, y, W / 7 + (col < W % 7), H / 6 + (r < H % 6)), back);
                }
        }
    }
    state.counters["s_per_grid"] = benchmark::Counter(12.0 * double(state.iterations()),
                                                      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_PlainFillOfTheCells)->Unit(benchmark::kMicrosecond);

} // namespace
