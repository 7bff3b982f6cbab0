// Terrain edge rules applied to changed cells and to whole levels.
#include "edit/TerrainEdges.h"

#include "base/LargeMemory.h"

#include <algorithm>

namespace {

// The neighbourhood of a cell of the type away from the map's border, from
// the rows above, at and below it. Inside an area of one type, as most cells
// are, every neighbour is the same (a type always counts as its own) without a
// table look-up; elsewhere each neighbour takes one.
std::uint8_t innerNeighbours(const std::array<bool, 256> &same, std::uint8_t tertype, const TerrainCell *above,
                             const TerrainCell *at, const TerrainCell *below, std::uint32_t column)
{
    const std::uint8_t types[TerrainEdgeRules::NeighbourCount] = {
        above[column - 1].tertype, above[column].tertype,  above[column + 1].tertype, at[column - 1].tertype,
        at[column + 1].tertype,    below[column - 1].tertype, below[column].tertype, below[column + 1].tertype};
    bool uniform = true;
    for (const std::uint8_t type : types)
        uniform &= type == tertype;
    if (uniform)
        return 0xFF;
    std::uint8_t mask = 0;
    for (int n = 0; n < TerrainEdgeRules::NeighbourCount; ++n)
        mask |= std::uint8_t(same[types[n]] << n);
    return mask;
}

// What the rules change in a cell: its picture and its terrain mirror bits
// (mirror holds all the cell's mirror bits, the others as they were).
struct Picture {
    std::uint8_t terconf = 0;
    std::uint8_t mirror = 0;
};

Picture pictureOf(const TerrainCell &cell)
{
    return {cell.terconf, cell.mirror};
}

TerrainCell withPicture(TerrainCell cell, Picture picture)
{
    cell.terconf = picture.terconf;
    cell.mirror = picture.mirror;
    return cell;
}

// The picture of a cell whose type has rules, for its neighbourhood: that of
// the first rule that fits, or its own when none does.
inline Picture edgedPicture(const TerrainEdgeRules &rules, const TerrainCell &cell, std::uint8_t neighbours,
                            std::uint32_t column, std::uint32_t row)
{
    const TerrainEdgeRules::Choice &choice = rules.choice(cell.tertype, neighbours);
    if (choice.count == 0)
        return pictureOf(cell);
    constexpr std::uint8_t terrainBits = MirrorBit::TerrainLeftRight | MirrorBit::TerrainUpsideDown;
    return {rules.pictures(cell.tertype)[choice.first + edgeVariant(column, row, choice.count)],
            std::uint8_t((cell.mirror & ~terrainBits) | choice.mirror)};
}

// Cell indexes (row * side + column) of the changed cells and their
// neighbours inside the map, ascending and each once.
std::vector<std::uint32_t> cellsAround(std::span<const CellPosition> changed, std::uint32_t side)
{
    std::vector<std::uint32_t> cells;
    const auto around = [&](const CellPosition &position, auto &&take) {
        if (position.column >= side || position.row >= side)
            return;
        const std::uint32_t firstRow = position.row > 0 ? position.row - 1u : 0u;
        const std::uint32_t lastRow = std::min<std::uint32_t>(position.row + 1u, side - 1);
        const std::uint32_t firstColumn = position.column > 0 ? position.column - 1u : 0u;
        const std::uint32_t lastColumn = std::min<std::uint32_t>(position.column + 1u, side - 1);
        for (std::uint32_t row = firstRow; row <= lastRow; ++row)
            for (std::uint32_t column = firstColumn; column <= lastColumn; ++column)
                take(row * side + column);
    };
    const std::size_t cellCount = std::size_t(side) * side;
    if (changed.size() * 9 < cellCount / 16) {
        // A stroke: sorting a few dozen indexes beats touching the whole map.
        cells.reserve(changed.size() * 9);
        for (const CellPosition &position : changed)
            around(position, [&](std::uint32_t index) { cells.push_back(index); });
        std::sort(cells.begin(), cells.end());
        cells.erase(std::unique(cells.begin(), cells.end()), cells.end());
    } else {
        // A fill or a large paste: marking cells keeps the work linear.
        std::vector<bool> marked(cellCount, false);
        for (const CellPosition &position : changed)
            around(position, [&](std::uint32_t index) { marked[index] = true; });
        for (std::size_t index = 0; index < cellCount; ++index)
            if (marked[index])
                cells.push_back(std::uint32_t(index));
    }
    return cells;
}

// The pictures of one row's cells as the rules leave them, into next (a
// row's worth). Only the cells on the map's border need the bounds checks of
// sameNeighbours.
void edgeRow(const TerrainLayer &layer, const TerrainEdgeRules &rules, std::uint32_t row, std::span<Picture> next)
{
    const std::uint32_t side = layer.side();
    const TerrainCell *at = &layer.at(row, 0);
    const auto edge = [&](std::uint32_t column, auto neighbours) {
        const TerrainCell &cell = at[column];
        next[column] = rules.hasRules(cell.tertype) ? edgedPicture(rules, cell, neighbours(cell.tertype), column, row)
                                                    : pictureOf(cell);
    };
    const auto border = [&](std::uint32_t column) {
        edge(column, [&](std::uint8_t) { return sameNeighbours(rules, layer, column, row); });
    };
    if (row == 0 || row + 1 == side) {
        for (std::uint32_t column = 0; column < side; ++column)
            border(column);
        return;
    }
    border(0);
    for (std::uint32_t column = 1; column + 1 < side; ++column)
        edge(column, [&](std::uint8_t tertype) {
            return innerNeighbours(rules.sameTable(tertype), tertype, at - side, at, at + side, column);
        });
    border(side - 1);
}

// How many of the cells from cells on do not have the pictures.
std::size_t changedPictures(const TerrainCell *cells, std::span<const Picture> pictures)
{
    std::size_t changed = 0;
    for (std::size_t i = 0; i < pictures.size(); ++i)
        changed += cells[i].terconf != pictures[i].terconf || cells[i].mirror != pictures[i].mirror;
    return changed;
}

// Works out every row's pictures in turn and hands them to
// takeRow(row, pictures), which returns how many cells of the row they change
// (and may write them). The rules read only terrain types and never change
// them, so a row written before the next is worked out changes nothing that
// row sees.
template <typename TakeRow>
std::size_t edgeWholeLayer(const TerrainLayer &layer, const TerrainEdgeRules &rules, TakeRow takeRow)
{
    const std::uint32_t side = layer.side();
    std::vector<Picture> next(side);
    std::size_t count = 0;
    for (std::uint32_t row = 0; row < side; ++row) {
        edgeRow(layer, rules, row, next);
        count += takeRow(row, std::span<const Picture>(next));
    }
    return count;
}

}  // namespace

std::uint8_t sameNeighbours(const TerrainEdgeRules &rules, const TerrainLayer &layer, std::uint32_t column, std::uint32_t row)
{
    constexpr int Offsets[TerrainEdgeRules::NeighbourCount][2] = {{-1, -1}, {0, -1}, {1, -1}, {-1, 0},
                                                                  {1, 0},   {-1, 1}, {0, 1},  {1, 1}};
    const std::int64_t side = layer.side();
    const std::uint8_t tertype = layer.at(row, column).tertype;
    std::uint8_t mask = 0;
    for (int n = 0; n < TerrainEdgeRules::NeighbourCount; ++n) {
        const std::int64_t x = std::int64_t(column) + Offsets[n][0];
        const std::int64_t y = std::int64_t(row) + Offsets[n][1];
        const bool outside = x < 0 || y < 0 || x >= side || y >= side;
        if (outside || rules.countsAsSame(tertype, layer.at(std::uint32_t(y), std::uint32_t(x)).tertype))
            mask |= std::uint8_t(1u << n);
    }
    return mask;
}

TerrainCell edgedCell(const TerrainEdgeRules &rules, const TerrainLayer &layer, std::uint32_t column, std::uint32_t row)
{
    const TerrainCell &cell = layer.at(row, column);
    if (!rules.hasRules(cell.tertype))
        return cell;
    return withPicture(cell, edgedPicture(rules, cell, sameNeighbours(rules, layer, column, row), column, row));
}

std::size_t applyTerrainEdges(CellEditor &editor, const TerrainEdgeRules &rules, std::span<const CellPosition> changed)
{
    if (!CellEditor::canEdit(editor.document()))
        return 0;
    const TerrainLayer &layer = editor.layer();
    const std::uint32_t side = layer.side();
    std::size_t count = 0;
    for (const std::uint32_t index : cellsAround(changed, side)) {
        const std::uint32_t row = index / side;
        const std::uint32_t column = index % side;
        count += editor.replaceCell(std::uint16_t(column), std::uint16_t(row), edgedCell(rules, layer, column, row));
    }
    return count;
}

std::size_t applyTerrainEdgesToLevel(CellEditor &editor, const TerrainEdgeRules &rules)
{
    if (!CellEditor::canEdit(editor.document()))
        return 0;
    // The whole level's pictures are worked out first, so that the undo list
    // can make room for all the records at once; then the rows that change
    // are written.
    const TerrainLayer &layer = editor.layer();
    const std::uint32_t side = layer.side();
    const LargeArray<Picture> pictures = allocateLargeArray<Picture>(std::size_t(side) * side);
    std::vector<std::uint32_t> rowChanges(side);
    const std::size_t count = edgeWholeLayer(layer, rules, [&](std::uint32_t row, std::span<const Picture> rowPictures) {
        std::copy(rowPictures.begin(), rowPictures.end(), &pictures[std::size_t(row) * side]);
        rowChanges[row] = std::uint32_t(changedPictures(&layer.at(row, 0), rowPictures));
        return rowChanges[row];
    });
    if (count == 0)
        return 0;
    editor.reserveRecords(count);
    std::vector<TerrainCell> cells(side);
    for (std::uint32_t row = 0; row < side; ++row) {
        if (rowChanges[row] == 0)
            continue;
        const TerrainCell *at = &layer.at(row, 0);
        const Picture *rowPictures = &pictures[std::size_t(row) * side];
        for (std::uint32_t column = 0; column < side; ++column)
            cells[column] = withPicture(at[column], rowPictures[column]);
        editor.replaceCells(0, std::uint16_t(row), cells);
    }
    return count;
}

std::size_t applyTerrainEdgesToLayer(TerrainLayer &layer, const TerrainEdgeRules &rules)
{
    return edgeWholeLayer(layer, rules, [&](std::uint32_t row, std::span<const Picture> rowPictures) {
        TerrainCell *cells = &layer.at(row, 0);
        const std::size_t changed = changedPictures(cells, rowPictures);
        if (changed > 0)
            for (std::size_t i = 0; i < rowPictures.size(); ++i)
                cells[i] = withPicture(cells[i], rowPictures[i]);
        return changed;
    });
}

std::vector<CellPosition> recordedPositions(const UndoList &undoList, std::size_t firstRecord, int level)
{
    std::vector<CellPosition> positions;
    for (std::size_t i = firstRecord; i < undoList.count(); ++i) {
        const UndoRecord &record = undoList.at(i);
        if (record.level == level)
            positions.push_back({record.column, record.row});
    }
    return positions;
}
