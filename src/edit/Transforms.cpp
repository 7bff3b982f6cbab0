// Flips and turns of areas of a level, straight into a layer or through the
// cell editor, and copying one half of a level onto the other.
#include "edit/Transforms.h"

#include "base/LargeMemory.h"
#include "edit/PathPieces.h"
#include "edit/StepStages.h"
#include "edit/TerrainEdges.h"

#include <algorithm>
#include <array>
#include <new>
#include <span>
#include <vector>

namespace {

// A rectangle of cells in memory: its top-left cell and the distance from one
// row to the next, in cells.
struct CellArea {
    const TerrainCell *origin = nullptr;
    std::ptrdiff_t stride = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;

    const TerrainCell *row(std::uint32_t row) const { return origin + std::ptrdiff_t(row) * stride; }
};

CellArea areaOf(const TerrainLayer &layer, const QRect &area)
{
    return {&layer.at(std::uint32_t(area.top()), std::uint32_t(area.left())), std::ptrdiff_t(layer.side()),
            std::uint32_t(area.width()), std::uint32_t(area.height())};
}

// Where the cells of one row of the transformed area come from: the first of
// them in the old area, and the step from one to the next, in cells (a row
// read backwards for a horizontal flip, a column for a quarter turn).
struct SourceRun {
    const TerrainCell *first = nullptr;
    std::ptrdiff_t step = 0;
};

SourceRun sourceOfRow(const CellArea &old, Transform transform, std::uint32_t newRow)
{
    const std::uint32_t lastColumn = old.width - 1;
    const std::uint32_t lastRow = old.height - 1;
    switch (transform) {
    case Transform::FlipHorizontal:
        return {old.row(newRow) + lastColumn, -1};
    case Transform::FlipVertical:
        return {old.row(lastRow - newRow), 1};
    case Transform::Turn180:
        return {old.row(lastRow - newRow) + lastColumn, -1};
    case Transform::Turn90:
        // The new top row is the old left column read upwards.
        return {old.row(lastRow) + newRow, -old.stride};
    case Transform::Turn270:
        // The new top row is the old right column read downwards.
        return {old.row(0) + (lastColumn - newRow), old.stride};
    case Transform::FlipDiagonal:
        return {old.row(0) + newRow, old.stride};
    }
    return {};
}

void readRun(const SourceRun &run, std::uint8_t toggledBits, std::span<TerrainCell> cells)
{
    for (std::size_t i = 0; i < cells.size(); ++i)
        cells[i] = transformedCell(run.first[std::ptrdiff_t(i) * run.step], toggledBits);
}

// A rectangle of cells to move in place.
struct MutableArea {
    TerrainCell *origin = nullptr;
    std::ptrdiff_t stride = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;

    TerrainCell *row(std::uint32_t row) const { return origin + std::ptrdiff_t(row) * stride; }
    TerrainCell &at(std::uint32_t y, std::uint32_t x) const { return row(y)[x]; }
};

// Exchanges two cells, each toggled; the number of the two that change.
inline std::size_t exchangeToggled(TerrainCell &a, TerrainCell &b, std::uint8_t toggledBits)
{
    const TerrainCell oldA = a;
    const TerrainCell oldB = b;
    a = transformedCell(oldB, toggledBits);
    b = transformedCell(oldA, toggledBits);
    return std::size_t(!(a == oldA)) + std::size_t(!(b == oldB));
}

// Squares of cells worked on at a time by the in-place turns: the few
// squares one step touches stay in the cache while they are read and written
// a column at a time.
constexpr std::uint32_t Tile = 32;

// A quarter turn or diagonal flip of a square area in place, without a copy:
// a quarter turn moves the cells round in fours (each cell of the top-left
// quarter with its three images), a diagonal flip exchanges pairs across the
// diagonal. Mirror bits stay as they are. The cells that change.
std::size_t turnInPlace(const MutableArea &area, Transform transform)
{
    const std::uint32_t n = area.width;
    std::size_t changed = 0;
    if (transform == Transform::FlipDiagonal) {
        for (std::uint32_t top = 0; top < n; top += Tile)
            for (std::uint32_t left = top; left < n; left += Tile)
                for (std::uint32_t row = top; row < std::min(top + Tile, n); ++row)
                    for (std::uint32_t column = std::max(left, row + 1); column < std::min(left + Tile, n); ++column)
                        changed += exchangeToggled(area.at(row, column), area.at(column, row), 0);
        return changed;
    }
    // The new cell at (row, column) is the old one at (n-1-column, row) for
    // a clockwise turn; the four cells of a round take each other's places.
    const bool clockwise = transform == Transform::Turn90;
    const std::uint32_t rows = n / 2;
    const std::uint32_t columns = (n + 1) / 2;
    for (std::uint32_t top = 0; top < rows; top += Tile)
        for (std::uint32_t left = 0; left < columns; left += Tile)
            for (std::uint32_t row = top; row < std::min(top + Tile, rows); ++row)
                for (std::uint32_t column = left; column < std::min(left + Tile, columns); ++column) {
                    TerrainCell &p0 = area.at(row, column);
                    TerrainCell &p1 = area.at(n - 1 - column, row);
                    TerrainCell &p2 = area.at(n - 1 - row, n - 1 - column);
                    TerrainCell &p3 = area.at(column, n - 1 - row);
                    const TerrainCell v0 = p0, v1 = p1, v2 = p2, v3 = p3;
                    if (clockwise) {
                        p0 = v1;
                        p1 = v2;
                        p2 = v3;
                        p3 = v0;
                    } else {
                        p0 = v3;
                        p3 = v2;
                        p2 = v1;
                        p1 = v0;
                    }
                    changed += std::size_t(!(p0 == v0)) + std::size_t(!(p1 == v1)) + std::size_t(!(p2 == v2))
                        + std::size_t(!(p3 == v3));
                }
    return changed;
}

// The cells of the area, row after row, in memory of their own.
LargeArray<TerrainCell> copyOf(const CellArea &area)
{
    LargeArray<TerrainCell> copy = allocateLargeArray<TerrainCell>(std::size_t(area.width) * area.height);
    for (std::uint32_t row = 0; row < area.height; ++row)
        std::copy_n(area.row(row), area.width, &copy[std::size_t(row) * area.width]);
    return copy;
}

CellArea areaOfCopy(const LargeArray<TerrainCell> &copy, const CellArea &area)
{
    return {copy.get(), std::ptrdiff_t(area.width), area.width, area.height};
}

// Works out every row of the area as the transform leaves it and hands it to
// writeRow(row, cells), row counted from the area's top, which writes it into
// the same memory the area is read from. A transform that swaps sides fills
// each row from a column of the old area, which the rows written before have
// overwritten: old must then be a copy of the area, unless writeRow leaves
// the area as it is (it only records the rows).
template <typename WriteRow>
void transformRows(const CellArea &old, Transform transform, WriteRow &&writeRow)
{
    const std::uint8_t toggledBits = toggledMirrorBits(transform);
    if (swapsSides(transform)) {
        // Read a column a cell at a time, a row of a large level would load a
        // cache line per cell: a band of rows is worked out at once instead,
        // a square of Band x Band cells at a time, whose old cells lie in a
        // few lines of each of Band old rows.
        constexpr std::uint32_t Band = 32;
        std::vector<TerrainCell> band(std::size_t(Band) * old.width);
        std::array<SourceRun, Band> runs;
        for (std::uint32_t top = 0; top < old.height; top += Band) {
            const std::uint32_t rows = std::min(Band, old.height - top);
            for (std::uint32_t k = 0; k < rows; ++k)
                runs[k] = sourceOfRow(old, transform, top + k);
            for (std::uint32_t left = 0; left < old.width; left += Band) {
                const std::uint32_t right = std::min(left + Band, old.width);
                for (std::uint32_t k = 0; k < rows; ++k)
                    for (std::uint32_t i = left; i < right; ++i)
                        band[std::size_t(k) * old.width + i] =
                            transformedCell(runs[k].first[std::ptrdiff_t(i) * runs[k].step], toggledBits);
            }
            for (std::uint32_t k = 0; k < rows; ++k)
                writeRow(top + k, std::span<const TerrainCell>(&band[std::size_t(k) * old.width], old.width));
        }
        return;
    }
    // A flip or half turn fills each row from one old row, and the two rows
    // of a pair fill each other (a horizontal flip keeps each row in its
    // place): both are worked out before either is written, and no copy of
    // the area is needed.
    std::vector<TerrainCell> first(old.width);
    std::vector<TerrainCell> second(old.width);
    const std::uint32_t rows = transform == Transform::FlipHorizontal ? old.height : (old.height + 1) / 2;
    for (std::uint32_t row = 0; row < rows; ++row) {
        const std::uint32_t partner = transform == Transform::FlipHorizontal ? row : old.height - 1 - row;
        readRun(sourceOfRow(old, transform, row), toggledBits, first);
        if (partner != row)
            readRun(sourceOfRow(old, transform, partner), toggledBits, second);
        writeRow(row, std::span<const TerrainCell>(first));
        if (partner != row)
            writeRow(partner, std::span<const TerrainCell>(second));
    }
}

// How many cells of one area differ from those at the same place of another
// of the same size.
std::size_t differingCells(const CellArea &one, const CellArea &other)
{
    std::size_t count = 0;
    for (std::uint32_t row = 0; row < one.height; ++row)
        for (std::uint32_t column = 0; column < one.width; ++column)
            count += !(one.row(row)[column] == other.row(row)[column]);
    return count;
}

// Writes runs of cells straight into a layer, counting the cells that change.
struct DirectWriter {
    TerrainLayer &layer;
    std::size_t changed = 0;

    void operator()(std::uint32_t column, std::uint32_t row, std::span<const TerrainCell> cells)
    {
        TerrainCell *to = &layer.at(row, column);
        for (std::size_t i = 0; i < cells.size(); ++i)
            changed += !(to[i] == cells[i]);
        std::copy(cells.begin(), cells.end(), to);
    }
};

// The same through an editor, which records undo and the changed rectangle.
struct EditorWriter {
    CellEditor &editor;
    std::size_t changed = 0;

    void operator()(std::uint32_t column, std::uint32_t row, std::span<const TerrainCell> cells)
    {
        changed += editor.replaceCells(std::uint16_t(column), std::uint16_t(row), cells);
    }
};

TransformRefusal refusalFor(std::uint32_t side, const QRect &area, Transform transform)
{
    using Cause = TransformRefusal::Cause;
    if (area.isEmpty())
        return {Cause::NoCells, area, side};
    if (area.left() < 0 || area.top() < 0 || std::uint32_t(area.right()) >= side || std::uint32_t(area.bottom()) >= side)
        return {Cause::OutsideLevel, area, side};
    if (swapsSides(transform) && area.width() != area.height())
        return {Cause::NotSquare, area, side};
    return {};
}

QRect wholeLayer(const TerrainLayer &layer)
{
    return QRect(0, 0, int(layer.side()), int(layer.side()));
}

// The cells that meet new neighbours when the area moves: after a quarter
// turn or diagonal flip, which mirror bits cannot draw, every cell of the area
// and the ring around it; after a flip or half turn of part of a level, the
// cells along the area's edge, inside and out (the cells inside keep their
// neighbours, mirrored); after one of the whole level, none.
std::vector<CellPosition> mendCells(std::uint32_t side, const QRect &area, Transform transform)
{
    std::vector<CellPosition> cells;
    const QRect whole(0, 0, int(side), int(side));
    if (area == whole && !swapsSides(transform))
        return cells;
    const QRect outer = area.adjusted(-1, -1, 1, 1).intersected(whole);
    const QRect inner = swapsSides(transform) ? QRect() : area.adjusted(1, 1, -1, -1);
    for (int row = outer.top(); row <= outer.bottom(); ++row)
        for (int column = outer.left(); column <= outer.right(); ++column)
            if (!inner.contains(column, row))
                cells.push_back({std::uint16_t(column), std::uint16_t(row)});
    return cells;
}

// True for the halves that lie side by side (left and right), whose seam is
// a column; false for those one above the other, whose seam is a row.
bool halvesSideBySide(LevelHalf half)
{
    return half == LevelHalf::Left || half == LevelHalf::Right;
}

// The cells along the seam of a mirrored half: the kept half's last line
// meets the copy, and on an odd side so does the middle line. Either half of
// a pair has the same seam.
std::vector<CellPosition> seamCells(std::uint32_t side, LevelHalf half)
{
    std::vector<CellPosition> cells;
    const std::uint32_t halfSide = side / 2;
    if (halfSide == 0)
        return cells;
    for (std::uint32_t along = 0; along < side; ++along)
        for (std::uint32_t across = halfSide - 1; across <= side - halfSide; ++across)
            cells.push_back(halvesSideBySide(half) ? CellPosition{std::uint16_t(across), std::uint16_t(along)}
                                                   : CellPosition{std::uint16_t(along), std::uint16_t(across)});
    return cells;
}

// Transforms the area of the layer through the writer, then, with rules,
// gives the cells that met new neighbours their terrain pictures and river
// and road pieces: wholeRules() for every cell of the layer, cellRules(cells)
// for some of them. read(position) is a cell as it is now.
template <typename Writer, typename WholeRules, typename CellRules>
TransformResult transformWith(TerrainLayer &layer, const QRect &area, Transform transform,
                              const TerrainEdgeRules *rules, Writer &writer, WholeRules wholeRules, CellRules cellRules)
{
    TransformResult result;
    result.refusal = refusalFor(layer.side(), area, transform);
    if (!result.ok())
        return result;
    const CellArea target = areaOf(layer, area);
    LargeArray<TerrainCell> copy;
    if (swapsSides(transform)) {
        try {
            copy = copyOf(target);
        } catch (const std::bad_alloc &) {
            result.refusal = {TransformRefusal::Cause::NoMemory, area, layer.side()};
            return result;
        }
    }
    const QRect whole = wholeLayer(layer);
    const std::vector<CellPosition> mended = rules && area != whole ? mendCells(layer.side(), area, transform)
                                                                    : std::vector<CellPosition>();
    // What the mended cells held before, to count each changed cell once.
    std::vector<TerrainCell> before;
    before.reserve(mended.size());
    for (const CellPosition &cell : mended)
        before.push_back(layer.at(cell.row, cell.column));
    transformRows(copy ? areaOfCopy(copy, target) : target, transform,
                  [&](std::uint32_t row, std::span<const TerrainCell> cells) {
                      writer(std::uint32_t(area.left()), std::uint32_t(area.top()) + row, cells);
                  });
    result.changed = writer.changed;
    if (!rules)
        return result;
    if (area == whole) {
        if (!swapsSides(transform))
            return result;
        result.edgesApplied = true;
        wholeRules();
        // A cell may change twice, moved and then edged: counted once, against the copy.
        result.changed = differingCells(target, areaOfCopy(copy, target));
        return result;
    }
    result.edgesApplied = swapsSides(transform);
    std::size_t movedOnMended = 0;
    for (std::size_t i = 0; i < mended.size(); ++i)
        movedOnMended += !(layer.at(mended[i].row, mended[i].column) == before[i]);
    cellRules(std::span<const CellPosition>(mended));
    std::size_t differsOnMended = 0;
    for (std::size_t i = 0; i < mended.size(); ++i)
        differsOnMended += !(layer.at(mended[i].row, mended[i].column) == before[i]);
    result.changed = result.changed - movedOnMended + differsOnMended;
    return result;
}

// Hands writeRun(column, row, cells) the cells of the half that is written:
// for each row (or each row of the other half) the kept half's cells flipped.
// The kept half's cells nearest the seam land nearest it on the other side.
template <typename WriteRun>
void mirrorHalfRuns(const TerrainLayer &layer, LevelHalf half, WriteRun &&writeRun)
{
    const std::uint32_t side = layer.side();
    const std::uint32_t halfSide = side / 2;  // an odd side's middle line is its own mirror
    if (halfSide == 0)
        return;
    if (halvesSideBySide(half)) {
        // Each row's kept cells read backwards from the one next to the seam.
        const bool keepLeft = half == LevelHalf::Left;
        const std::uint32_t lastKept = keepLeft ? halfSide - 1 : side - 1;
        const std::uint32_t firstWritten = keepLeft ? side - halfSide : 0;
        std::vector<TerrainCell> cells(halfSide);
        for (std::uint32_t row = 0; row < side; ++row) {
            readRun({&layer.at(row, lastKept), -1}, LeftRightMirrorBits, cells);
            writeRun(firstWritten, row, std::span<const TerrainCell>(cells));
        }
        return;
    }
    const bool keepTop = half == LevelHalf::Top;
    std::vector<TerrainCell> cells(side);
    for (std::uint32_t row = 0; row < halfSide; ++row) {
        const std::uint32_t kept = keepTop ? row : side - 1 - row;
        readRun({&layer.at(kept, 0), 1}, UpsideDownMirrorBits, cells);
        writeRun(0, side - 1 - kept, std::span<const TerrainCell>(cells));
    }
}

// Copies the half through the writer, then, with rules, gives the cells along
// the seam their pictures with cellRules; returns the cells changed, each once.
template <typename Writer, typename CellRules>
std::size_t mirrorHalfWith(TerrainLayer &layer, LevelHalf half, const TerrainEdgeRules *rules, Writer &writer,
                           CellRules cellRules)
{
    const std::vector<CellPosition> seam = rules ? seamCells(layer.side(), half) : std::vector<CellPosition>();
    std::vector<TerrainCell> before;
    before.reserve(seam.size());
    for (const CellPosition &cell : seam)
        before.push_back(layer.at(cell.row, cell.column));
    mirrorHalfRuns(layer, half, writer);
    if (!rules)
        return writer.changed;
    const auto differing = [&] {
        std::size_t count = 0;
        for (std::size_t i = 0; i < seam.size(); ++i)
            count += !(layer.at(seam[i].row, seam[i].column) == before[i]);
        return count;
    };
    const std::size_t copied = differing();
    cellRules(std::span<const CellPosition>(seam));
    return writer.changed - copied + differing();
}

}  // namespace

QString transformRefusalText(const TransformRefusal &refusal)
{
    const QRect &area = refusal.area;
    switch (refusal.cause) {
    case TransformRefusal::Cause::None:
        return {};
    case TransformRefusal::Cause::NoCells:
        return QStringLiteral("there are no cells to transform");
    case TransformRefusal::Cause::OutsideLevel:
        return QStringLiteral("the area from column %1, row %2 to column %3, row %4 does not lie inside the level of "
                              "side %5")
            .arg(area.left())
            .arg(area.top())
            .arg(area.right())
            .arg(area.bottom())
            .arg(refusal.side);
    case TransformRefusal::Cause::NotSquare:
        return QStringLiteral("a quarter turn or diagonal flip in place needs a square area, not %1 x %2 cells")
            .arg(area.width())
            .arg(area.height());
    case TransformRefusal::Cause::NoMemory:
        return QStringLiteral("not enough memory to turn an area of %1 x %1 cells").arg(area.width());
    case TransformRefusal::Cause::NoLevelShown:
        return QStringLiteral("no level of an open map is shown to edit");
    case TransformRefusal::Cause::NoCopiedCells:
        return QStringLiteral("no cells are copied to transform");
    }
    return {};
}

bool swapsSides(Transform transform)
{
    return transform == Transform::Turn90 || transform == Transform::Turn270 || transform == Transform::FlipDiagonal;
}

std::uint8_t toggledMirrorBits(Transform transform)
{
    switch (transform) {
    case Transform::FlipHorizontal:
        return LeftRightMirrorBits;
    case Transform::FlipVertical:
        return UpsideDownMirrorBits;
    case Transform::Turn180:
        return LeftRightMirrorBits | UpsideDownMirrorBits;
    case Transform::FlipDiagonal:
    case Transform::Turn90:
    case Transform::Turn270:
        break;
    }
    return 0;
}

CellPosition transformedPosition(Transform transform, std::uint32_t width, std::uint32_t height, CellPosition position)
{
    const auto at = [](std::uint32_t column, std::uint32_t row) {
        return CellPosition{std::uint16_t(column), std::uint16_t(row)};
    };
    const std::uint32_t x = position.column;
    const std::uint32_t y = position.row;
    switch (transform) {
    case Transform::FlipHorizontal:
        return at(width - 1 - x, y);
    case Transform::FlipVertical:
        return at(x, height - 1 - y);
    case Transform::Turn180:
        return at(width - 1 - x, height - 1 - y);
    case Transform::Turn90:
        return at(height - 1 - y, x);
    case Transform::Turn270:
        return at(y, width - 1 - x);
    case Transform::FlipDiagonal:
        return at(y, x);
    }
    return position;
}

TransformResult transformArea(TerrainLayer &layer, const QRect &area, Transform transform, const TerrainEdgeRules *rules)
{
    // A quarter turn or diagonal flip without rules to apply (and count
    // against the cells as they were) moves the cells in the layer itself:
    // no copy of the area is made.
    if (!rules && swapsSides(transform)) {
        TransformResult result;
        result.refusal = refusalFor(layer.side(), area, transform);
        if (!result.ok())
            return result;
        const MutableArea cells{&layer.at(std::uint32_t(area.top()), std::uint32_t(area.left())),
                                std::ptrdiff_t(layer.side()), std::uint32_t(area.width()), std::uint32_t(area.height())};
        result.changed = turnInPlace(cells, transform);
        return result;
    }
    DirectWriter writer{layer};
    return transformWith(
        layer, area, transform, rules, writer,
        [&] {
            applyTerrainEdgesToLayer(layer, *rules);
            for (const PathLayer path : PathLayers)
                applyPathPiecesToLayer(layer, rules->paths(), path);
        },
        [&](std::span<const CellPosition> cells) { applyRulesAt(layer, *rules, cells); });
}

TransformResult transformLayer(TerrainLayer &layer, Transform transform, const TerrainEdgeRules *rules)
{
    return transformArea(layer, wholeLayer(layer), transform, rules);
}

TransformResult transformArea(CellEditor &editor, const QRect &area, Transform transform, const TerrainEdgeRules *rules)
{
    if (!editor.canEdit())
        return {TransformRefusal{TransformRefusal::Cause::NoLevelShown, QRect(), 0}};
    TransformResult refused{refusalFor(editor.layer().side(), area, transform)};
    if (!refused.ok())
        return refused;
    // Nearly every cell of a real map changes: room for all at once.
    editor.reserveRecords(std::size_t(area.width()) * std::size_t(area.height()));
    if (!rules && swapsSides(transform)) {
        // Every row of the result is worked out from the layer as it is and
        // recorded (the same records, in the same order, as writing it would
        // make), then the cells move in place: no copy of the area is made.
        TerrainLayer &layer = editor.layer();
        TransformResult result;
        transformRows(areaOf(layer, area), transform, [&](std::uint32_t row, std::span<const TerrainCell> cells) {
            result.changed += editor.recordCells(std::uint16_t(area.left()), std::uint16_t(area.top() + int(row)), cells);
        });
        turnInPlace({&layer.at(std::uint32_t(area.top()), std::uint32_t(area.left())), std::ptrdiff_t(layer.side()),
                     std::uint32_t(area.width()), std::uint32_t(area.height())},
                    transform);
        return result;
    }
    EditorWriter writer{editor};
    return transformWith(
        editor.layer(), area, transform, rules, writer,
        [&] {
            applyTerrainEdgesToLevel(editor, *rules);
            applyPathPiecesToLevel(editor, rules->paths(), PathLayers);
        },
        [&](std::span<const CellPosition> cells) { applyRulesAt(editor, *rules, cells); });
}

TransformResult transformLevel(CellEditor &editor, Transform transform, const TerrainEdgeRules *rules)
{
    return transformArea(editor, wholeLayer(editor.layer()), transform, rules);
}

std::size_t mirrorHalf(TerrainLayer &layer, LevelHalf half, const TerrainEdgeRules *rules)
{
    DirectWriter writer{layer};
    return mirrorHalfWith(layer, half, rules, writer,
                          [&](std::span<const CellPosition> cells) { applyRulesAt(layer, *rules, cells); });
}

std::size_t mirrorHalf(CellEditor &editor, LevelHalf half, const TerrainEdgeRules *rules)
{
    if (!editor.canEdit())
        return 0;
    const std::uint32_t side = editor.layer().side();
    editor.reserveRecords(std::size_t(side) * (side / 2));
    EditorWriter writer{editor};
    return mirrorHalfWith(editor.layer(), half, rules, writer,
                          [&](std::span<const CellPosition> cells) { applyRulesAt(editor, *rules, cells); });
}
