// The effect dialog's pixel work on a 12-megapixel photo: one colour-balance change against a
// plain copy of the same pixels (the floor any whole-picture change costs), a quarter turn, and
// the preview-sized change the track bar runs while it moves.
#include "imaging/ImageEffects.h"

#include "support/BenchPhoto.h"

#include <benchmark/benchmark.h>

namespace {

const QImage& Photo() {
    static const QImage photo = BenchPhoto(4000, 3000);
    return photo;
}

void BM_CopyPixels(benchmark::State& state) {
    for (auto _ : state) {
        QImage copy = Photo().copy();
        benchmark::DoNotOptimize(copy.constBits());
    }
    state.SetItemsProcessed(state.iterations() * 4000 * 3000);
}
BENCHMARK(BM_CopyPixels)->Unit(benchmark::kMillisecond);

void BM_ColourBalance(benchmark::State& state) {
    int red = 40;
    for (auto _ : state) {
        QImage adjusted = ImageEffects::OffsetColours(Photo(), red, -25, 10);
        benchmark::DoNotOptimize(adjusted.constBits());
        red = -red;
    }
    state.SetItemsProcessed(state.iterations() * 4000 * 3000);
}
BENCHMARK(BM_ColourBalance)->Unit(benchmark::kMillisecond);

void BM_TurnRight90(benchmark::State& state) {
    for (auto _ : state) {
        QImage turned = ImageEffects::Turn(Photo(), ImageEffects::TTurn::Right90);
        benchmark::DoNotOptimize(turned.constBits());
    }
}
BENCHMARK(BM_TurnRight90)->Unit(benchmark::kMillisecond);

void BM_PreviewColourBalance(benchmark::State& state) {
    static const QImage view = Photo().scaled(1280, 960, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    int red = 40;
    for (auto _ : state) {
        QImage adjusted = ImageEffects::OffsetColours(view, red, -25, 10);
        benchmark::DoNotOptimize(adjusted.constBits());
        red = -red;
    }
}
BENCHMARK(BM_PreviewColourBalance)->Unit(benchmark::kMillisecond);

} // namespace
