// The edit history of the open map: the undo records, where each step begins,
// what an undo left to redo, and whether the cells are as they were when the
// map last matched its file.
#pragma once

#include "edit/UndoList.h"
#include "edit/UndoStep.h"
#include "map/MapDocument.h"

#include <QRect>

#include <array>
#include <cstddef>
#include <optional>
#include <vector>

// What taking back or putting back records did.
struct HistoryChange {
    // Outcome Nothing when there was nothing to take back or put back,
    // Consumed when every record lay outside the map as it is now, Restored
    // with the level and position of the step's first cell that was written
    // (the cell to switch to and scroll to).
    UndoStep firstCell;
    // Per level (0 ground, 1 underground), the rectangle of cell numbers that
    // holds every cell written; empty for a level with none.
    std::array<QRect, 2> changedCells;
    std::size_t written = 0;  // records whose cell was written
    std::size_t dropped = 0;  // records outside the map, gone for good
};

// A step is what one gesture changed: a stroke from press to release with the
// edges applied after it, a fill, a paste. The caller opens a step, edits
// through a CellEditor on undoList(), and closes the step; a step that
// recorded nothing leaves no trace. Records appended while no step is open
// become a step of their own at the next call.
//
// Both sides keep records in chunked lists, 12 bytes a record: the undo side
// the cell before each change, the redo side the cell an undo took away. A
// record moves from one side to the other, so a step costs its records once
// whichever side it is on, and the side it left gives its chunks back.
class EditHistory {
public:
    // The undo records, oldest first: the list a CellEditor appends to, and
    // whose count the undo button shows. Records taken off it directly
    // (undoLast) leave the history for good: nothing to redo, and a saved state
    // beyond them is out of reach.
    UndoList &undoList() { return m_undo.records; }
    const UndoList &undoList() const { return m_undo.records; }

    // Starts a step at the current end of the undo records.
    void openStep();
    // Ends the open step. When it recorded anything it is a new edit: what
    // could be redone is forgotten, and so is a saved state that only a redo
    // could have reached.
    void closeStep();

    bool canUndo() const { return !m_undo.records.isEmpty(); }
    bool canRedo() const { return !m_redo.records.isEmpty(); }
    std::size_t undoStepCount() const;
    std::size_t redoStepCount() const { return m_redo.stepStarts.size(); }

    // Takes back every record of the newest step, newest first, writing each
    // record's cell into the layer of its level whichever level is shown;
    // records outside the map are dropped. The step becomes the newest redo step.
    HistoryChange undoStep(MapDocument &document);
    // Puts back the newest redo step, oldest record first, as one step again.
    HistoryChange redoStep(MapDocument &document);
    // Takes back the newest record alone (the undo button), leaving the rest of
    // its step a shorter step; the cell becomes a redo step of its own.
    HistoryChange undoOneCell(MapDocument &document);

    // Remembers that the cells match the map's file now (after a save).
    void markSaved();
    // True when the cells are as they were at the mark: undo, redo and new
    // edits all move away from it or back to it. Size changes are the caller's.
    bool isAtSavedState() const;

    // Forgets both sides (a map was opened); the cells match the file. The
    // undo side keeps its memory for the next map.
    void clear();

    // Bytes held by both sides' records and step tables.
    std::size_t allocatedBytes() const;

private:
    struct Side {
        UndoList records;
        std::vector<std::size_t> stepStarts;  // index of each step's first record, ascending
    };

    // Ends the open step, or makes a step of records appended without one.
    void settle();
    // Moves count records from the end of one side to the other as one step,
    // swapping each with the cell in the map. Undo takes a step newest record
    // first; a redo, whose side holds the step reversed, takes it oldest first.
    HistoryChange moveRecords(MapDocument &document, Side &from, Side &to, std::size_t count, bool oldestFirst);
    // A record at this position of the history (undo records, then redo records
    // newest undone first) was dropped: positions after it move down one.
    void forgetRecordAt(std::size_t position);

    Side m_undo;
    Side m_redo;
    // The undo record count the history has taken in; records beyond it were
    // appended since, by an open step or without one.
    std::size_t m_settledCount = 0;
    // The undo record count at which the cells match the file; none when no
    // sequence of undos and redos can bring those cells back.
    std::optional<std::size_t> m_savedAt = 0;
};
