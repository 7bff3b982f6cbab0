// Terrain edge rules applied to changed cells and to whole levels.
#include "edit/TerrainEdges.h"

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

// The picture of a cell whose type has rules, for its neighbourhood: that of
// the first rule that fits, or its own when none does.
inline CellPicture edgedPicture(const TerrainEdgeRules &rules, const TerrainCell &cell, std::uint8_t neighbours,
                                std::uint32_t column, std::uint32_t row)
{
    const TerrainEdgeRules::Choice &choice = rules.choice(cell.tertype, neighbours);
    if (choice.count == 0)
        return pictureOf(cell, &TerrainCell::terconf);
    constexpr std::uint8_t terrainBits = MirrorBit::TerrainLeftRight | MirrorBit::TerrainUpsideDown;
    return {rules.pictures(cell.tertype)[choice.first + edgeVariant(column, row, choice.count)],
            std::uint8_t((cell.mirror & ~terrainBits) | choice.mirror)};
}

// The pictures of one row's cells as the rules leave them, into next (a
// row's worth). Only the cells on the map's border need the bounds checks of
// sameNeighbours.
void edgeRow(const TerrainLayer &layer, const TerrainEdgeRules &rules, std::uint32_t row, std::span<CellPicture> next)
{
    const std::uint32_t side = layer.side();
    const TerrainCell *at = &layer.at(row, 0);
    const auto edge = [&](std::uint32_t column, auto neighbours) {
        const TerrainCell &cell = at[column];
        next[column] = rules.hasRules(cell.tertype) ? edgedPicture(rules, cell, neighbours(cell.tertype), column, row)
                                                    : pictureOf(cell, &TerrainCell::terconf);
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

RowPictures rowsOf(const TerrainLayer &layer, const TerrainEdgeRules &rules)
{
    return [&layer, &rules](std::uint32_t row, std::span<CellPicture> next) { edgeRow(layer, rules, row, next); };
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
    return withPicture(cell, &TerrainCell::terconf, edgedPicture(rules, cell, sameNeighbours(rules, layer, column, row), column, row));
}

std::size_t applyTerrainEdges(CellEditor &editor, const TerrainEdgeRules &rules, std::span<const CellPosition> changed)
{
    return rewriteCellsAround(editor, changed, Reach::SidesAndCorners, [&](std::uint32_t column, std::uint32_t row) {
        return edgedCell(rules, editor.layer(), column, row);
    });
}

std::size_t applyTerrainEdgesToLevel(CellEditor &editor, const TerrainEdgeRules &rules)
{
    if (!editor.canEdit())
        return 0;
    const PictureRows edges{&TerrainCell::terconf, MirrorBit::TerrainLeftRight | MirrorBit::TerrainUpsideDown,
                            rowsOf(editor.layer(), rules)};
    return rewriteLevel(editor, {&edges, 1});
}

std::size_t applyTerrainEdgesToLayer(TerrainLayer &layer, const TerrainEdgeRules &rules)
{
    return rewriteLayer(layer, &TerrainCell::terconf, rowsOf(layer, rules));
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
