// Loading and saving map files, all in memory.
#include "map/MapFile.h"

#include "map/Gzip.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstring>
#include <new>
#include <utility>

#if defined(__SSE2__) || defined(_M_X64) || defined(_M_AMD64)
#include <emmintrin.h>
#endif

namespace {

// Fixed offsets of the map data.
constexpr qsizetype VersionOffset = 0;
constexpr qsizetype SizeOffset = 5;
constexpr qsizetype LevelsOffset = 9;
constexpr qsizetype FirstFieldLengthOffset = 10;
// The terrain may not start inside version, byte 4, size and levels byte.
constexpr qsizetype SmallestTerrainOffset = 10;
// The marker pair stands this far behind the end of the terrain.
constexpr qsizetype MarkerDistance = 8;

constexpr std::uint64_t CellBytes = sizeof(TerrainCell);

std::uint32_t readU32(QByteArrayView data, qsizetype offset)
{
    const auto *bytes = reinterpret_cast<const std::uint8_t *>(data.data() + offset);
    return std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 | std::uint32_t(bytes[2]) << 16 | std::uint32_t(bytes[3]) << 24;
}

void appendU32(QByteArray &bytes, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        bytes.append(char((value >> shift) & 0xFF));
}

bool isKnownVersion(std::uint32_t version)
{
    return version == 14 || version == 21 || version == 28 || version == 51;
}

// The first p in [from, last] at which the u32 at p and the u32 at p + 4 sum
// to the marker constant, one position at a time.
std::optional<qsizetype> scanForMarker(QByteArrayView data, qsizetype from, qsizetype last)
{
    for (qsizetype p = from; p <= last; ++p) {
        if (std::uint32_t(readU32(data, p) + readU32(data, p + 4)) == terrainMarkerSum)
            return p;
    }
    return std::nullopt;
}

// The first p >= from at which the u32 at p and the u32 at p + 4 sum to the
// marker constant; none when the data ends first. The search runs over the
// whole terrain, so it tests 16 positions a round where SSE2 is at hand: four
// unaligned loads of four u32 each cover the positions p+k, p+k+4, p+k+8,
// p+k+12 for k = 0..3, and four more give their partners 4 bytes on. A round
// with a hit is scanned again one position at a time, so the first one wins.
std::optional<qsizetype> findTerrainMarker(QByteArrayView data, qsizetype from)
{
    const qsizetype last = data.size() - 2 * qsizetype(sizeof(std::uint32_t));
    qsizetype p = from;
#if defined(__SSE2__) || defined(_M_X64) || defined(_M_AMD64)
    constexpr qsizetype Round = 16;
    const __m128i target = _mm_set1_epi32(int(terrainMarkerSum));
    for (; p + Round - 1 <= last; p += Round) {
        const char *at = data.data() + p;
        __m128i hits = _mm_setzero_si128();
        for (int k = 0; k < 4; ++k) {
            const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i *>(at + k));
            const __m128i second = _mm_loadu_si128(reinterpret_cast<const __m128i *>(at + k + 4));
            hits = _mm_or_si128(hits, _mm_cmpeq_epi32(_mm_add_epi32(first, second), target));
        }
        if (_mm_movemask_epi8(hits) != 0)
            return scanForMarker(data, p, p + Round - 1);
    }
#endif
    return scanForMarker(data, p, last);
}

MapLoadResult refusal(const QString &reason)
{
    MapLoadResult result;
    result.reason = reason;
    return result;
}

// Reads the map data once it is plain bytes in memory.
MapLoadResult parseMapData(QByteArrayView data)
{
    if (data.size() < MinimumMapDataLength)
        return refusal(QStringLiteral("map data shorter than %1 bytes").arg(MinimumMapDataLength));
    const std::uint32_t version = readU32(data, VersionOffset);
    if (!isKnownVersion(version))
        return refusal(QStringLiteral("unknown map version %1").arg(version));
    const std::uint32_t side = readU32(data, SizeOffset);
    if (side == 0)
        return refusal(QStringLiteral("map size is 0"));
    const bool hasUnderground = data[LevelsOffset] == 1;
    const std::uint64_t levels = hasUnderground ? 2 : 1;

    // Lengths are 32-bit and offsets 64-bit, so these sums cannot overflow.
    const std::uint64_t firstLength = readU32(data, FirstFieldLengthOffset);
    const std::uint64_t secondLengthOffset = std::uint64_t(FirstFieldLengthOffset) + 4 + firstLength;
    if (secondLengthOffset + 4 > std::uint64_t(data.size()))
        return refusal(QStringLiteral("first skipped field (%1 bytes) runs past the end of the data").arg(firstLength));
    const std::uint64_t secondLength = readU32(data, qsizetype(secondLengthOffset));
    const std::uint64_t fieldsEnd = secondLengthOffset + 4 + secondLength;
    if (fieldsEnd > std::uint64_t(data.size()))
        return refusal(QStringLiteral("second skipped field (%1 bytes) runs past the end of the data").arg(secondLength));

    // The search starts one byte behind the second field, never on it.
    const std::optional<qsizetype> marker = findTerrainMarker(data, qsizetype(fieldsEnd) + 1);
    if (!marker)
        return refusal(QStringLiteral("terrain marker not found"));
    const qsizetype terrainEnd = *marker - MarkerDistance;

    // side^2 fits in 64 bits; compare by division so that the layer size is
    // only ever formed once it is known to fit in front of the marker.
    const std::uint64_t cellsPerLayer = std::uint64_t(side) * side;
    const std::uint64_t room = std::uint64_t(terrainEnd - SmallestTerrainOffset);
    if (cellsPerLayer > room / (CellBytes * levels))
        return refusal(QStringLiteral("terrain of side %1 does not fit in front of the marker at byte %2").arg(side).arg(*marker));
    const qsizetype terrainOffset = terrainEnd - qsizetype(cellsPerLayer * CellBytes * levels);

    MapLoadResult result;
    MapDocument &document = result.document.emplace();
    const auto *cells = reinterpret_cast<const TerrainCell *>(data.data() + terrainOffset);
    document.ground = TerrainLayer::fromCells(side, cells);
    if (hasUnderground)
        document.underground = TerrainLayer::fromCells(side, cells + cellsPerLayer);
    document.version = version;
    document.headerBytes = data.first(terrainOffset).toByteArray();
    document.mapSize = side;
    document.hasUnderground = hasUnderground;
    document.trailingBytes = data.sliced(terrainEnd).toByteArray();
    document.isLoaded = true;
    document.sizeChanged = false;
    document.chooseSizeSteps(side);

    result.facts.terrainOffset = terrainOffset;
    result.facts.trailingLength = data.size() - terrainEnd;
    result.facts.dataLength = data.size();
    return result;
}

// The whole saved file; empty when the memory for it cannot be had.
QByteArray mapFileBytes(const MapDocument &document)
{
    try {
        return gzipMember(serializeMapData(document));
    } catch (const std::bad_alloc &) {
        return {};
    }
}

}  // namespace

bool isGzipContainer(QByteArrayView fileBytes)
{
    if (fileBytes.size() < 4)
        return false;
    const std::uint32_t start = readU32(fileBytes, 0);
    return start == 0x00088B1F || start == 0x08088B1F;
}

MapLoadResult loadMapData(QByteArrayView fileBytes, qsizetype maxDataLength)
{
    // The content of a large map may be more than the memory at hand.
    try {
        if (!isGzipContainer(fileBytes))
            return parseMapData(fileBytes);
        GzipInflateResult inflated = inflateGzip(fileBytes, maxDataLength);
        if (!inflated.ok())
            return refusal(inflated.error);
        MapLoadResult result = parseMapData(inflated.data);
        result.facts.compressed = true;
        return result;
    } catch (const std::bad_alloc &) {
        return refusal(QStringLiteral("not enough memory to load the map"));
    }
}

QString mapFileRefusal(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return QStringLiteral("no such file");
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString extension = dot < 0 ? QString() : name.sliced(dot);
    if (extension != QLatin1String(".vdm") && extension != QLatin1String(".vdw"))
        return QStringLiteral("extension is neither \".vdm\" nor \".vdw\"");
    if (info.size() > MaximumMapDataLength)
        return QStringLiteral("file larger than %1 bytes").arg(MaximumMapDataLength);
    return {};
}

MapLoadResult readMapFile(const QString &path)
{
    if (const QString reason = mapFileRefusal(path); !reason.isEmpty())
        return refusal(reason);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refusal(QStringLiteral("cannot open the file: %1").arg(file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return refusal(QStringLiteral("cannot read the file: %1").arg(file.errorString()));
    return loadMapData(bytes);
}

void adoptLoadedMap(MapDocument &document, MapDocument &&loaded)
{
    const std::uint8_t level = document.currentLevel;
    document = std::move(loaded);
    document.currentLevel = level;
    document.pointCurrentLayerAt(level);
}

QByteArray serializeMapData(const MapDocument &document)
{
    const QByteArray &header = document.headerBytes;
    const qsizetype layerBytes = qsizetype(document.ground.byteCount())
        + (document.hasUnderground ? qsizetype(document.underground.byteCount()) : 0);
    QByteArray data;
    data.reserve(header.size() + layerBytes + document.trailingBytes.size());
    // Offsets 0..3 and 5..8 come from the document's fields, which a size
    // change updates; the header keeps the values it was loaded with.
    appendU32(data, document.version);
    data.append(header.size() > 4 ? header[4] : '\0');
    appendU32(data, document.mapSize);
    data.append(header.mid(LevelsOffset));
    data.append(reinterpret_cast<const char *>(document.ground.data()), qsizetype(document.ground.byteCount()));
    if (document.hasUnderground)
        data.append(reinterpret_cast<const char *>(document.underground.data()), qsizetype(document.underground.byteCount()));
    data.append(document.trailingBytes);
    return data;
}

MapSaveResult saveMapFile(const MapDocument &document, const QString &path)
{
    if (!document.isLoaded)
        return {QStringLiteral("no map is loaded")};
    const QByteArray member = mapFileBytes(document);
    if (member.isEmpty())
        return {QStringLiteral("not enough memory to compress the map")};

    // QSaveFile writes beside the target and renames over it on commit, so the
    // old file stays whole until the new one is. In a folder that cannot be
    // written but holding a writable file, it writes the file in place instead.
    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        return {QStringLiteral("cannot create the file: %1").arg(file.errorString())};
    if (file.write(member) != member.size()) {
        const QString error = file.errorString();
        file.cancelWriting();
        return {QStringLiteral("cannot write the file: %1").arg(error)};
    }
    if (!file.commit())
        return {QStringLiteral("cannot write the file: %1").arg(file.errorString())};
    return {};
}
