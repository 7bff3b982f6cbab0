// Valdris map files: the gzip-or-plain container, the few header fields the
// editor reads, the search for the terrain, and the layout the editor saves.
#pragma once

#include "map/MapDocument.h"
#include "map/ProgressMeter.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <functional>
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
    QString reason;                       // one line, set on refusal
    MapFileFacts facts;                   // valid with a document

    bool ok() const { return document.has_value(); }
};

struct MapSaveResult {
    QString reason;  // one line, set on failure

    bool ok() const { return reason.isEmpty(); }
};

// True when the file's first four bytes, as a little-endian 32-bit value, are
// 0x00088B1F or 0x08088B1F (gzip, deflate, no flags or the file-name flag
// alone). Anything else is plain map data.
bool isGzipContainer(QByteArrayView fileBytes);

// Loads a map from the bytes of a map file, gzip or plain. The document has
// isLoaded set, sizeChanged clear, the size steps of its side, and level 0.
// maxDataLength bounds the decompressed content of a gzip file.
MapLoadResult loadMapData(QByteArrayView fileBytes, qsizetype maxDataLength = MaximumMapDataLength);

// The open command's checks on a file: it must exist, not be larger than any
// map, and its extension be exactly ".vdm" or ".vdw" (letter case included).
// The reason of a refusal, or an empty string.
QString mapFileRefusal(const QString &path);

// The checks of mapFileRefusal, then loadMapData on the file's bytes, read in
// pieces. Progress counts bytes of the file read.
MapLoadResult readMapFile(const QString &path, const ProgressCallback &progress = {});

// Takes a freshly loaded map into the open document, keeping the level the
// user has chosen; the current layer follows it when the new map has that level.
void adoptLoadedMap(MapDocument &document, MapDocument &&loaded);

// The uncompressed map data as saved: version, header byte 4, the current
// side, the rest of the header bytes as loaded, the layers, the trailing bytes.
QByteArray serializeMapData(const MapDocument &document);

// Writes the saved file, one gzip member of the map data as saved, to
// `write` (see writeGzipMember: compressed on two threads straight from the
// layers, without a copy of the map data). False when memory runs out or
// `write` stops.
bool writeMapMember(const MapDocument &document, const std::function<bool(QByteArrayView)> &write,
                    const ProgressCallback &progress = {});

// Saves the document as one gzip member written by writeMapMember. The
// target is replaced only once the whole file is written; on failure an
// existing file keeps its old bytes. Progress counts map data bytes.
MapSaveResult saveMapFile(const MapDocument &document, const QString &path, const ProgressCallback &progress = {});
