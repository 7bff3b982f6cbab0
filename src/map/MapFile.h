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
    QString reason;                       // one line, set on refusal
    MapFileFacts facts;                   // valid with a document

    bool ok() const { return document.has_value(); }
};

struct MapSaveResult {
    QString reason;  // one line, set on failure

    bool ok() const { return reason.isEmpty(); }
};

// True when the file starts as a gzip member does: the bytes 1F 8B 08 (gzip,
// deflate) and a flag byte with none of the reserved bits 5..7 set. Every
// optional header field the gzip format allows (text flag, header CRC, extra
// field, file name, comment) may be there. Anything else is plain map data.
bool isGzipContainer(QByteArrayView fileBytes);

// Loads a map from the bytes of a map file, gzip or plain. The document has
// isLoaded set, the size steps of its side, and level 0.
// maxDataLength bounds the decompressed content of a gzip file.
MapLoadResult loadMapData(QByteArrayView fileBytes, qsizetype maxDataLength = MaximumMapDataLength);

// The open command's checks on a file: it must exist and be a regular file
// (not a folder, a device or a pipe), not be larger than any map, and its
// extension be exactly ".vdm" or ".vdw" (letter case included). The reason of
// a refusal ("no such file", "it is a folder", ...), or an empty string.
QString mapFileRefusal(const QString &path);

// The checks of mapFileRefusal, then loadMapData on the file's bytes, read in
// pieces. Progress counts bytes of the file read.
MapLoadResult readMapFile(const QString &path, const ProgressCallback &progress = {});

// What `info` prints of a map file, found by reading it through once without
// keeping its content: a map of any size is summed up in little memory.
struct MapFileSummary {
    QString reason;  // one line, set on refusal (the same as readMapFile's)
    std::uint32_t version = 0;
    std::uint32_t mapSize = 0;
    int levelCount = 0;
    MapFileFacts facts;

    bool ok() const { return reason.isEmpty(); }
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
// header, the layers and the trailing bytes, without a copy of any of them). False when memory runs out or
// `write` stops.
bool writeMapMember(const MapDocument &document, const std::function<bool(QByteArrayView)> &write,
                    const ProgressCallback &progress = {});

// How a map is saved. The defaults are the editor's plain save.
struct MapSaveOptions {
    // Keep the file being replaced as NAME.bak beside it; when its folder
    // cannot be written, as NAME.bak in backupFolder. An existing NAME.bak is
    // replaced. Off by default.
    bool keepPrevious = false;
    // Where a write in place keeps its copy of the original until the new
    // file is on the disk, and where NAME.bak goes when the map's folder
    // cannot be written: the user's data folder in the editor. Empty: the
    // system's folder for temporary files. Created when missing.
    QString backupFolder;
    // Write into the existing file instead of replacing it, which keeps the
    // file itself (its hard links, owner and permissions). Chosen by the save
    // on its own when the file's folder cannot be written, and for a file
    // that has more than one name (hard link), so that every name sees the
    // new map.
    bool inPlace = false;
    // For tests of failing disks: called before each write of the new file's
    // bytes with the count written so far; a non-zero result is taken as the
    // system's error code of that write (ENOSPC, EFBIG...) and the write fails.
    std::function<int(qint64 written)> writeFault;
};

// Saves the document as one gzip member written by writeMapMember.
//
// The target must be a regular file or not exist: a folder, a device, a pipe
// or a socket is refused ("it is a folder", "it is not a regular file") and
// left alone.
//
// Normally the file is written beside the target and renamed over it once it
// is whole and on the disk, so on any failure the old file keeps its bytes.
//
// In place (options.inPlace, or a writable file in a folder that cannot be
// written) the save never leaves a damaged file either: the new file is first
// compressed in memory, so that its size is known; a complete copy of the
// original is written to the backup folder and synced; the whole new size is
// reserved on the disk (a full disk is found here, before any byte of the
// original is overwritten); only then is the file overwritten, cut to its new
// length and synced, and the copy removed. When a write fails the original is
// copied back from the copy and the reason ends with "; the original was put
// back"; should that fail too, the copy stays and the reason ends with
// "; the original is kept in PATH". A kill during the write leaves the copy in
// the backup folder.
//
// Reasons name the cause in plain words: "cannot write the file: no space
// left on the device", "...: file too large" (with the file-size signal
// ignored, see platform::ignoreFileSizeSignal), "not enough memory to compress
// the map". Progress counts map data bytes.
// A copy of an original that a save in place left in the backup folder,
// because the save was killed while it overwrote the file or could not put
// the original back: NAME.XXXXXXXX.original, for the map file NAME.
struct KeptOriginal {
    QString path;     // of the copy
    QString mapName;  // the map file's name, without its folder
};

// The copies of originals in the backup folder, newest first.
std::vector<KeptOriginal> keptOriginals(const QString &backupFolder);

// Writes the kept copy's bytes into the map file (in place, as the save
// would have, then synced) and removes the copy; the reason of a failure, when
// the copy stays, or empty.
QString putBackKeptOriginal(const QString &copyPath, const QString &mapPath);

MapSaveResult saveMapFile(const MapDocument &document, const QString &path, const MapSaveOptions &options,
                          const ProgressCallback &progress = {});
MapSaveResult saveMapFile(const MapDocument &document, const QString &path, const ProgressCallback &progress = {});
