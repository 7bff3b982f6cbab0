// The reasons of reading and saving map files.
#pragma once

#include "base/Reason.h"

#define BRACKWEN_MAP_REASONS(REASON) \
    REASON(MapDataShort, "map.short", "map data shorter than %1 bytes") \
    REASON(MapVersion, "map.version", "unknown map version %1") \
    REASON(MapSizeZero, "map.sizezero", "map size is 0") \
    REASON(MapFirstField, "map.firstfield", "first skipped field (%1 bytes) runs past the end of the data") \
    REASON(MapSecondField, "map.secondfield", "second skipped field (%1 bytes) runs past the end of the data") \
    REASON(MapNoMarker, "map.nomarker", "terrain marker not found") \
    REASON(MapTerrainFit, "map.terrainfit", "terrain of side %1 does not fit in front of the marker at byte %2") \
    REASON(MapDataUnreadable, "map.dataread", "cannot read the map data") \
    REASON(MapNoMemory, "map.memory", "not enough memory to load the map") \
    REASON(MapNoSuchFile, "map.missing", "no such file") \
    REASON(MapExtension, "map.extension", "extension is neither \".vdm\" nor \".vdw\"") \
    REASON(MapFileLarger, "map.larger", "file larger than %1 bytes") \
    REASON(MapCannotOpen, "map.open", "cannot open the file: %1") \
    REASON(MapCannotRead, "map.read", "cannot read the file: %1") \
    REASON(GzipNoMemory, "gzip.memory", "not enough memory to start the gzip decoder") \
    REASON(GzipTooLarge, "gzip.larger", "decompressed map data larger than %1 bytes") \
    REASON(GzipUnreadable, "gzip.read", "gzip data cannot be read after byte %1") \
    REASON(GzipTruncated, "gzip.truncated", "gzip data truncated at byte %1") \
    REASON(GzipCorrupt, "gzip.corrupt", "gzip data corrupt at byte %1 (%2)") \
    REASON(GzipStatus, "gzip.status", "zlib status %1") \
    REASON(SaveCannotWrite, "save.write", "cannot write the file: %1") \
    REASON(SaveReadOnly, "save.readonly", "it is read-only") \
    REASON(SaveKeepPrevious, "save.keepprevious", "cannot keep the previous version as %1 (%2) nor as %3 (%4)") \
    REASON(SaveNoMemory, "save.memory", "not enough memory to compress the map") \
    REASON(SaveBackupFolder, "save.backupfolder", "cannot create the backup folder %1") \
    REASON(SaveKeepOriginal, "save.keeporiginal", "cannot keep a copy of the original in %1: %2") \
    REASON(SaveOriginalUnchanged, "save.unchanged", "%1; the original is unchanged") \
    REASON(SaveOriginalPutBack, "save.putback", "%1; the original was put back") \
    REASON(SaveOriginalKept, "save.kept", "%1; the original is kept in %2") \
    REASON(SaveNoMap, "save.nomap", "no map is loaded") \
    REASON(SaveSide, "save.side", "a map of side %1 cannot be saved (sides are 1..%2)") \
    REASON(SaveCannotCreate, "save.create", "cannot create the file: %1")

namespace reasons {
BRACKWEN_MAP_REASONS(BRACKWEN_REASON_KIND)
}

// The kinds above, for the check of the languages' wordings.
std::span<const ReasonKind> mapReasons();
