// The brush rectangle and the iterative region fill.
#include "edit/PaintAt.h"

#include "map/TerrainCell.h"

#include <array>
#include <vector>

namespace {

// A neighbour of a cell, in the terms the fill tests them.
enum class Step : std::uint8_t { Down, Up, Right, Left };

// One cell of the fill whose neighbours are still being tried: the explicit
// stack of these replaces the call stack of a recursive fill and keeps its order.
struct FillFrame {
    std::uint16_t column;
    std::uint16_t row;
    std::uint8_t next;   // index into steps of the next neighbour to try
    std::uint8_t count;  // number of steps to try
    std::array<Step, 4> steps;
};

class RegionFill {
public:
    RegionFill(CellEditor &editor, const BrushSettings &brush, CellPosition anchorCell, std::uint8_t regionType)
        : m_editor(editor)
        , m_layer(editor.layer())
        , m_brush(brush)
        , m_anchor(anchorCell)
        , m_regionType(regionType)
        , m_size(editor.mapSize())
    {
        // Without a terrain change the region keeps its type, so only a record of
        // the cells already painted stops the fill from coming back to them.
        if (!brush.paintTerrain)
            m_visited.assign(std::size_t(m_size) * m_size, false);
    }

    // Paints from the pressed cell, which has already been painted.
    std::size_t run(std::uint16_t column, std::uint16_t row)
    {
        markVisited(column, row);
        m_frames.push_back(frameFor(column, row));
        while (!m_frames.empty()) {
            FillFrame &top = m_frames.back();
            if (top.next == top.count) {
                m_frames.pop_back();
                continue;
            }
            std::uint32_t neighbourColumn = top.column;
            std::uint32_t neighbourRow = top.row;
            if (!neighbour(top.steps[top.next++], neighbourColumn, neighbourRow)
                || !qualifies(neighbourColumn, neighbourRow))
                continue;
            // A qualifying neighbour is painted and its own neighbours are all
            // tried before the next neighbour of this cell is tested.
            paint(std::uint16_t(neighbourColumn), std::uint16_t(neighbourRow));
            m_frames.push_back(frameFor(std::uint16_t(neighbourColumn), std::uint16_t(neighbourRow)));
        }
        return m_changed;
    }

private:
    FillFrame frameFor(std::uint16_t column, std::uint16_t row) const
    {
        FillFrame frame{column, row, 0, 0, {}};
        const auto add = [&frame](Step step) { frame.steps[frame.count++] = step; };
        if (m_brush.fillX && m_brush.fillY) {
            // Both ways: down, up, right, left. Trying up/down and right/left once
            // more afterwards, as the one-way rules would, can find nothing: every
            // neighbour of the region type has been painted by then.
            add(Step::Down);
            add(Step::Up);
            add(Step::Right);
            add(Step::Left);
            return frame;
        }
        const bool inRowBand = row >= m_anchor.row && row < m_anchor.row + m_brush.brushHeight;
        const bool inColumnBand = column >= m_anchor.column && column < m_anchor.column + m_brush.brushWidth;
        if (m_brush.fillY || inRowBand) {
            add(Step::Up);
            add(Step::Down);
        }
        if (m_brush.fillX || inColumnBand) {
            add(Step::Right);
            add(Step::Left);
        }
        return frame;
    }

    // Moves (column, row) one step; false when that leaves the map.
    bool neighbour(Step step, std::uint32_t &column, std::uint32_t &row) const
    {
        switch (step) {
        case Step::Down:
            return ++row < m_size;
        case Step::Up:
            return row-- > 0;
        case Step::Right:
            return ++column < m_size;
        case Step::Left:
            return column-- > 0;
        }
        return false;
    }

    bool qualifies(std::uint32_t column, std::uint32_t row) const
    {
        return m_layer.at(row, column).tertype == m_regionType
            && (m_visited.empty() || !m_visited[std::size_t(row) * m_size + column]);
    }

    void markVisited(std::uint16_t column, std::uint16_t row)
    {
        if (!m_visited.empty())
            m_visited[std::size_t(row) * m_size + column] = true;
    }

    void paint(std::uint16_t column, std::uint16_t row)
    {
        markVisited(column, row);
        if (m_editor.replaceCell(column, row, applyBrush(m_layer.at(row, column), m_brush, true)))
            ++m_changed;
    }

    CellEditor &m_editor;
    TerrainLayer &m_layer;
    const BrushSettings &m_brush;
    const CellPosition m_anchor;
    const std::uint8_t m_regionType;
    const std::uint32_t m_size;
    std::vector<bool> m_visited;
    std::vector<FillFrame> m_frames;
    std::size_t m_changed = 0;
};

// Paints the brush rectangle, row by row from the top, left to right.
std::size_t paintRectangle(CellEditor &editor, const BrushSettings &brush, std::uint16_t column, std::uint16_t row)
{
    const std::uint32_t size = editor.mapSize();
    TerrainLayer &layer = editor.layer();
    std::size_t changed = 0;
    for (std::uint32_t y = row; y < std::uint32_t(row) + brush.brushHeight && y < size; ++y) {
        for (std::uint32_t x = column; x < std::uint32_t(column) + brush.brushWidth && x < size; ++x) {
            if (editor.replaceCell(std::uint16_t(x), std::uint16_t(y), applyBrush(layer.at(y, x), brush, false)))
                ++changed;
        }
    }
    return changed;
}

}  // namespace

TerrainCell applyBrush(const TerrainCell &old, const BrushSettings &brush, bool filling)
{
    TerrainCell cell = old;
    if (brush.paintTerrain) {
        cell.tertype = brush.terrainType;
        if (!filling && brush.terrainConfig <= maxTerrainSpriteFor(brush.terrainType))
            cell.terconf = brush.terrainConfig;
    } else if (!brush.keepTerrainConfig && brush.terrainConfig <= maxTerrainSpriteFor(old.tertype)) {
        cell.terconf = brush.terrainConfig;
    }

    if (brush.paintRiver) {
        if (!brush.riverOnlyExisting || old.rivtype > 0)
            cell.rivtype = brush.riverType;
        if (brush.riverConfig < BrushSettings::RiverConfigCount)
            cell.rivconf = brush.riverConfig;
    }
    if (brush.paintRoad) {
        if (!brush.roadOnlyExisting || old.roadtype > 0)
            cell.roadtype = brush.roadType;
        if (brush.roadConfig < BrushSettings::RoadConfigCount)
            cell.roadconf = brush.roadConfig;
    }

    for (int bit = 0; bit < 6; ++bit) {
        const std::uint8_t mask = std::uint8_t(1u << bit);
        if (brush.mirrorSetOnly) {
            if (brush.mirrorBits[bit])
                cell.mirror |= mask;
        } else if (brush.mirrorApply) {
            cell.mirror = std::uint8_t(brush.mirrorBits[bit] ? (cell.mirror | mask) : (cell.mirror & ~mask));
        }
    }
    return cell;
}

std::size_t PaintAt(CellEditor &editor, const BrushSettings &brush, CellPosition anchorCell,
                    std::uint16_t column, std::uint16_t row)
{
    if (!CellEditor::canEdit(editor.document()))
        return 0;
    if (!brush.fillX && !brush.fillY)
        return paintRectangle(editor, brush, column, row);

    if (column >= editor.mapSize() || row >= editor.mapSize())
        return 0;
    const TerrainCell old = editor.layer().at(row, column);
    // A fill keeps configurations, so it only runs between types whose
    // configuration ranges are equal; otherwise the pressed cell is painted
    // alone, as a one-cell brush.
    const bool filling = !brush.paintTerrain
        || maxTerrainSpriteFor(old.tertype) == maxTerrainSpriteFor(brush.terrainType);
    std::size_t changed = editor.replaceCell(column, row, applyBrush(old, brush, filling)) ? 1 : 0;
    if (!filling || old.tertype == brush.terrainType)
        return changed;
    return changed + RegionFill(editor, brush, anchorCell, old.tertype).run(column, row);
}
