// Fuzz target for map loading. Any input must be either refused with a reason
// or loaded into a document that saves back to exactly the data it came from.
// Run with --write-seeds=DIR first to write a small seed corpus made by the
// project's own writers.
#include "FuzzSeeds.h"

#include "map/Gzip.h"
#include "map/MapFile.h"
#include "writers/MapWriter.h"
#include "writers/SampleMap.h"

#include <QDir>
#include <QFile>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Inputs that inflate to more than this are refused early, keeping runs fast.
constexpr qsizetype FuzzDataLimit = 64 * 1024 * 1024;

void writeSeeds(const QString &folder)
{
    QDir().mkpath(folder);
    const MapWriter maps[] = {
        MapWriter::patterned(4, false),
        MapWriter::patterned(12, true),
        sampleMap("Seed", 18, true, 18),
    };
    int index = 0;
    for (const MapWriter &map : maps) {
        const QByteArray data = map.data();
        const QByteArray seeds[] = {data, gzipMember(data), gzipWithHeaderText(data, 0x08, "seed.vdm")};
        for (const QByteArray &seed : seeds) {
            QFile file(QDir(folder).filePath(QStringLiteral("seed-%1").arg(index++)));
            if (!file.open(QIODevice::WriteOnly) || file.write(seed) != seed.size()) {
                std::fprintf(stderr, "cannot write seeds into %s\n", qPrintable(folder));
                std::exit(1);
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    return writeSeedsIfAsked(argc, argv, writeSeeds);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size)
{
    const QByteArrayView input(reinterpret_cast<const char *>(bytes), qsizetype(size));
    const MapLoadResult loaded = loadMapData(input, FuzzDataLimit);
    if (!loaded.ok()) {
        if (loaded.reason.isEmpty())
            std::abort();
        return 0;
    }
    const QByteArray data = loaded.facts.compressed ? inflateGzip(input, FuzzDataLimit).data : input.toByteArray();
    const QByteArray saved = serializeMapData(*loaded.document);
    if (saved != data || loaded.facts.dataLength != data.size()
        || loaded.document->headerBytes.size() != loaded.facts.terrainOffset || loaded.facts.terrainOffset < 10)
        std::abort();
    return 0;
}
