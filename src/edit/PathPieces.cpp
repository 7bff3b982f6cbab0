// River and road rules applied to changed cells and to whole levels.
#include "edit/PathPieces.h"

#include "edit/CellPictures.h"
#include "edit/TerrainEdges.h"

namespace {

// The piece of a cell whose type has rules, for its joining sides: that of
// the first rule that fits, or its own when none does.
CellPicture piecedPicture(const PathRules &rules, PathLayer path, const TerrainCell &cell, std::uint8_t type,
                          std::uint8_t sides, std::uint32_t column, std::uint32_t row)
{
    const PathRules::Choice &choice = rules.choice(path, type, sides);
    if (choice.count == 0)
        return pictureOf(cell, pathPictureField(path));
    return {rules.pictures(path, type)[choice.first + edgeVariant(column, row, choice.count)],
            std::uint8_t((cell.mirror & ~pathMirrorBits(path)) | choice.mirror)};
}

// The rules of every type byte a cell may hold (none for most), looked up
// once for a whole level rather than once a cell.
using TypeTable = std::array<const PathRules::TypeRules *, 256>;

TypeTable typeTable(const PathRules &rules, PathLayer path)
{
    TypeTable table{};
    for (int type = 0; type < 256; ++type)
        table[std::size_t(type)] = rules.typeRules(path, std::uint8_t(type));
    return table;
}

// The pieces of one row's cells into next (a row's worth). Most cells of a
// level have no river or road and keep what they have at the cost of one
// look-up; only the cells on the map's border need bounds checks.
void pieceRow(const TerrainLayer &layer, const PathRules &rules, PathLayer path, const TypeTable &table, std::uint32_t row,
              std::span<CellPicture> next)
{
    const auto typeField = pathTypeField(path);
    const PictureByte pictureField = pathPictureField(path);
    const std::uint8_t ownBits = pathMirrorBits(path);
    const std::uint32_t side = layer.side();
    const TerrainCell *at = &layer.at(row, 0);
    const bool inner = row > 0 && row + 1 < side;
    const TerrainCell *above = inner ? at - side : at;
    const TerrainCell *below = inner ? at + side : at;
    for (std::uint32_t column = 0; column < side; ++column) {
        const TerrainCell &cell = at[column];
        const PathRules::TypeRules *type = table[cell.*typeField];
        if (!type) {
            next[column] = pictureOf(cell, pictureField);
            continue;
        }
        std::uint8_t sides;
        if (inner && column > 0 && column + 1 < side) {
            const std::array<bool, 256> &joins = type->joins;
            sides = std::uint8_t(joins[above[column].*typeField] << PathRules::North
                                 | joins[at[column + 1].*typeField] << PathRules::East
                                 | joins[below[column].*typeField] << PathRules::South
                                 | joins[at[column - 1].*typeField] << PathRules::West);
        } else {
            sides = joiningSides(rules, path, layer, column, row);
        }
        const PathRules::Choice &choice = type->choices[sides];
        next[column] = choice.count == 0
            ? pictureOf(cell, pictureField)
            : CellPicture{type->pictures[choice.first + edgeVariant(column, row, choice.count)],
                          std::uint8_t((cell.mirror & ~ownBits) | choice.mirror)};
    }
}

RowPictures rowsOf(const TerrainLayer &layer, const PathRules &rules, PathLayer path)
{
    return [&layer, &rules, path, table = typeTable(rules, path)](std::uint32_t row, std::span<CellPicture> next) {
        pieceRow(layer, rules, path, table, row, next);
    };
}

}  // namespace

std::uint8_t joiningSides(const PathRules &rules, PathLayer path, const TerrainLayer &layer, std::uint32_t column,
                          std::uint32_t row)
{
    const auto typeField = pathTypeField(path);
    const std::array<bool, 256> &joins = rules.joinTable(path, layer.at(row, column).*typeField);
    const std::uint32_t last = layer.side() - 1;
    const auto joined = [&](bool inside, std::uint32_t y, std::uint32_t x, PathRules::Side side) {
        return inside && joins[layer.at(y, x).*typeField] ? std::uint8_t(1u << side) : std::uint8_t(0);
    };
    return std::uint8_t(joined(row > 0, row - 1, column, PathRules::North) | joined(column < last, row, column + 1, PathRules::East)
                        | joined(row < last, row + 1, column, PathRules::South) | joined(column > 0, row, column - 1, PathRules::West));
}

TerrainCell piecedCell(const PathRules &rules, PathLayer path, const TerrainLayer &layer, std::uint32_t column,
                       std::uint32_t row)
{
    const TerrainCell &cell = layer.at(row, column);
    const std::uint8_t type = cell.*pathTypeField(path);
    if (!rules.hasRules(path, type))
        return cell;
    return withPicture(cell, pathPictureField(path),
                       piecedPicture(rules, path, cell, type, joiningSides(rules, path, layer, column, row), column, row));
}

std::size_t applyPathPieces(CellEditor &editor, const PathRules &rules, PathLayer path, std::span<const CellPosition> changed)
{
    return rewriteCellsAround(editor, changed, Reach::Sides, [&](std::uint32_t column, std::uint32_t row) {
        return piecedCell(rules, path, editor.layer(), column, row);
    });
}

std::size_t applyPathPiecesToLevel(CellEditor &editor, const PathRules &rules, PathLayer path)
{
    if (!CellEditor::canEdit(editor.document()))
        return 0;
    return rewriteLevel(editor, pathPictureField(path), rowsOf(editor.layer(), rules, path));
}

std::size_t applyPathPiecesToLayer(TerrainLayer &layer, const PathRules &rules, PathLayer path)
{
    return rewriteLayer(layer, pathPictureField(path), rowsOf(layer, rules, path));
}
