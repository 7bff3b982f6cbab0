// River and road rules applied to changed cells and to whole levels.
#include "edit/PathPieces.h"

#include "edit/CellPictures.h"
#include "edit/TerrainEdges.h"

#include <vector>

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

// The rules of every type byte a cell may hold, looked up once for a whole
// level rather than once a cell. A type without rules gets rules that join
// nothing and choose nothing, so that every cell goes the same way through
// the loop: which cells have a path follows no pattern the processor could
// guess, and a wrong guess costs more than working out a piece for nothing.
using TypeTable = std::array<const PathRules::TypeRules *, 256>;

const PathRules::TypeRules &noRules()
{
    static const PathRules::TypeRules none = [] {
        PathRules::TypeRules rules;
        rules.pictures = {0};
        return rules;
    }();
    return none;
}

TypeTable typeTable(const PathRules &rules, PathLayer path)
{
    TypeTable table{};
    for (int type = 0; type < 256; ++type) {
        const PathRules::TypeRules *own = rules.typeRules(path, std::uint8_t(type));
        table[std::size_t(type)] = own ? own : &noRules();
    }
    return table;
}

// The pieces of one row's cells into next (a row's worth). A cell that no
// rule fits, or with no rules, keeps its picture and mirror bits; only the
// cells on the map's border need bounds checks.
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
        const PathRules::TypeRules &type = *table[cell.*typeField];
        std::uint8_t sides = 0;
        if (inner && column > 0 && column + 1 < side) {
            const std::array<bool, 256> &joins = type.joins;
            sides = std::uint8_t(joins[above[column].*typeField] << PathRules::North
                                 | joins[at[column + 1].*typeField] << PathRules::East
                                 | joins[below[column].*typeField] << PathRules::South
                                 | joins[at[column - 1].*typeField] << PathRules::West);
        } else if (type.hasRules) {
            sides = joiningSides(rules, path, layer, column, row);
        }
        const PathRules::Choice &choice = type.choices[sides];
        const bool pieced = choice.count != 0;
        const std::uint8_t picture = type.pictures[choice.first + scaledVariant(positionHash(column, row), choice.count)];
        const std::uint8_t mirror = std::uint8_t((cell.mirror & ~ownBits) | choice.mirror);
        next[column] = {pieced ? picture : cell.*pictureField, pieced ? mirror : cell.mirror};
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

std::size_t applyPathPiecesToLevel(CellEditor &editor, const PathRules &rules, std::span<const PathLayer> paths)
{
    if (!editor.canEdit())
        return 0;
    std::vector<PictureRows> sets;
    for (const PathLayer path : paths)
        sets.push_back({pathPictureField(path), pathMirrorBits(path), rowsOf(editor.layer(), rules, path)});
    return rewriteLevel(editor, sets);
}

std::size_t applyPathPiecesToLevel(CellEditor &editor, const PathRules &rules, PathLayer path)
{
    return applyPathPiecesToLevel(editor, rules, std::span<const PathLayer>(&path, 1));
}

std::size_t applyPathPiecesToLayer(TerrainLayer &layer, const PathRules &rules, PathLayer path)
{
    return rewriteLayer(layer, pathPictureField(path), rowsOf(layer, rules, path));
}
