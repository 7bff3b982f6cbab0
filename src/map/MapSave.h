// Saving a map file safely: written beside the file and renamed over it, or,
// where that cannot be, written in place behind a copy of the original; the
// previous version kept on request, and the copies a killed save left behind.
#pragma once

#include "base/Reason.h"
#include "map/MapDocument.h"
#include "map/ProgressMeter.h"

#include <QString>

#include <functional>
#include <vector>

struct MapSaveResult {
    Reason why;      // set on failure
    QString reason;  // why in English, one line

    MapSaveResult() = default;
    MapSaveResult(const Reason &failure) : why(failure), reason(failure.english()) {}
    bool ok() const { return why.isEmpty(); }
};

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
// the copy stays, or none.
Reason putBackKeptOriginal(const QString &copyPath, const QString &mapPath);

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
MapSaveResult saveMapFile(const MapDocument &document, const QString &path, const MapSaveOptions &options,
                          const ProgressCallback &progress = {});
MapSaveResult saveMapFile(const MapDocument &document, const QString &path, const ProgressCallback &progress = {});
