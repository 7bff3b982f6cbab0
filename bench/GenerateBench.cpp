// Benchmarks of the terrain generator: a whole level of 144 x 144, 1000 x 1000
// and 9000 x 9000 cells (four-way symmetry, islands, rivers and roads to the
// centre, pictures from the sample rules), on every core. Goals: 50 ms, 1 s and
// 60 s; and no more memory than 1.5 times the level's cells (10.5 bytes a
// cell) beyond the map itself, which the "extraBytesPerCell" counter shows:
// the growth of the process's peak memory over a generation, per cell.
#include "generate/TerrainGenerator.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {

long peakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

const TerrainEdgeRules &sampleRules()
{
    static const TerrainEdgeRules rules = *readTerrainEdgeRules(QStringLiteral(BRACKWEN_SAMPLE_RULES)).rules;
    return rules;
}

void BM_Generate(benchmark::State &state)
{
    const std::uint32_t side = std::uint32_t(state.range(0));
    TerrainLayer layer(side);
    GenerateOptions options;
    options.seed = 2024;
    options.symmetry = SymmetryMode::FourWay;
    options.style = LandStyle::Islands;
    options.waterPercent = 50;
    options.rivers = 2;
    options.roads = RoadPlan::Centre;
    const TerrainEdgeRules &rules = sampleRules();
    // The first run alone shows the peak memory of a generation.
    const long before = peakKilobytes();
    bool first = true;
    double extra = 0;
    for (auto _ : state) {
        const GenerateResult result = generateTerrain(layer, options, &rules);
        if (!result.ok())
            state.SkipWithError("the options were refused");
        if (first)
            extra = double(peakKilobytes() - before) * 1024.0 / (double(side) * side);
        first = false;
        benchmark::DoNotOptimize(layer.data());
    }
    state.counters["extraBytesPerCell"] = extra;
}

}  // namespace

BENCHMARK(BM_Generate)->Arg(144)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Generate)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Generate)->Arg(9000)->Unit(benchmark::kMillisecond)->Iterations(1);
