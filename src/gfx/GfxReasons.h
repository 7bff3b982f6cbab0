// The reasons of the graphics library: the sprite archive that cannot be
// opened, an entry of it that cannot be read, a sprite file that does not
// decode, and the loading of the tile pictures that names the file at fault.
// File and entry names are arguments and stay as they are in every language.
#pragma once

#include "base/Reason.h"

#define BRACKWEN_GFX_REASONS(REASON) \
    REASON(GfxIndexOutOfBounds, "gfx.index", "List index out of bounds (%1)") \
    REASON(GfxDefInvalid, "gfx.definvalid", "Def file is invalid") \
    REASON(GfxAssertion, "gfx.assertion", "Assertion failure") \
    REASON(GfxUnknownEncoding, "gfx.encoding", "frame %1 has the unknown pixel encoding %2") \
    REASON(GfxSystemCall, "gfx.systemcall", "A call to an OS function failed") \
    REASON(GfxSystemError, "gfx.systemerror", "System Error.  Code: %1.\r\n%2") \
    REASON(GfxArchiveShort, "gfx.archiveshort", "too short for a sprite archive (%1 bytes)") \
    REASON(GfxArchiveCount, "gfx.archivecount", "not a sprite archive: it claims %1 entries") \
    REASON(GfxArchiveTable, "gfx.archivetable", "damaged: its table of %1 entries runs past its end") \
    REASON(GfxArchiveTableRead, "gfx.archivetableread", "cannot read its table: %1") \
    REASON(GfxArchiveReopen, "gfx.archivereopen", "Cannot open file \"%1\". %2") \
    REASON(GfxEntry, "gfx.entry", "Archive entry \"%1\" %2") \
    REASON(GfxEntryUnreadable, "gfx.entryread", "cannot be read: %1") \
    REASON(GfxEntryOutside, "gfx.entryoutside", "lies outside the archive") \
    REASON(GfxEntryTooLarge, "gfx.entrylarge", "is too large to unpack (%1 bytes)") \
    REASON(GfxEntryCannotUnpack, "gfx.entryunpack", "cannot be unpacked: %1") \
    REASON(GfxEntryCutShort, "gfx.entryshort", "is cut short by the end of the archive") \
    REASON(GfxEntryUnpacksTo, "gfx.entryunpacksto", "unpacks to %1 bytes instead of %2") \
    REASON(GfxOutOfMemory, "gfx.outofmemory", "out of memory") \
    REASON(GfxCorruptData, "gfx.corrupt", "corrupt data") \
    REASON(GfxSpriteFile, "gfx.file", "%1: %2") \
    REASON(GfxCannotOpenArchive, "gfx.archive", "cannot open the sprite archive: %1") \
    REASON(GfxNoEntryNamed, "gfx.noentry", "no entry named %1") \
    REASON(GfxInEntry, "gfx.inentry", "entry %1: %2") \
    REASON(GfxNoMemoryToDecode, "gfx.decodememory", "not enough memory to decode it")

namespace reasons {
BRACKWEN_GFX_REASONS(BRACKWEN_REASON_KIND)
}

// The kinds above, for the check of the languages' wordings.
std::span<const ReasonKind> gfxReasons();
