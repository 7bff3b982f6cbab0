// Small open maps built in memory, and a recorder of redraw notifications, for
// the editing tests.
#pragma once

#include "edit/CellEditor.h"
#include "map/MapDocument.h"
#include "writers/LoadedMap.h"

#include <utility>
#include <vector>

// A loaded map of the given side with all cells zero, showing the ground level.
inline MapDocument openMap(std::uint32_t side, bool hasUnderground = false)
{
    return loadedMap(TerrainLayer(side), hasUnderground ? std::optional(TerrainLayer(side)) : std::nullopt);
}

using CellList = std::vector<std::pair<int, int>>;  // (column, row) pairs

// An editor on the document that lists every redraw notification.
struct RecordingEditor {
    explicit RecordingEditor(MapDocument &document, int level = 0)
        : editor(document, level, undoList, [this](std::uint16_t column, std::uint16_t row) { redrawn.emplace_back(column, row); })
    {
    }

    // The (column, row) of every undo record, oldest first.
    CellList recordedCells() const
    {
        CellList cells;
        for (std::size_t i = 0; i < undoList.count(); ++i)
            cells.emplace_back(undoList.at(i).column, undoList.at(i).row);
        return cells;
    }

    UndoList undoList;
    CellList redrawn;
    CellEditor editor;
};
