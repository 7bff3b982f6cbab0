// The edit journal file: its header, which names the map file and says what
// it looked like when the journal began, then one record per finished edit
// step (JournalRecord.h). Reading it back after a crash, and telling whether
// the map file changed since.
#pragma once

#include "base/Reason.h"
#include "journal/JournalRecord.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <vector>

// "BRKWJRNL", then the format version: a journal of a newer format is refused.
// Version 2 added steps and moves of the history (JournalRecord.h); a journal
// of version 1 holds cells and size records only and is read as before.
inline constexpr char JournalMagic[] = "BRKWJRNL";
inline constexpr std::uint32_t JournalFormatVersion = 2;
inline constexpr std::uint32_t OldestJournalFormat = 1;
// The most a journal file is read into memory.
inline constexpr qint64 LargestJournal = qint64(4) << 30;

// The absolute, cleaned path of a map file, by which its journal knows it.
QString journalMapPath(const QString &mapPath);

// A map file's bytes as far as the journal needs them: its length, the time
// it was last written, and the CRC-32 of all its bytes.
struct MapFileIdentity {
    qint64 size = -1;              // -1: the file could not be read
    qint64 modifiedMsecs = 0;      // UTC, milliseconds since 1970
    std::uint32_t crc32 = 0;

    friend bool operator==(const MapFileIdentity &, const MapFileIdentity &) = default;
};

struct MapFileHash {
    MapFileIdentity identity;
    QString reason;  // one line, set when the file cannot be read

    bool ok() const { return reason.isEmpty(); }
};

// The identity of the file at path, read in pieces of 1 MiB.
MapFileHash hashMapFile(const QString &path);

struct JournalHeader {
    QString mapPath;  // absolute
    MapFileIdentity file;
    std::uint32_t side = 0;  // the map's side and level count when the journal began
    std::uint8_t levelCount = 1;

    friend bool operator==(const JournalHeader &, const JournalHeader &) = default;
};

// The header for a journal of a map whose file at mapPath matches the cells
// now (just opened or just saved), of the given side and level count; the
// file is hashed here.
JournalHeader makeJournalHeader(const QString &mapPath, std::uint32_t side, int levelCount);

// The header as stored: magic, version (4 bytes), the map's path (length in 4
// bytes, UTF-8), size (8), modification time (8), CRC-32 (4), side (4),
// level count (1), and a CRC-32 of the header's bytes before it (4).
QByteArray encodeJournalHeader(const JournalHeader &header);

struct JournalHeaderRead {
    JournalHeader header;
    qsizetype length = 0;  // bytes the stored header takes
    Reason why;            // set on refusal
    QString reason;        // why in English, one line
    bool newerFormat = false;  // refused as written by a newer program, which may still need it

    bool ok() const { return why.isEmpty(); }
};

// The header at the start of bytes: refused when the bytes are not a
// journal, are of a newer format, or the header is cut off or damaged (its
// checksum, a side outside 1..MapDocument::LargestSide, a level count other
// than 1 or 2). A version field that reads newer is taken as damage when the
// header's checksum shows the field alone was changed.
JournalHeaderRead decodeJournalHeader(QByteArrayView bytes);

// A journal as read back: its header and its complete records. A crash can
// cut the last record off at any byte; that record and anything behind it is
// the dropped tail, and everything in front of it is kept. A damaged record
// followed by intact ones is no crash cut: the tail then holds those intact
// records, counted, and the journal is damaged().
struct JournalContents {
    JournalHeader header;
    QByteArray bytes;                       // the journal file
    std::vector<qsizetype> recordOffsets;   // where each complete record starts in bytes
    qsizetype tailLength = 0;               // bytes dropped behind the complete records
    Reason tailWhy;                         // why they were dropped; none when none were
    QString tailReason;                     // tailWhy in English
    std::size_t intactAfterDamage = 0;      // intact records found in the tail
    Reason why;                             // set when the journal is refused
    QString reason;                         // why in English, one line

    bool ok() const { return why.isEmpty(); }
    bool tailDropped() const { return tailLength > 0; }
    bool damaged() const { return intactAfterDamage > 0; }
    std::size_t recordCount() const { return recordOffsets.size(); }
    // The record at index; each was checked when read. Decoding one at a
    // time keeps only one step's cells out of their compressed form.
    JournalRecord record(std::size_t index) const;
    // One line for a damaged journal: which record is damaged and how many
    // intact ones follow it (damage() in English).
    Reason damageWhy() const;
    QString damage() const { return damageWhy().english(); }
};

// Reads the journal at path, a regular file of at most LargestJournal bytes
// (a device, a pipe or a folder is refused unread). Reading never changes
// the file.
JournalContents readJournal(const QString &path);
// The same for a journal's bytes already read.
JournalContents readJournalBytes(QByteArray bytes);

// Why a journal cannot be replayed on a map of the given side and level
// count (naming both sizes); none when it can.
Reason journalSizeMismatch(const JournalHeader &header, std::uint32_t side, int levelCount);

struct JournalFileCheck {
    Reason why;          // what differs; none when nothing does
    QString difference;  // why in English, one line

    bool matches() const { return why.isEmpty(); }
};

// Whether the map file at path is still as the journal's header says (size,
// modification time and bytes), so that replaying the journal on it gives
// the map as it was.
JournalFileCheck journalMatchesFile(const JournalHeader &header, const QString &path);
