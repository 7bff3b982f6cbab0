// The cells of a straight path and laying or erasing a river or road along them.
#include "edit/PathLaying.h"

#include "edit/PathPieces.h"

#include <algorithm>
#include <cstdlib>

std::vector<CellPosition> pathCells(CellPosition from, CellPosition to)
{
    const int dx = std::abs(int(to.column) - int(from.column));
    const int dy = -std::abs(int(to.row) - int(from.row));
    const int stepX = from.column < to.column ? 1 : -1;
    const int stepY = from.row < to.row ? 1 : -1;
    int x = from.column;
    int y = from.row;
    int error = dx + dy;
    std::vector<CellPosition> cells{from};
    cells.reserve(std::size_t(dx - dy + 1));
    while (x != to.column || y != to.row) {
        const int twice = 2 * error;
        const bool alongRow = twice >= dy;
        const bool alongColumn = twice <= dx;
        // A diagonal step becomes a step along the row, then one along the
        // column, each cell its own.
        if (alongRow) {
            error += dy;
            x += stepX;
            cells.push_back({std::uint16_t(x), std::uint16_t(y)});
        }
        if (alongColumn) {
            error += dx;
            y += stepY;
            cells.push_back({std::uint16_t(x), std::uint16_t(y)});
        }
    }
    return cells;
}

PathLaid layPath(CellEditor &editor, const PathRules &rules, PathLayer path, std::uint8_t type,
                 std::span<const CellPosition> cells, std::uint8_t fallbackPicture)
{
    if (!editor.canEdit())
        return {};
    const auto typeField = pathTypeField(path);
    const auto pictureField = pathPictureField(path);
    const std::uint8_t picture = std::min<std::uint8_t>(fallbackPicture, pathLastPicture(path));
    const std::uint32_t side = editor.mapSize();
    PathLaid laid;
    laid.rulesMissing = type != 0 && !rules.hasRules(path, type);
    for (const CellPosition &position : cells) {
        if (position.column >= side || position.row >= side)
            continue;
        TerrainCell cell = editor.layer().at(position.row, position.column);
        if (cell.*typeField == type)
            continue;
        cell.*typeField = type;
        cell.*pictureField = picture;
        cell.mirror &= std::uint8_t(~pathMirrorBits(path));
        laid.changed += editor.replaceCell(position.column, position.row, cell);
    }
    laid.changed += applyPathPieces(editor, rules, path, cells);
    return laid;
}

std::size_t erasePath(CellEditor &editor, const PathRules &rules, PathLayer path, std::span<const CellPosition> cells)
{
    return layPath(editor, rules, path, 0, cells, 0).changed;
}
