// Benchmarks of the overview picture: drawing the whole of a 9000 x 9000
// level at one pixel a cell, and redrawing a 1000 x 1000 block of it after a
// fill.
#include "gfx/OverviewImage.h"
#include "writers/SampleMap.h"

#include <benchmark/benchmark.h>

namespace {

constexpr std::uint32_t Side = 9000;

const TerrainLayer &bigLevel()
{
    static const TerrainLayer level = sampleSurface(Side, 11);
    return level;
}

void BM_Overview9000(benchmark::State &state)
{
    const TerrainLayer &level = bigLevel();
    for (auto _ : state) {
        const QImage overview = renderOverview(level, Side, int(state.range(0)));
        benchmark::DoNotOptimize(overview.constBits());
    }
    state.counters["cells"] = double(Side) * Side;
}
BENCHMARK(BM_Overview9000)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_OverviewUpdateBlock1000(benchmark::State &state)
{
    const TerrainLayer &level = bigLevel();
    QImage overview = renderOverview(level, Side, 1);
    for (auto _ : state) {
        updateOverview(overview, level, 1, QRect(4000, 4000, 1000, 1000));
        benchmark::DoNotOptimize(overview.constBits());
    }
}
BENCHMARK(BM_OverviewUpdateBlock1000)->Unit(benchmark::kMillisecond);

}  // namespace
