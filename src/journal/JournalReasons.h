// The reasons of the edit journal: reading it back, checking it against its
// map, and writing it.
#pragma once

#include "base/Reason.h"

#define BRACKWEN_JOURNAL_REASONS(REASON) \
    REASON(JournalNotJournal, "journal.notjournal", "not an edit journal") \
    REASON(JournalHeaderCut, "journal.headercut", "the journal's header is cut off") \
    REASON(JournalNewer, "journal.newer", \
           "the journal is of format %1, newer than this program's %2; a newer Brackwen can recover it") \
    REASON(JournalPathLength, "journal.pathlength", "the journal's header is damaged (a map path of %1 bytes)") \
    REASON(JournalFormatField, "journal.formatfield", "the journal's header is damaged (its format field reads %1)") \
    REASON(JournalHeaderChecksum, "journal.headerchecksum", \
           "the journal's header is damaged (its checksum does not match)") \
    REASON(JournalUnknownFormat, "journal.unknownformat", "the journal is of unknown format %1") \
    REASON(JournalHeaderSize, "journal.headersize", "the journal's header is damaged (a map of side %1 with %2 levels)") \
    REASON(JournalDamage, "journal.damage", "record %1 is damaged and %2 intact records follow it: %3") \
    REASON(JournalAtByte, "journal.atbyte", "%1 (at byte %2)") \
    REASON(JournalSizeMismatch, "journal.sizemismatch", \
           "the journal began on a map of side %1 with %2 level(s), the map is of side %3 with %4 level(s)") \
    REASON(JournalMapUnreadable, "journal.mapunreadable", "%1 cannot be read: %2") \
    REASON(JournalFileChanged, "journal.filechanged", "%1 changed since the journal began: %2") \
    REASON(JournalFileSize, "journal.filesize", "its size is %1 bytes, not %2") \
    REASON(JournalFileTime, "journal.filetime", "it was written at %1, not %2") \
    REASON(JournalFileBytes, "journal.filebytes", "its bytes differ") \
    REASON(JournalBoth, "journal.both", "%1; %2") \
    REASON(JournalCellsShort, "journal.cellsshort", "a cells record is too short") \
    REASON(JournalCellsLevel, "journal.cellslevel", "a cells record names level %1") \
    REASON(JournalCellsClaim, "journal.cellsclaim", "a cells record claims %1 cells in %2 runs") \
    REASON(JournalCellsBytes, "journal.cellsbytes", "a cells record claims more cells than its bytes can hold") \
    REASON(JournalInflate, "journal.inflate", "the cells of a record do not inflate to their stated length") \
    REASON(JournalRunsOrder, "journal.runsorder", "the runs of a cells record are out of order or do not add up") \
    REASON(JournalRunsSum, "journal.runssum", "the runs of a cells record do not add up") \
    REASON(JournalFrameCut, "journal.framecut", "a record is cut off in its first %1 bytes") \
    REASON(JournalPartPast, "journal.partpast", "a part of a record runs past its end") \
    REASON(JournalRecordCut, "journal.recordcut", "a record of %1 bytes is cut off after %2") \
    REASON(JournalChecksum, "journal.checksum", "a record's checksum does not match its bytes") \
    REASON(JournalPartKind, "journal.partkind", "a part of a record is of kind %1") \
    REASON(JournalKind, "journal.kind", "a record is of unknown kind %1") \
    REASON(JournalSizeLength, "journal.sizelength", "a size record is not 4 bytes long") \
    REASON(JournalSizeSide, "journal.sizeside", "a size record names side %1, outside 1..%2") \
    REASON(JournalMove, "journal.move", "a move record names unknown move %1") \
    REASON(JournalNoParts, "journal.noparts", "a step record has no parts") \
    REASON(JournalSizeChange, "journal.sizechange", "a size change to side %1 is outside 1..%2") \
    REASON(JournalNoLevel, "journal.level", "cells of level %1, which the map does not have") \
    REASON(JournalCellOutside, "journal.celloutside", "the cell at column %1, row %2 lies outside the map of side %3") \
    REASON(JournalMemory, "journal.memory", "not enough memory for a map of side %1") \
    REASON(JournalLeftAlone, "journal.leftalone", "%1 is left alone: %2") \
    REASON(JournalFolder, "journal.folder", "the folder %1 cannot be made") \
    REASON(JournalCannotWrite, "journal.cannotwrite", "the journal cannot be written") \
    REASON(JournalSync, "journal.sync", "the system could not write the file to its disk (error %1)")

namespace reasons {
BRACKWEN_JOURNAL_REASONS(BRACKWEN_REASON_KIND)
}

// The kinds above, for the check of the languages' wordings.
std::span<const ReasonKind> journalReasons();
