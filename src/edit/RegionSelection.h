// A set of cells of one level kept as a bit mask of its bounding rectangle:
// the region of one terrain type around a cell ("select same"), every cell of
// a type, or a rectangle; walked a row run at a time for drawing its outline
// and for writing it. Also the writes of a brush into every selected cell.
#pragma once

#include "edit/BrushSettings.h"
#include "edit/CellEditor.h"
#include "map/ProgressMeter.h"
#include "map/TerrainLayer.h"

#include <QRect>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// A run of selected cells in one row: length cells from column rightwards.
struct CellRun {
    std::uint32_t row = 0;
    std::uint32_t column = 0;
    std::uint32_t length = 0;

    friend bool operator==(const CellRun &, const CellRun &) = default;
};

// What writing a selection changed: the number of cells and the rectangle
// (inclusive cell numbers) that holds them, empty when none changed.
struct FillResult {
    std::size_t changed = 0;
    QRect changedCells;
};

// How a new set of cells changes a selection: it takes the selection's
// place, is added to it, or is taken out of it.
enum class SelectionChange { Replace, Add, Remove };

class RegionSelection {
public:
    // Nothing selected.
    RegionSelection() = default;

    // The cells of the pressed cell's terrain type that can be reached from it
    // through cells of that type, stepping up, down, left and right; nothing
    // when (column, row) lies outside the layer. An explicit stack of row
    // spans, so no region is too large for it.
    static RegionSelection connectedRegion(const TerrainLayer &layer, std::uint32_t column, std::uint32_t row);

    // The same region, or none when it holds more than maxCells cells: for a
    // look at the region that must not take long on a huge level.
    static std::optional<RegionSelection> connectedRegionWithin(const TerrainLayer &layer, std::uint32_t column,
                                                                std::uint32_t row, std::size_t maxCells);

    // Every cell of the terrain type on the layer, connected or not.
    static RegionSelection terrainOnLevel(const TerrainLayer &layer, std::uint8_t tertype);

    // The cells of the rectangle (cell numbers) that lie inside a level of the side.
    static RegionSelection rectangle(const QRect &cells, std::uint32_t side);

    // These cells and their eight neighbours that lie inside a level of the side:
    // the cells whose edges depend on these.
    RegionSelection withNeighbours(std::uint32_t side) const;

    // This selection changed by other as change says.
    RegionSelection combined(const RegionSelection &other, SelectionChange change) const;

    bool isEmpty() const { return m_cellCount == 0; }
    std::size_t cellCount() const { return m_cellCount; }
    // The smallest rectangle of cell numbers holding every selected cell.
    QRect bounds() const { return m_bounds; }
    bool contains(std::uint32_t column, std::uint32_t row) const;

    // Calls visit(const CellRun &) for every run of selected cells, row by row
    // from the top and left to right in a row; runs are as long as they go.
    template <typename Visit>
    void forEachRun(Visit visit) const
    {
        const std::size_t rowBits = m_wordsPerRow * 64;
        for (int line = 0; line < m_bounds.height(); ++line) {
            const std::uint64_t *words = &m_bits[std::size_t(line) * m_wordsPerRow];
            for (std::size_t bit = nextBoundary(words, 0, true); bit < rowBits; bit = nextBoundary(words, bit, true)) {
                const std::size_t end = nextBoundary(words, bit, false);
                visit(CellRun{std::uint32_t(m_bounds.top() + line), std::uint32_t(m_baseColumn + bit),
                              std::uint32_t(end - bit)});
                bit = end;
            }
        }
    }

private:
    // An empty mask covering the rectangle, for setRun to fill.
    explicit RegionSelection(const QRect &cover);

    // Selects (or with selected false, unselects) the cells first..last of the
    // row; all inside the covered rectangle.
    void setRun(std::uint32_t row, std::uint32_t first, std::uint32_t last, bool selected = true);

    // Index of the first bit from "from" on that is set (or clear), in a row of
    // the mask; the row's bit count when there is none.
    std::size_t nextBoundary(const std::uint64_t *words, std::size_t from, bool set) const;

    // Narrows the covered rectangle to the selected cells and counts them.
    void shrinkToFit();

    QRect m_bounds;                 // the covered rectangle; the selection's bounds once shrunk
    std::uint32_t m_baseColumn = 0; // column of bit 0 of each row: bounds().left() rounded down to 64
    std::size_t m_wordsPerRow = 0;
    std::vector<std::uint64_t> m_bits;  // rows top to bottom; bits past the right edge stay clear
    std::size_t m_cellCount = 0;
};

// Writes the cells that makeRun(run, old, cells) puts into cells (old holds
// the run's cells as the layer has them) through the editor, a run at a time,
// and only the part of each run from its first to its last changed cell. The
// progress meter reaches done plus the cells passed. The selection lies inside
// the editor's layer.
template <typename MakeRun>
FillResult writeSelection(CellEditor &editor, const RegionSelection &selection, MakeRun makeRun,
                          ProgressMeter &progress, qint64 done)
{
    FillResult result;
    std::vector<TerrainCell> cells;
    int left = 0xFFFF + 1, right = -1, top = 0xFFFF + 1, bottom = -1;
    selection.forEachRun([&](const CellRun &run) {
        cells.resize(run.length);
        const TerrainCell *old = &editor.layer().at(run.row, run.column);
        makeRun(run, old, cells.data());
        std::size_t first = 0;
        while (first < run.length && cells[first] == old[first])
            ++first;
        std::size_t last = run.length;
        while (last > first && cells[last - 1] == old[last - 1])
            --last;
        if (first < last) {
            result.changed += editor.replaceCells(std::uint16_t(run.column + first), std::uint16_t(run.row),
                                                  std::span<const TerrainCell>(cells.data() + first, last - first));
            left = std::min(left, int(run.column + first));
            right = std::max(right, int(run.column + last - 1));
            top = std::min(top, int(run.row));
            bottom = std::max(bottom, int(run.row));
        }
        done += run.length;
        progress.reach(done);
    });
    if (result.changed > 0)
        result.changedCells = QRect(QPoint(left, top), QPoint(right, bottom));
    return result;
}

// Paints every selected cell as the brush paints one cell of its rectangle,
// through the editor (one undo record per changed cell, row runs in order).
// Nothing happens when the editor cannot edit or the selection does not lie
// inside its level. Progress counts the selected cells passed.
FillResult fillSelection(CellEditor &editor, const BrushSettings &brush, const RegionSelection &selection,
                         const ProgressCallback &progress = {});
