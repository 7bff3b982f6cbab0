// The edit history of the open map: the undo records, where each step begins,
// what an undo left to redo, the map's size changes, and whether the map is as
// it was when it last matched its file.
#pragma once

#include "edit/SizeChange.h"
#include "edit/UndoList.h"
#include "edit/UndoStep.h"
#include "map/MapDocument.h"

#include <QRect>

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <utility>
#include <vector>

// What taking back or putting back a step, a cell or a size change did.
struct HistoryChange {
    // Outcome Nothing when there was nothing to take back or put back (or a
    // size change could not get its memory), Consumed when the change names
    // no cell to show (a size change, or records whose cells the map lacks),
    // Restored with the level and position of the first cell written (the
    // cell to switch to and scroll to).
    UndoStep firstCell;
    // Per level (0 ground, 1 underground), the rectangle of cell numbers that
    // holds every cell written; empty for a level with none, and after a size
    // change, which changes every level as a whole.
    std::array<QRect, 2> changedCells;
    std::size_t written = 0;  // records whose cell was written
    // The map's side after a size change was made, taken back or put back;
    // none when the side stayed.
    std::optional<std::uint32_t> newSide;
    // A size change could not get the memory for the layers: nothing changed.
    bool outOfMemory = false;
    // Which move of the history this was.
    enum class Move : std::uint8_t { UndoStep, RedoStep, UndoOneCell, Resize };
    Move move = Move::UndoStep;
};

// A step is what one gesture changed: a stroke from press to release with the
// edges applied after it, a fill, a paste, a change of the map's side. The
// caller opens a step, edits through a CellEditor on undoList(), and closes
// the step; a step that recorded nothing leaves no trace. Records appended
// while no step is open become a step of their own at the next call.
//
// Every record, 12 bytes, stays in one chunked list for as long as the
// history holds it: the records that can be undone first, those that can be
// redone behind them. Undo and redo swap each record's cell with the map's,
// in place, so a record holds the cell of the other side, and a step costs its
// records once, whichever side it is on; neither moves nor allocates records.
//
// Single cells and steps. undoOneCell takes back the newest record alone; the
// step it belongs to stays one step, now split between the two sides. Then:
// - redoStep puts back everything of that step that was taken back, at once:
//   the step is whole again, as it was before the single-cell undos;
// - undoStep takes back the rest of that step: the whole step is one redo
//   step;
// - undoOneCell past a step's first record takes the whole of that step to
//   the redo side and goes on in the step before;
// - a new edit forgets what could be redone; what is left of a split step
//   stays a shorter step.
// A size change is one record, so undoOneCell takes back the whole change.
//
// Size changes go through resize(), so that every record's cell exists
// whenever the record is applied; a record whose cell the map lacks (a side
// changed behind the history) is left alone.
class EditHistory {
public:
    // The record list a CellEditor appends to, whose undo count the undo
    // button shows. Only appending is for others: it is a new edit.
    UndoList &undoList() { return m_records; }
    const UndoList &undoList() const { return m_records; }

    // Starts a step at the current end of the undo records.
    void openStep();
    // The records of the open step from first up to (not including) second.
    using RecordRange = std::pair<std::size_t, std::size_t>;
    // Folds the open step's records so that what the user sees undone cell by
    // cell are the states the user made: a record in one of the folded ranges
    // (written by the step's own after-work, such as the edge rules) goes when
    // its cell has an earlier record in the step, which holds what the cell
    // was before. With wholeStep (a step of one operation) every cell keeps
    // just its first record, and a cell back to what it was keeps none: one
    // record per changed cell. Undo and redo give the same cells either way.
    void compactOpenStep(const MapDocument &document, std::span<const RecordRange> folded, bool wholeStep);
    // Ends the open step. When it recorded anything it is a new edit: what
    // could be redone is forgotten, and so is a saved state that only a redo
    // could have reached.
    void closeStep();

    bool canUndo() const { return !m_records.isEmpty(); }
    bool canRedo() const { return m_records.retreatedCount() > 0; }
    // Steps that undoStep, or redoStep, can reach; a split step counts on both
    // sides.
    std::size_t undoStepCount() const;
    std::size_t redoStepCount() const;

    // Takes back the rest of the newest step, newest record first, writing
    // each record's cell into the layer of its level whichever level is
    // shown. Progress is that of a size change's new layers.
    HistoryChange undoStep(MapDocument &document, const ProgressCallback &progress = {});
    // Puts back the oldest step that was taken back, or all that was taken
    // back of it, oldest record first.
    HistoryChange redoStep(MapDocument &document, const ProgressCallback &progress = {});
    // Takes back the newest record alone (the undo button).
    HistoryChange undoOneCell(MapDocument &document, const ProgressCallback &progress = {});

    // Changes the map's side as a step of its own (closing an open step
    // first): undo brings back the old side and every cell the change cut
    // away, redo makes the change again. Nothing happens for the side the map
    // has, or when the memory cannot be had (outOfMemory).
    HistoryChange resize(MapDocument &document, std::uint32_t side, const ProgressCallback &progress = {});

    // Remembers that the map matches its file now (after a save).
    void markSaved();
    // True when the map is as it was at the mark: undo, redo, new edits and
    // size changes all move away from it or back to it.
    bool isAtSavedState() const;

    // Forgets every step (a map was opened); the map matches the file. The
    // record list keeps its memory for the next map.
    void clear();

    // Bytes held by the records, the step table and the size changes.
    std::size_t allocatedBytes() const;

private:
    // Ends the open step, or makes a step of records appended without one.
    void settle();
    // The first record of the step that holds the record at index, and the
    // index after its last.
    std::size_t stepStart(std::size_t index) const;
    std::size_t stepEnd(std::size_t index) const;
    // Takes back (undo) or puts back the records first .. last - 1, which end
    // (undo) or start at the undo count; a size change's record alone stands
    // for the change.
    HistoryChange apply(MapDocument &document, std::size_t first, std::size_t last, bool undo,
                        const ProgressCallback &progress);
    HistoryChange applySizeChange(MapDocument &document, bool undo, const ProgressCallback &progress);

    UndoList m_records;
    // Index of each step's first record, ascending, over every record held.
    std::vector<std::size_t> m_stepStarts;
    // The size changes held, in the order of their records; the first
    // m_sizeChangesDone are on the undo side.
    std::vector<SizeChange> m_sizeChanges;
    std::size_t m_sizeChangesDone = 0;
    // The undo record count the history has taken in; records beyond it were
    // appended since, by an open step or without one.
    std::size_t m_settledCount = 0;
    // The undo record count at which the map matches its file; none when no
    // sequence of undos and redos can bring that map back.
    std::optional<std::size_t> m_savedAt = 0;
};
