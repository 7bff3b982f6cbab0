// The brush rectangle and the iterative region fill.
#include "edit/PaintAt.h"

#include "edit/PreparedBrush.h"
#include "map/TerrainCell.h"

#include <array>
#include <vector>

namespace {

// A neighbour of a cell, in the terms the fill tests them.
enum class Step : std::uint8_t { Down, Up, Right, Left };

// The neighbours a fill tries from one cell, in order.
struct StepSequence {
    std::uint8_t count;
    std::array<Step, 4> steps;
};

// Both ways: down, up, right, left. Trying up/down and right/left once more
// afterwards, as the one-way rules would, can find nothing: every neighbour of
// the region type has been painted by then. One way: up and down, then right
// and left, each pair only where the cell's row or column allows it.
enum Sequence : std::uint8_t { BothWays, UpDownRightLeft, UpDown, RightLeft, NoStep };
constexpr std::array<StepSequence, 5> Sequences = {{
    {4, {Step::Down, Step::Up, Step::Right, Step::Left}},
    {4, {Step::Up, Step::Down, Step::Right, Step::Left}},
    {2, {Step::Up, Step::Down}},
    {2, {Step::Right, Step::Left}},
    {0, {}},
}};

// One cell of the fill whose neighbours are still being tried: the explicit
// stack of these replaces the call stack of a recursive fill and keeps its order.
struct FillFrame {
    std::uint16_t column;
    std::uint16_t row;
    std::uint8_t sequence;  // a Sequence
    std::uint8_t next;      // index in the sequence of the next neighbour to try
};

class RegionFill {
public:
    RegionFill(CellEditor &editor, const BrushSettings &brush, CellPosition anchorCell, std::uint8_t regionType,
               const ProgressCallback &progress)
        : m_editor(editor)
        , m_layer(editor.layer())
        , m_brush(brush)
        , m_prepared(brush)
        , m_anchor(anchorCell)
        , m_regionType(regionType)
        , m_size(editor.mapSize())
        , m_progress(progress, qint64(editor.mapSize()) * editor.mapSize())
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
            const StepSequence &sequence = Sequences[top.sequence];
            if (top.next == sequence.count) {
                m_frames.pop_back();
                continue;
            }
            std::uint32_t neighbourColumn = top.column;
            std::uint32_t neighbourRow = top.row;
            if (!neighbour(sequence.steps[top.next++], neighbourColumn, neighbourRow)
                || !qualifies(neighbourColumn, neighbourRow))
                continue;
            // A qualifying neighbour is painted and its own neighbours are all
            // tried before the next neighbour of this cell is tested.
            paint(std::uint16_t(neighbourColumn), std::uint16_t(neighbourRow));
            m_frames.push_back(frameFor(std::uint16_t(neighbourColumn), std::uint16_t(neighbourRow)));
            // The whole level bounds the region; the bar moves with the cells painted.
            m_progress.reach(qint64(++m_painted));
        }
        m_progress.finish();
        return m_changed;
    }

private:
    FillFrame frameFor(std::uint16_t column, std::uint16_t row) const
    {
        if (m_brush.fillX && m_brush.fillY)
            return {column, row, BothWays, 0};
        const bool upDown = m_brush.fillY || (row >= m_anchor.row && row < m_anchor.row + m_brush.brushHeight);
        const bool rightLeft = m_brush.fillX
            || (column >= m_anchor.column && column < m_anchor.column + m_brush.brushWidth);
        const Sequence sequence = upDown ? (rightLeft ? UpDownRightLeft : UpDown) : (rightLeft ? RightLeft : NoStep);
        return {column, row, sequence, 0};
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
        if (m_editor.replaceCell(column, row, m_prepared.apply(m_layer.at(row, column), true)))
            ++m_changed;
    }

    CellEditor &m_editor;
    TerrainLayer &m_layer;
    const BrushSettings &m_brush;
    const PreparedBrush m_prepared;
    const CellPosition m_anchor;
    const std::uint8_t m_regionType;
    const std::uint32_t m_size;
    std::vector<bool> m_visited;
    std::vector<FillFrame> m_frames;
    std::size_t m_changed = 0;
    std::size_t m_painted = 0;
    ProgressMeter m_progress;
};

// Paints the brush rectangle, row by row from the top, left to right.
std::size_t paintRectangle(CellEditor &editor, const BrushSettings &brush, std::uint16_t column, std::uint16_t row)
{
    const std::uint32_t size = editor.mapSize();
    TerrainLayer &layer = editor.layer();
    const PreparedBrush prepared(brush);
    std::size_t changed = 0;
    for (std::uint32_t y = row; y < std::uint32_t(row) + brush.brushHeight && y < size; ++y) {
        for (std::uint32_t x = column; x < std::uint32_t(column) + brush.brushWidth && x < size; ++x) {
            if (editor.replaceCell(std::uint16_t(x), std::uint16_t(y), prepared.apply(layer.at(y, x), false)))
                ++changed;
        }
    }
    return changed;
}

}  // namespace

TerrainCell applyBrush(const TerrainCell &old, const BrushSettings &brush, bool filling)
{
    return PreparedBrush(brush).apply(old, filling);
}

bool fillSpreadsFrom(std::uint8_t tertype, const BrushSettings &brush)
{
    return !brush.paintTerrain || maxTerrainSpriteFor(tertype) == maxTerrainSpriteFor(brush.terrainType);
}

std::size_t PaintAt(CellEditor &editor, const BrushSettings &brush, CellPosition anchorCell,
                    std::uint16_t column, std::uint16_t row, const ProgressCallback &progress)
{
    if (!editor.canEdit())
        return 0;
    if (!brush.fillX && !brush.fillY)
        return paintRectangle(editor, brush, column, row);

    if (column >= editor.mapSize() || row >= editor.mapSize())
        return 0;
    const TerrainCell old = editor.layer().at(row, column);
    const bool filling = fillSpreadsFrom(old.tertype, brush);
    std::size_t changed = editor.replaceCell(column, row, PreparedBrush(brush).apply(old, filling)) ? 1 : 0;
    if (!filling || old.tertype == brush.terrainType)
        return changed;
    return changed + RegionFill(editor, brush, anchorCell, old.tertype, progress).run(column, row);
}
