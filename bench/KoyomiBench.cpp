// The almanac's cost at start: reading the shipped table of 1955–2099 (the start must stay under
// 5 ms), against computing one year from the astronomy, which the table saves.
#include "calendar/KoyomiTable.h"

#include <QFile>
#include <benchmark/benchmark.h>

namespace {

void LoadTable(benchmark::State& state) {
    QFile file(QStringLiteral(KOMOREBI_SOURCE_DIR "/data/HolidayList/koyomi.dat"));
    if (!file.open(QIODevice::ReadOnly)) {
        state.SkipWithError("no koyomi.dat");
        return;
    }
    const QByteArray bytes = file.readAll();
    std::vector<TKoyomiYear> years;
    for (auto _ : state) {
        TKoyomiTable::Read(bytes, &years);
        benchmark::DoNotOptimize(years.data());
    }
}
BENCHMARK(LoadTable)->Unit(benchmark::kMillisecond);

void ComputeYear(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(TKoyomiYear::Compute(2027));
}
BENCHMARK(ComputeYear)->Unit(benchmark::kMillisecond);

} // namespace
