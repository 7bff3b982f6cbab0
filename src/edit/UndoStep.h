// Taking back the newest undo record, and the scroll rule that brings the
// restored cell into view.
#pragma once

#include "edit/UndoList.h"
#include "map/MapDocument.h"

#include <cstdint>

struct UndoStep {
    enum class Outcome {
        Nothing,   // the list was empty
        Consumed,  // something was taken back or put back, but no cell to show:
                   // a size change, or records outside the map as it is now
        Restored,  // the cell at (column, row) of level was written
    };

    Outcome outcome = Outcome::Nothing;
    std::uint8_t level = 0;
    std::uint16_t column = 0;
    std::uint16_t row = 0;
};

// Removes the newest record and writes its previous cell into the layer of the
// record's level, whichever level is shown. The caller then switches to that
// level when it differs, scrolls the cell into view and redraws it.
UndoStep undoLast(MapDocument &document, UndoList &undoList);

// The first visible column (or row) after an undo restored the cell at position:
// unchanged while position lies between first and first + fullyVisible, else
// ten cells before position (0 near the start).
int undoScrollPosition(int position, int first, int fullyVisible);
