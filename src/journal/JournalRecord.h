// One record of the edit journal: what redoes one finished edit step on the
// map as its file holds it. Building a record from the document, its stored
// bytes (framed, checksummed, cells compressed), and replaying it.
#pragma once

#include "base/Reason.h"
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

// What one finished step, or one move of the history, did to the map:
// - Cells: these cells of this level now hold these values (each once);
// - Size: the map's side changed to side (its cells cut or zero);
// - Step: a new step of the history, made of its parts (cells written in
//   order, and size changes), applied all or none;
// - Move: undo or redo moved the history (a whole step, or one cell); its
//   parts are what the move wrote (the new side first, then the cells), for
//   a reader without the history and to check the move against;
// - CellsInOrder (a part only): the cells a step wrote on one level, in the
//   order it wrote them, a cell as often as it was written, with the value
//   each write gave it, so that replaying them makes the same undo records.
struct JournalRecord {
    enum class Kind : std::uint8_t {
        Cells = 1,
        Size = 2,
        Step = 3,
        Move = 4,
        CellsInOrder = 5,
    };
    enum class Move : std::uint8_t {
        UndoStep = 1,
        RedoStep = 2,
        UndoOneCell = 3,
    };

    Kind kind = Kind::Cells;
    std::uint8_t level = 0;          // Cells, CellsInOrder: 0 ground, 1 underground
    std::vector<JournalCell> cells;  // Cells: in any order; a position twice holds the same value
    std::uint32_t side = 0;          // Size: the new side, 1..MapDocument::LargestSide
    Move move = Move::UndoStep;      // Move
    std::vector<JournalRecord> parts;  // Step, Move: Cells, CellsInOrder and Size records

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

// A new step of the undo records [first, end) of the list: the cells each
// record wrote, in the records' order, a CellsInOrder part for each run of
// records of one level.
JournalRecord journalStepOfUndoRecords(const MapDocument &document, const UndoList &undoList, std::size_t first,
                                       std::size_t end);

// A step, or a move of the history, made of the given parts.
JournalRecord journalStep(std::vector<JournalRecord> parts);
JournalRecord journalMove(JournalRecord::Move move, std::vector<JournalRecord> parts);

// The record as the journal stores it: kind (1 byte), length of the content
// (4), the content, and a CRC-32 of all of these (4). Cells are stored sorted
// by row and column, once each (CellsInOrder: as they come); a step's or a
// move's parts are stored records themselves without a checksum, one after
// another (a move's after its move byte).
QByteArray encodeJournalRecord(const JournalRecord &record);

// The first stored record at the start of bytes, or why it cannot be read.
struct JournalRecordRead {
    JournalRecord record;
    qsizetype length = 0;  // bytes the stored record takes; 0 on refusal
    Reason why;            // set on refusal
    QString reason;        // why in English, one line

    bool ok() const { return why.isEmpty(); }
};
JournalRecordRead decodeJournalRecord(QByteArrayView bytes);

// The length of the stored record at the start of bytes when its frame is
// whole and its checksum matches (its content is not decoded); 0 otherwise.
// What finds the intact records behind a damaged one.
qsizetype intactRecordLength(QByteArrayView bytes);

// Replays a record on the document. Cells go into the layer of the record's
// level; through the editor when one is given (on the same document), so that
// they are undo records of the caller's open step, the level the editor
// writes being switched for the record and back. A size change re-dimensions
// the map and marks its size changed; a step's or a move's parts are applied
// in order. A record that does not fit the document (a level it lacks, a cell
// beyond its side, a side out of range), or any part of it that does not,
// changes nothing. Returns the reason of a refusal, or none.
Reason applyJournalRecord(MapDocument &document, const JournalRecord &record, CellEditor *editor = nullptr);

// Whether the document holds what the record's parts (or the record itself)
// say: the side, and each cell's value. A move replayed on a history checks
// that it wrote what the move wrote when it was made.
bool documentHoldsRecord(const MapDocument &document, const JournalRecord &record);
