// One record of the edit journal: what redoes one finished edit step on the
// map as its file holds it. Building a record from the document, its stored
// bytes (framed, checksummed, cells compressed), and replaying it.
#pragma once

#include "edit/CellEditor.h"
#include "edit/CellPosition.h"
#include "edit/UndoList.h"
#include "map/MapDocument.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QRect>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// A cell's new value and where it is.
struct JournalCell {
    std::uint16_t column = 0;
    std::uint16_t row = 0;
    TerrainCell value;

    friend bool operator==(const JournalCell &, const JournalCell &) = default;
};

// Every kind of step comes down to one of two kinds of record: strokes,
// fills, pastes, edges, and the undo and redo of steps and of single cells
// all say "these cells of this level now hold these values"; a size change
// says the new side (and, when its undo brings back cells the cut dropped,
// a cells record follows it).
struct JournalRecord {
    enum class Kind : std::uint8_t {
        Cells = 1,
        Size = 2,
    };

    Kind kind = Kind::Cells;
    std::uint8_t level = 0;          // Cells: 0 ground, 1 underground
    std::vector<JournalCell> cells;  // Cells: in any order; a position twice holds the same value
    std::uint32_t side = 0;          // Size: the new side

    friend bool operator==(const JournalRecord &, const JournalRecord &) = default;
};

// Builders, run on the window's thread right after a step closes: they copy
// the cells' current values and nothing more (sorting and compressing are the
// writer thread's). Positions outside the map are left out.

// The cells of one level at the given positions.
JournalRecord journalCellsAt(const MapDocument &document, int level, std::span<const CellPosition> positions);

// The cells of the undo records [first, end) of the list as they are now:
// what a step that appended those records wrote. One record per level the
// undo records name (a step normally touches one), ground first.
std::vector<JournalRecord> journalCellsOfUndoRecords(const MapDocument &document, const UndoList &undoList,
                                                     std::size_t first, std::size_t end);

// The cells of a rectangle of cell numbers on one level, clipped to the map:
// for an undo or redo of a step, whose changed rectangles HistoryChange gives.
JournalRecord journalCellsInRectangle(const MapDocument &document, int level, const QRect &cells);

// A size change to the given side.
JournalRecord journalSizeChange(std::uint32_t side);

// The record as the journal stores it: kind (1 byte), length of the content
// (4), the content, and a CRC-32 of all of these (4). Cells are stored sorted
// by row and column, once each.
QByteArray encodeJournalRecord(const JournalRecord &record);

// The first stored record at the start of bytes, or why it cannot be read.
struct JournalRecordRead {
    JournalRecord record;
    qsizetype length = 0;  // bytes the stored record takes; 0 on refusal
    QString reason;        // one line, set on refusal

    bool ok() const { return reason.isEmpty(); }
};
JournalRecordRead decodeJournalRecord(QByteArrayView bytes);

// Replays a record on the document. Cells go into the layer of the record's
// level; through the editor when one is given (on the same document), so that
// they are undo records of the caller's open step, the level the editor
// writes being switched for the record and back. A size change re-dimensions
// the map and marks its size changed. A record that does not fit the document
// (a level it lacks, a cell beyond its side, a side out of range) changes
// nothing. Returns the reason of a refusal, or an empty string.
QString applyJournalRecord(MapDocument &document, const JournalRecord &record, CellEditor *editor = nullptr);
