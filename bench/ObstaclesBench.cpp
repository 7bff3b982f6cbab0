// Benchmarks of the obstacle catalogue on the full sample catalogue: reading
// the list file's bytes alone, the start-up parse of the in-memory mode, and
// one paint's lookup in either mode. The catalogue is the one named by the
// environment variable BRACKWEN_OBSTACLE_INI, or the sample written to a
// scratch folder first.
#include "obstacles/ObstacleCatalogue.h"
#include "obstacles/ObstacleSectionIndex.h"
#include "writers/ObstacleCatalogueWriter.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

namespace {

const QString &cataloguePath()
{
    static const QString path = [] {
        const QString given = qEnvironmentVariable("BRACKWEN_OBSTACLE_INI");
        if (!given.isEmpty())
            return given;
        static QTemporaryDir scratch;
        const QString reason = obstaclewriter::writeSampleCatalogue(scratch.path());
        if (!reason.isEmpty())
            qFatal("%s", qPrintable(reason));
        return scratch.filePath(QStringLiteral("obstacle.ini"));
    }();
    return path;
}

// The catalogue is written, when it must be, before any timing starts.
QByteArray readCatalogue(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return file.readAll();
}

void BM_ReadListFileBytes(benchmark::State &state)
{
    const QString &path = cataloguePath();
    for (auto _ : state)
        benchmark::DoNotOptimize(readCatalogue(path));
    state.counters["bytes"] = double(readCatalogue(path).size());
}
BENCHMARK(BM_ReadListFileBytes)->Unit(benchmark::kMillisecond);

void BM_StartUpInMemory(benchmark::State &state)
{
    const QString &path = cataloguePath();
    for (auto _ : state)
        benchmark::DoNotOptimize(ObstacleCatalogue::inMemory(QImage(), readCatalogue(path)));
    state.counters["sections"] = double(ObstacleSectionIndex::parse(readCatalogue(path)).sectionCount());
}
BENCHMARK(BM_StartUpInMemory)->Unit(benchmark::kMillisecond);

// Arguments: battlefield, x, y. The first sections of the file, the last
// ones, and a section it lacks; every lookup reads the whole file.
void BM_LookupOnDemand(benchmark::State &state)
{
    const ObstacleCatalogue catalogue = ObstacleCatalogue::onDisk(QImage(), cataloguePath());
    for (auto _ : state)
        benchmark::DoNotOptimize(catalogue.findObstacleHexes(std::uint8_t(state.range(0)), std::uint8_t(state.range(1)),
                                                             std::uint8_t(state.range(2))));
}
BENCHMARK(BM_LookupOnDemand)->Args({0, 0, 0})->Args({9, 143, 143})->Args({200, 1, 1})->Unit(benchmark::kMillisecond);

void BM_LookupInMemory(benchmark::State &state)
{
    static const ObstacleCatalogue catalogue = ObstacleCatalogue::inMemory(QImage(), readCatalogue(cataloguePath()));
    for (auto _ : state)
        benchmark::DoNotOptimize(catalogue.findObstacleHexes(std::uint8_t(state.range(0)), std::uint8_t(state.range(1)),
                                                             std::uint8_t(state.range(2))));
}
BENCHMARK(BM_LookupInMemory)->Args({0, 0, 0})->Args({9, 143, 143})->Args({200, 1, 1})->Unit(benchmark::kMicrosecond);

}  // namespace
