// Valdris map files: the gzip-or-plain container, the few header fields the
// editor reads, the search for the terrain, and the layout the editor saves.
#pragma once

#include "base/Reason.h"
#include "map/MapDocument.h"
#include "map/ProgressMeter.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>
#include <optional>

// Two 32-bit values whose sum (mod 2^32) is this stand 8 bytes behind the
// terrain; it is the only way to find where the terrain ends.
inline constexpr std::uint32_t terrainMarkerSum = 0x9DBBC4B3;

// Map data shorter than this is refused.
inline constexpr qsizetype MinimumMapDataLength = 1000;

// Largest map data accepted: the terrain of a two-level map of the largest
// side, plus 16 MiB for everything else a map holds. A gzip stream that would
// inflate beyond it is refused while it is inflated.
inline constexpr qsizetype MaximumMapDataLength =
    qsizetype(sizeof(TerrainCell)) * 2 * MapDocument::LargestSide * MapDocument::LargestSide + 16 * 1024 * 1024;

// What a loaded file looked like, for the command-line tool's report.
struct MapFileFacts {
    bool compressed = false;
    qsizetype terrainOffset = 0;   // T: offset of the first surface cell in the map data
    qsizetype trailingLength = 0;  // bytes behind the last cell of the last layer
    qsizetype dataLength = 0;      // length of the (decompressed) map data
};

struct MapLoadResult {
    std::optional<MapDocument> document;  // loaded, with isLoaded set; none on refusal
    Reason why;                           // set on refusal
    QString reason;                       // why in English, one line
    MapFileFacts facts;                   // valid with a document

    bool ok() const { return document.has_value(); }
};

// True when the file starts as a gzip member does: the bytes 1F 8B 08 (gzip,
// deflate) and a flag byte with none of the reserved bits 5..7 set. Every
// optional header field the gzip format allows (text flag, header CRC, extra
// field, file name, comment) may be there. Anything else is plain map data.
bool isGzipContainer(QByteArrayView fileBytes);

// Loads a map from the bytes of a map file, gzip or plain. The document has
// isLoaded set and level 0.
// maxDataLength bounds the decompressed content of a gzip file.
MapLoadResult loadMapData(QByteArrayView fileBytes, qsizetype maxDataLength = MaximumMapDataLength);

// The open command's checks on a file: it must exist and be a regular file
// (not a folder, a device or a pipe), not be larger than any map, and its
// extension be exactly ".vdm" or ".vdw" (letter case included). The reason of
// a refusal ("no such file", "it is a folder", ...), or none.
Reason mapFileRefusal(const QString &path);

// The checks of mapFileRefusal, then loadMapData on the file's bytes, read in
// pieces. Progress counts bytes of the file read.
MapLoadResult readMapFile(const QString &path, const ProgressCallback &progress = {});

// What `info` prints of a map file, found by reading it through once without
// keeping its content: a map of any size is summed up in little memory.
struct MapFileSummary {
    Reason why;      // set on refusal (the same as readMapFile's)
    QString reason;  // why in English, one line
    std::uint32_t version = 0;
    std::uint32_t mapSize = 0;
    int levelCount = 0;
    MapFileFacts facts;

    bool ok() const { return why.isEmpty(); }
};

// The checks and the reading of readMapFile, with the terrain read past.
MapFileSummary summarizeMapFile(const QString &path, const ProgressCallback &progress = {});

// Takes a freshly loaded map into the open document, keeping the level the
// user has chosen; the current layer follows it when the new map has that level.
void adoptLoadedMap(MapDocument &document, MapDocument &&loaded);

// The uncompressed map data as saved: version, header byte 4, the current
// side, the rest of the header bytes as loaded, the layers, the trailing bytes.
QByteArray serializeMapData(const MapDocument &document);

// Writes the saved file, one gzip member of the map data as saved, to
// `write` (see writeGzipMember: compressed on two threads straight from the
// header, the layers and the trailing bytes, without a copy of any of them, at zlib's
// default level). False when memory runs out or `write` stops.
bool writeMapMember(const MapDocument &document, const std::function<bool(QByteArrayView)> &write,
                    const ProgressCallback &progress = {});
