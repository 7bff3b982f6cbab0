// Opening and saving sample maps (144 x 144 and 2000 x 2000, two levels), next
// to plain single-thread zlib inflate and deflate of the same data: the floor
// the map code is measured against (saving, on two threads, aims at 0.6 x the
// plain deflate's time and within 1 % of its size). And the writer on a
// generated two-level map of 3000 x 3000 (126 MB of cells, terrain as the
// generator makes it) at zlib's levels 1, 2, 3, 6 and 9 and at its default
// level, which saves use: the time and size each level costs on huge maps.
#include "generate/TerrainGenerator.h"
#include "map/Gzip.h"
#include "map/GzipMemberWriter.h"
#include "map/MapFile.h"
#include "map/MapSave.h"
#include "writers/LoadedMap.h"
#include "writers/SampleMap.h"

#include <QFile>
#include <QTemporaryDir>

// Input pointers of zlib's streams are const with this.
#define ZLIB_CONST
#include <zlib.h>

#include <benchmark/benchmark.h>

#include <map>

namespace {

struct BenchMap {
    QByteArray data;        // uncompressed map data
    QByteArray compressed;  // as the editor saves it
    MapDocument document;
};

// Built once per side and shared by every benchmark of that side.
const BenchMap &benchMap(std::uint32_t side)
{
    static std::map<std::uint32_t, BenchMap> maps;
    auto found = maps.find(side);
    if (found == maps.end()) {
        BenchMap map;
        map.data = sampleMap("Bench", side, true, side).data();
        map.compressed = gzipMember(map.data);
        MapLoadResult loaded = loadMapData(map.compressed);
        if (loaded.ok())
            map.document = std::move(*loaded.document);
        found = maps.emplace(side, std::move(map)).first;
    }
    return found->second;
}

// The size of the map data deflated as one stream at zlib's default level.
qsizetype plainDeflateSize(const BenchMap &map)
{
    uLongf length = compressBound(uLong(map.data.size()));
    QByteArray out(qsizetype(length), Qt::Uninitialized);
    compress2(reinterpret_cast<Bytef *>(out.data()), &length, reinterpret_cast<const Bytef *>(map.data.data()),
              uLong(map.data.size()), Z_DEFAULT_COMPRESSION);
    return qsizetype(length);
}

bool ready(benchmark::State &state, const BenchMap &map)
{
    if (!map.document.isLoaded)
        state.SkipWithError("the sample map does not load");
    return map.document.isLoaded;
}

void BM_OpenMap(benchmark::State &state)
{
    const BenchMap &map = benchMap(std::uint32_t(state.range(0)));
    if (!ready(state, map))
        return;
    for (auto _ : state) {
        MapLoadResult loaded = loadMapData(map.compressed);
        benchmark::DoNotOptimize(loaded.document->ground.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * map.data.size());
}

// Opening from a file as the editor and the tool do (the file read in
// pieces, the content inflated into the block the layers are made in), and
// the read-through of `info`, which keeps nothing.
void mapFileBench(benchmark::State &state, bool keepTheMap)
{
    const BenchMap &map = benchMap(std::uint32_t(state.range(0)));
    if (!ready(state, map))
        return;
    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("bench.vdm"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(map.compressed) != map.compressed.size())
        state.SkipWithError("cannot write the map file");
    file.close();
    for (auto _ : state) {
        if (keepTheMap) {
            MapLoadResult loaded = readMapFile(path);
            benchmark::DoNotOptimize(loaded.document->ground.data());
        } else {
            benchmark::DoNotOptimize(summarizeMapFile(path).facts.terrainOffset);
        }
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * map.data.size());
}

void BM_OpenMapFile(benchmark::State &state) { mapFileBench(state, true); }
void BM_SummarizeMapFile(benchmark::State &state) { mapFileBench(state, false); }

void BM_PlainInflate(benchmark::State &state)
{
    const BenchMap &map = benchMap(std::uint32_t(state.range(0)));
    for (auto _ : state) {
        QByteArray out(map.data.size(), Qt::Uninitialized);
        z_stream z{};
        inflateInit2(&z, MAX_WBITS + 16);
        z.next_in = reinterpret_cast<const Bytef *>(map.compressed.data());
        z.avail_in = uInt(map.compressed.size());
        z.next_out = reinterpret_cast<Bytef *>(out.data());
        z.avail_out = uInt(out.size());
        if (inflate(&z, Z_FINISH) != Z_STREAM_END)
            state.SkipWithError("inflate failed");
        inflateEnd(&z);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * map.data.size());
}

// Saving as the editor does: two threads deflating pieces straight from the
// layers. The counters give the file's size and its ratio to one plain stream.
void BM_SaveMap(benchmark::State &state)
{
    const BenchMap &map = benchMap(std::uint32_t(state.range(0)));
    if (!ready(state, map))
        return;
    qsizetype fileSize = 0;
    for (auto _ : state) {
        fileSize = 0;
        const bool written = writeMapMember(map.document, [&](QByteArrayView bytes) {
            fileSize += bytes.size();
            return true;
        });
        if (!written)
            state.SkipWithError("saving failed");
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * map.data.size());
    state.counters["file_bytes"] = double(fileSize);
    state.counters["size_vs_plain"] = double(fileSize) / double(plainDeflateSize(map));
}

// Saving to a file, as a new file renamed over the old one (argument 0) or
// written in place behind a copy of the original, a reserved size and a sync
// (argument 1): what the guard of a write in place costs.
void BM_SaveMapFile(benchmark::State &state)
{
    const BenchMap &map = benchMap(std::uint32_t(state.range(0)));
    if (!ready(state, map))
        return;
    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("saved.vdm"));
    MapSaveOptions options;
    options.inPlace = state.range(1) != 0;
    options.backupFolder = folder.filePath(QStringLiteral("backups"));
    // The first save makes the file that the measured saves replace.
    if (!saveMapFile(map.document, path, options).ok())
        state.SkipWithError("saving failed");
    for (auto _ : state) {
        if (!saveMapFile(map.document, path, options).ok())
            state.SkipWithError("saving failed");
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * map.data.size());
}

void BM_PlainDeflate(benchmark::State &state)
{
    const BenchMap &map = benchMap(std::uint32_t(state.range(0)));
    for (auto _ : state) {
        uLongf length = compressBound(uLong(map.data.size()));
        QByteArray out(qsizetype(length), Qt::Uninitialized);
        if (compress2(reinterpret_cast<Bytef *>(out.data()), &length, reinterpret_cast<const Bytef *>(map.data.data()),
                      uLong(map.data.size()), Z_DEFAULT_COMPRESSION) != Z_OK)
            state.SkipWithError("deflate failed");
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * map.data.size());
}

// A two-level map of the side as the generator makes it (four players'
// sides, rivers, roads, the sample rules' pictures); built once.
const MapDocument &generatedMap(std::uint32_t side)
{
    static std::map<std::uint32_t, MapDocument> maps;
    auto found = maps.find(side);
    if (found != maps.end())
        return found->second;
    const TerrainEdgeRulesResult read = readTerrainEdgeRules(QStringLiteral(BRACKWEN_SAMPLE_RULES));
    const TerrainEdgeRules *rules = read.rules ? &*read.rules : nullptr;
    const auto level = [&](int which) {
        TerrainLayer layer(side);
        GenerateOptions options;
        options.seed = 2024 + std::uint32_t(which);
        options.symmetry = SymmetryMode::FourWay;
        options.rivers = 4;
        options.roads = RoadPlan::Players;
        options.level = which;
        for (std::size_t mix = 0; mix < terrainMixes().size(); ++mix)
            if (which == 1 && QByteArrayView(terrainMixes()[mix].name) == "underground")
                options.mix = int(mix);
        generateTerrain(layer, options, rules);
        return layer;
    };
    MapDocument document = loadedMap(level(0), level(1));
    // A header as small as the format allows, and a tail behind the terrain.
    document.headerBytes = QByteArray(10, '\0');
    document.headerBytes[9] = 1;
    document.trailingBytes = QByteArray(1000, '\0');
    return maps.emplace(side, std::move(document)).first->second;
}

// The generated map's data through the writer at the level of argument 1
// (-1: zlib's default, the level every save uses), on two threads.
void BM_SaveGeneratedMap(benchmark::State &state)
{
    const MapDocument &document = generatedMap(std::uint32_t(state.range(0)));
    const QByteArray data = serializeMapData(document);
    const QByteArrayView segments[] = {data};
    GzipWriteOptions options;
    options.level = int(state.range(1));
    qsizetype fileSize = 0;
    for (auto _ : state) {
        fileSize = 0;
        const bool written = writeGzipMember(segments, [&](QByteArrayView bytes) {
            fileSize += bytes.size();
            return true;
        }, options);
        if (!written)
            state.SkipWithError("saving failed");
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * data.size());
    state.counters["level"] = options.level;
    state.counters["file_bytes"] = double(fileSize);
    state.counters["ratio"] = double(data.size()) / double(std::max<qsizetype>(fileSize, 1));
}

}  // namespace

BENCHMARK(BM_OpenMap)->Arg(144)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenMapFile)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SummarizeMapFile)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainInflate)->Arg(144)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveMap)->Arg(144)->Arg(2000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SaveMapFile)
    ->ArgsProduct({{144, 2000}, {0, 1}})
    ->ArgNames({"side", "in_place"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_PlainDeflate)->Arg(144)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveGeneratedMap)
    ->ArgsProduct({{3000}, {1, 2, 3, 6, 9, -1}})
    ->ArgNames({"side", "level"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);
