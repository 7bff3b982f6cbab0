// Writing rule-chosen pictures into cells around changes, into levels and into layers.
#include "edit/CellPictures.h"

#include "base/LargeMemory.h"

#include <algorithm>

std::vector<std::uint32_t> cellsAround(std::span<const CellPosition> changed, std::uint32_t side, Reach reach)
{
    std::vector<std::uint32_t> cells;
    const bool corners = reach == Reach::SidesAndCorners;
    const auto around = [&](const CellPosition &position, auto &&take) {
        if (position.column >= side || position.row >= side)
            return;
        if (reach == Reach::Self) {
            take(position.row * side + position.column);
            return;
        }
        const std::uint32_t firstRow = position.row > 0 ? position.row - 1u : 0u;
        const std::uint32_t lastRow = std::min<std::uint32_t>(position.row + 1u, side - 1);
        const std::uint32_t firstColumn = position.column > 0 ? position.column - 1u : 0u;
        const std::uint32_t lastColumn = std::min<std::uint32_t>(position.column + 1u, side - 1);
        for (std::uint32_t row = firstRow; row <= lastRow; ++row)
            for (std::uint32_t column = firstColumn; column <= lastColumn; ++column)
                if (corners || row == position.row || column == position.column)
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

std::size_t rewriteCellsAround(CellEditor &editor, std::span<const CellPosition> changed, Reach reach,
                               const std::function<TerrainCell(std::uint32_t column, std::uint32_t row)> &cellAt)
{
    if (!editor.canEdit())
        return 0;
    const std::uint32_t side = editor.layer().side();
    std::size_t count = 0;
    for (const std::uint32_t index : cellsAround(changed, side, reach)) {
        const std::uint32_t row = index / side;
        const std::uint32_t column = index % side;
        count += editor.replaceCell(std::uint16_t(column), std::uint16_t(row), cellAt(column, row));
    }
    return count;
}

namespace {

// Works out every row's pictures in turn and hands them to
// takeRow(row, pictures), which returns how many cells of the row they change
// (and may write them).
template <typename TakeRow>
std::size_t forEachRow(std::uint32_t side, const RowPictures &rowPictures, TakeRow takeRow)
{
    std::vector<CellPicture> next(side);
    std::size_t count = 0;
    for (std::uint32_t row = 0; row < side; ++row) {
        rowPictures(row, next);
        count += takeRow(row, std::span<const CellPicture>(next));
    }
    return count;
}

// Marks in differs (a row's worth) the cells whose picture byte or mirror
// bits the pictures change (a set changes only its own bits), or'ed into what
// is marked; no branches, as which cells change follows no pattern.
void markChanges(const TerrainCell *cells, PictureByte field, const CellPicture *pictures, std::span<std::uint8_t> differs)
{
    for (std::size_t i = 0; i < differs.size(); ++i)
        differs[i] |= std::uint8_t((cells[i].*field != pictures[i].picture) | (cells[i].mirror != pictures[i].mirror));
}

// Sets the set's picture byte and own mirror bits of cells (a row's worth).
void mergePictures(std::span<TerrainCell> cells, const PictureRows &set, const CellPicture *pictures)
{
    const PictureByte field = set.field;
    const std::uint8_t own = set.mirrorBits;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        cells[i].*field = pictures[i].picture;
        cells[i].mirror = std::uint8_t((cells[i].mirror & ~own) | (pictures[i].mirror & own));
    }
}

}  // namespace

std::size_t rewriteLevel(CellEditor &editor, std::span<const PictureRows> sets)
{
    if (!editor.canEdit() || sets.empty())
        return 0;
    // Every set's pictures of the whole level are worked out first, so that
    // the undo list can make room for all the records at once (one block,
    // whose fresh memory comes in huge pages); then the rows that change are
    // written, every set's pictures of a cell in one record.
    const TerrainLayer &layer = editor.layer();
    const std::uint32_t side = layer.side();
    const std::size_t cellCount = std::size_t(side) * side;
    std::vector<LargeArray<CellPicture>> pictures;
    for (std::size_t i = 0; i < sets.size(); ++i)
        pictures.push_back(allocateLargeArray<CellPicture>(cellCount));
    std::vector<std::uint32_t> rowChanges(side);
    std::vector<std::uint8_t> differs(side);
    std::size_t count = 0;
    for (std::uint32_t row = 0; row < side; ++row) {
        const std::size_t offset = std::size_t(row) * side;
        std::fill(differs.begin(), differs.end(), std::uint8_t(0));
        for (std::size_t i = 0; i < sets.size(); ++i) {
            sets[i].rows(row, std::span<CellPicture>(&pictures[i][offset], side));
            markChanges(&layer.at(row, 0), sets[i].field, &pictures[i][offset], differs);
        }
        rowChanges[row] = std::uint32_t(std::count(differs.begin(), differs.end(), std::uint8_t(1)));
        count += rowChanges[row];
    }
    if (count == 0)
        return 0;
    editor.reserveRecords(count);
    std::vector<TerrainCell> cells(side);
    for (std::uint32_t row = 0; row < side; ++row) {
        if (rowChanges[row] == 0)
            continue;
        // The row is copied whole and its bytes set in place: copying
        // seven-byte cells one by one costs more than the rest of the loop.
        const std::size_t offset = std::size_t(row) * side;
        const TerrainCell *at = &layer.at(row, 0);
        std::copy(at, at + side, cells.begin());
        for (std::size_t i = 0; i < sets.size(); ++i)
            mergePictures(cells, sets[i], &pictures[i][offset]);
        editor.replaceCells(0, std::uint16_t(row), cells);
    }
    return count;
}

std::size_t rewriteLayer(TerrainLayer &layer, PictureByte field, const RowPictures &rowPictures)
{
    return forEachRow(layer.side(), rowPictures, [&](std::uint32_t row, std::span<const CellPicture> next) {
        // The two bytes are written in place, changed or not: copying whole
        // seven-byte cells costs more than the writes saved.
        TerrainCell *cells = &layer.at(row, 0);
        std::size_t changed = 0;
        for (std::size_t i = 0; i < next.size(); ++i) {
            TerrainCell &cell = cells[i];
            changed += cell.*field != next[i].picture || cell.mirror != next[i].mirror;
            cell.*field = next[i].picture;
            cell.mirror = next[i].mirror;
        }
        return changed;
    });
}
