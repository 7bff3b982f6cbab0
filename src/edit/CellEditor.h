// Writes cells of one level of the open map the way every editing operation
// must: one undo record per cell that changes, the rectangle of changed cells
// for the grid to redraw, and, for whoever asks, a notification per cell.
#pragma once

#include "edit/UndoList.h"
#include "map/MapDocument.h"

#include <QRect>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

class CellEditor {
public:
    // Told about each changed cell, in change order.
    using CellChanged = std::function<void(std::uint16_t column, std::uint16_t row)>;

    // An editor of the level (0 ground, 1 underground) of the document.
    CellEditor(MapDocument &document, int level, UndoList &undoList, CellChanged cellChanged = {});
    // An editor that keeps no undo records, for work that is saved and never
    // taken back (the command-line tool): a fill of a whole large level then
    // needs no memory beside the map's.
    CellEditor(MapDocument &document, int level);

    // True when the document has a layer of the level to edit: a map is open
    // and has the level (level 1 of a one-level map has none).
    static bool canEdit(const MapDocument &document, int level);
    bool canEdit() const { return canEdit(m_document, m_level); }

    MapDocument &document() { return m_document; }
    // The level written, and its layer; a replay of records of several levels
    // points the editor at each record's level in turn.
    int level() const { return m_level; }
    void setLevel(int level) { m_level = level == 1 ? 1 : 0; }
    TerrainLayer &layer() { return m_document.layer(m_level); }
    std::uint32_t mapSize() const { return m_document.mapSize; }

    // Writes the cell at (column, row), inside the map, when it differs from what
    // the cell holds; true when it did.
    bool replaceCell(std::uint16_t column, std::uint16_t row, const TerrainCell &cell)
    {
        // The one-cell case of replaceCells, kept inline: brushes and fills
        // write a cell at a time, millions of times for a large fill.
        TerrainCell &target = layer().at(row, column);
        if (target == cell)
            return false;
        if (m_undoList)
            m_undoList->append({column, row, std::uint8_t(m_level), target});
        target = cell;
        if (m_cellChanged)
            m_cellChanged(column, row);
        m_left = std::min<int>(m_left, column);
        m_right = std::max<int>(m_right, column);
        m_top = std::min<int>(m_top, row);
        m_bottom = std::max<int>(m_bottom, row);
        return true;
    }

    // Writes a run of cells of one row, from (column, row) rightwards and inside
    // the map, each one that differs from what the layer holds, as replaceCell
    // does; returns the number written. A whole row at once costs the undo
    // list one append and the changed rectangle one update.
    std::size_t replaceCells(std::uint16_t column, std::uint16_t row, std::span<const TerrainCell> cells);

    // What replaceCells would do for the run (the undo records, the changed
    // rectangle, the notifications) without writing the cells: for an
    // operation that records every run first and then moves the cells itself,
    // all at once and in place. Returns the number of cells that differ.
    std::size_t recordCells(std::uint16_t column, std::uint16_t row, std::span<const TerrainCell> cells);

    // Makes room in the undo list for this many more records at once, for an
    // operation that knows how many cells it will change.
    void reserveRecords(std::size_t records)
    {
        if (m_undoList)
            m_undoList->reserve(m_undoList->count() + records);
    }

    // The rectangle of cell numbers that holds every cell this editor wrote;
    // empty when it wrote none.
    QRect changedCells() const
    {
        return m_left > m_right ? QRect() : QRect(QPoint(m_left, m_top), QPoint(m_right, m_bottom));
    }

private:
    template <bool Write>
    std::size_t writeRun(std::uint16_t column, std::uint16_t row, std::span<const TerrainCell> cells);

    MapDocument &m_document;
    int m_level = 0;
    UndoList *m_undoList;  // none: no records are kept
    CellChanged m_cellChanged;
    std::vector<UndoRecord> m_records;  // a run's records before they are appended
    // The changed rectangle's edges; left beyond right while nothing changed.
    int m_left = 0xFFFF + 1;
    int m_top = 0xFFFF + 1;
    int m_right = -1;
    int m_bottom = -1;
};
