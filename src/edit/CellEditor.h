// Writes cells of the open map's current layer the way every editing operation
// must: one undo record and one redraw notification per cell that changes.
#pragma once

#include "edit/UndoList.h"
#include "map/MapDocument.h"

#include <cstdint>
#include <functional>

class CellEditor {
public:
    // Told about each changed cell, in change order, so the grid redraws exactly it.
    using CellChanged = std::function<void(std::uint16_t column, std::uint16_t row)>;

    CellEditor(MapDocument &document, UndoList &undoList, CellChanged cellChanged = {});

    // True when the document has a layer for the chosen level to edit: a map is
    // open and the chosen level exists (level 1 of a one-level map has none).
    static bool canEdit(const MapDocument &document);

    MapDocument &document() { return m_document; }
    TerrainLayer &layer() { return m_document.currentLayer(); }
    std::uint32_t mapSize() const { return m_document.mapSize; }

    // Writes the cell at (column, row), inside the map, when it differs from what
    // the cell holds; true when it did.
    bool replaceCell(std::uint16_t column, std::uint16_t row, const TerrainCell &cell)
    {
        TerrainCell &target = layer().at(row, column);
        if (target == cell)
            return false;
        m_undoList.append({column, row, std::uint8_t(m_document.currentLayerLevel()), target});
        target = cell;
        if (m_cellChanged)
            m_cellChanged(column, row);
        return true;
    }

private:
    MapDocument &m_document;
    UndoList &m_undoList;
    CellChanged m_cellChanged;
};
