// Finding regions of one terrain type, the selection's bit mask, and painting
// every selected cell.
#include "edit/RegionSelection.h"

#include "edit/PreparedBrush.h"

#include <bit>

RegionSelection::RegionSelection(const QRect &cover)
    : m_bounds(cover)
    , m_baseColumn(std::uint32_t(cover.left()) & ~63u)
    , m_wordsPerRow((std::size_t(cover.right()) - m_baseColumn) / 64 + 1)
    , m_bits(m_wordsPerRow * std::size_t(cover.height()), 0)
{
}

RegionSelection RegionSelection::connectedRegion(const TerrainLayer &layer, std::uint32_t column, std::uint32_t row)
{
    return *connectedRegionWithin(layer, column, row, SIZE_MAX);
}

std::optional<RegionSelection> RegionSelection::connectedRegionWithin(const TerrainLayer &layer, std::uint32_t column,
                                                                      std::uint32_t row, std::size_t maxCells)
{
    const std::uint32_t side = layer.side();
    if (column >= side || row >= side)
        return RegionSelection();
    const std::uint8_t tertype = layer.at(row, column).tertype;
    RegionSelection region(QRect(0, 0, int(side), int(side)));

    // A scanline fill: each seed grows into the whole span of the type in its
    // row, and every stretch of the type not yet selected in the rows above
    // and below that span becomes a seed of its own. A stretch can be seeded
    // twice before it is reached; the second seed finds it selected.
    struct Seed {
        std::uint32_t column;
        std::uint32_t row;
    };
    std::vector<Seed> seeds{{column, row}};
    std::size_t selected = 0;
    while (!seeds.empty()) {
        const Seed seed = seeds.back();
        seeds.pop_back();
        if (region.contains(seed.column, seed.row))
            continue;
        const TerrainCell *cells = &layer.at(seed.row, 0);
        std::uint32_t left = seed.column;
        std::uint32_t right = seed.column;
        while (left > 0 && cells[left - 1].tertype == tertype)
            --left;
        while (right + 1 < side && cells[right + 1].tertype == tertype)
            ++right;
        region.setRun(seed.row, left, right);
        selected += right - left + 1;
        if (selected > maxCells)
            return std::nullopt;

        for (const std::uint32_t next : {seed.row - 1, seed.row + 1}) {
            // Above the top row, next wraps round to a number beyond the side.
            if (next >= side)
                continue;
            const TerrainCell *nextCells = &layer.at(next, 0);
            bool open = false;  // inside a stretch of the type that is not selected
            for (std::uint32_t x = left; x <= right; ++x) {
                const bool reachable = nextCells[x].tertype == tertype && !region.contains(x, next);
                if (reachable && !open)
                    seeds.push_back({x, next});
                open = reachable;
            }
        }
    }
    region.shrinkToFit();
    return region;
}

RegionSelection RegionSelection::terrainOnLevel(const TerrainLayer &layer, std::uint8_t tertype)
{
    const std::uint32_t side = layer.side();
    if (side == 0)
        return {};
    RegionSelection selection(QRect(0, 0, int(side), int(side)));
    for (std::uint32_t row = 0; row < side; ++row) {
        const TerrainCell *cells = &layer.at(row, 0);
        std::uint64_t *words = &selection.m_bits[std::size_t(row) * selection.m_wordsPerRow];
        for (std::uint32_t column = 0; column < side; ++column)
            words[column / 64] |= std::uint64_t(cells[column].tertype == tertype) << (column % 64);
    }
    selection.shrinkToFit();
    return selection;
}

RegionSelection RegionSelection::rectangle(const QRect &cells, std::uint32_t side)
{
    const QRect inside = cells & QRect(0, 0, int(side), int(side));
    if (inside.isEmpty())
        return {};
    RegionSelection selection(inside);
    for (int row = inside.top(); row <= inside.bottom(); ++row)
        selection.setRun(std::uint32_t(row), std::uint32_t(inside.left()), std::uint32_t(inside.right()));
    selection.shrinkToFit();
    return selection;
}

RegionSelection RegionSelection::combined(const RegionSelection &other, SelectionChange change) const
{
    if (change == SelectionChange::Replace)
        return other;
    if (change == SelectionChange::Remove && (isEmpty() || other.isEmpty()))
        return *this;
    if (change == SelectionChange::Add && (isEmpty() || other.isEmpty()))
        return isEmpty() ? other : *this;
    RegionSelection result(change == SelectionChange::Add ? m_bounds.united(other.m_bounds) : m_bounds);
    forEachRun([&](const CellRun &run) { result.setRun(run.row, run.column, run.column + run.length - 1); });
    other.forEachRun([&](const CellRun &run) {
        if (change == SelectionChange::Add) {
            result.setRun(run.row, run.column, run.column + run.length - 1);
            return;
        }
        // Only the part of the run inside what there is to remove from.
        const int first = std::max(int(run.column), m_bounds.left());
        const int last = std::min(int(run.column + run.length - 1), m_bounds.right());
        if (int(run.row) >= m_bounds.top() && int(run.row) <= m_bounds.bottom() && first <= last)
            result.setRun(run.row, std::uint32_t(first), std::uint32_t(last), false);
    });
    result.shrinkToFit();
    return result;
}

RegionSelection RegionSelection::withNeighbours(std::uint32_t side) const
{
    if (isEmpty())
        return {};
    const QRect level(0, 0, int(side), int(side));
    RegionSelection grown(m_bounds.adjusted(-1, -1, 1, 1) & level);
    const std::uint32_t lastColumn = side - 1;
    forEachRun([&](const CellRun &run) {
        const std::uint32_t first = run.column > 0 ? run.column - 1 : 0;
        const std::uint32_t last = std::min(run.column + run.length, lastColumn);
        for (std::uint32_t row = run.row > 0 ? run.row - 1 : 0; row <= std::min(run.row + 1, side - 1); ++row)
            grown.setRun(row, first, last);
    });
    grown.shrinkToFit();
    return grown;
}

bool RegionSelection::contains(std::uint32_t column, std::uint32_t row) const
{
    // An empty selection's bounds hold no cell, so the test below is enough.
    if (int(column) < m_bounds.left() || int(column) > m_bounds.right() || int(row) < m_bounds.top()
        || int(row) > m_bounds.bottom())
        return false;
    const std::size_t bit = column - m_baseColumn;
    return (m_bits[std::size_t(int(row) - m_bounds.top()) * m_wordsPerRow + bit / 64] >> (bit % 64)) & 1u;
}

void RegionSelection::setRun(std::uint32_t row, std::uint32_t first, std::uint32_t last, bool selected)
{
    std::uint64_t *words = &m_bits[std::size_t(int(row) - m_bounds.top()) * m_wordsPerRow];
    const std::size_t from = first - m_baseColumn;
    const std::size_t to = last - m_baseColumn + 1;  // one past the run
    const std::size_t firstWord = from / 64;
    const std::size_t lastWord = (to - 1) / 64;
    const std::uint64_t lowCut = ~std::uint64_t(0) << (from % 64);                  // bits from "from" up
    const std::uint64_t highCut = ~std::uint64_t(0) >> (63 - (to - 1) % 64);         // bits up to "to - 1"
    const auto apply = [selected](std::uint64_t &word, std::uint64_t bits) {
        word = selected ? word | bits : word & ~bits;
    };
    if (firstWord == lastWord) {
        apply(words[firstWord], lowCut & highCut);
        return;
    }
    apply(words[firstWord], lowCut);
    std::fill(words + firstWord + 1, words + lastWord, selected ? ~std::uint64_t(0) : 0);
    apply(words[lastWord], highCut);
}

std::size_t RegionSelection::nextBoundary(const std::uint64_t *words, std::size_t from, bool set) const
{
    const std::size_t rowBits = m_wordsPerRow * 64;
    if (from >= rowBits)
        return rowBits;
    // Looking for a clear bit is looking for a set bit of the inverted words.
    const std::uint64_t flip = set ? 0 : ~std::uint64_t(0);
    std::size_t index = from / 64;
    std::uint64_t word = (words[index] ^ flip) & (~std::uint64_t(0) << (from % 64));
    while (word == 0) {
        if (++index == m_wordsPerRow)
            return rowBits;
        word = words[index] ^ flip;
    }
    return index * 64 + std::size_t(std::countr_zero(word));
}

void RegionSelection::shrinkToFit()
{
    int top = -1, bottom = -1;
    std::size_t firstWord = m_wordsPerRow, lastWord = 0;
    m_cellCount = 0;
    for (int line = 0; line < m_bounds.height(); ++line) {
        const std::uint64_t *words = &m_bits[std::size_t(line) * m_wordsPerRow];
        for (std::size_t index = 0; index < m_wordsPerRow; ++index) {
            if (words[index] == 0)
                continue;
            m_cellCount += std::size_t(std::popcount(words[index]));
            firstWord = std::min(firstWord, index);
            lastWord = std::max(lastWord, index);
            if (top < 0)
                top = line;
            bottom = line;
        }
    }
    if (m_cellCount == 0) {
        *this = RegionSelection();
        return;
    }
    // The exact left and right edges: the lowest set bit of the first word
    // column and the highest of the last, over all rows.
    std::uint64_t firstColumnBits = 0, lastColumnBits = 0;
    for (int line = top; line <= bottom; ++line) {
        firstColumnBits |= m_bits[std::size_t(line) * m_wordsPerRow + firstWord];
        lastColumnBits |= m_bits[std::size_t(line) * m_wordsPerRow + lastWord];
    }
    const int left = int(m_baseColumn + firstWord * 64 + std::size_t(std::countr_zero(firstColumnBits)));
    const int right = int(m_baseColumn + lastWord * 64 + 63 - std::size_t(std::countl_zero(lastColumnBits)));
    const QRect bounds(QPoint(left, m_bounds.top() + top), QPoint(right, m_bounds.top() + bottom));
    if (firstWord == 0 && lastWord + 1 == m_wordsPerRow && top == 0 && bottom + 1 == m_bounds.height()) {
        m_bounds = bounds;
        // The base column stays: left rounded down to 64 is still bit 0's column.
        return;
    }
    RegionSelection fitted(bounds);
    for (int line = 0; line < bounds.height(); ++line) {
        const std::uint64_t *from = &m_bits[std::size_t(top + line) * m_wordsPerRow + firstWord];
        std::copy(from, from + fitted.m_wordsPerRow, &fitted.m_bits[std::size_t(line) * fitted.m_wordsPerRow]);
    }
    fitted.m_cellCount = m_cellCount;
    *this = std::move(fitted);
}

FillResult fillSelection(CellEditor &editor, const BrushSettings &brush, const RegionSelection &selection,
                         const ProgressCallback &progress)
{
    const QRect level(0, 0, int(editor.mapSize()), int(editor.mapSize()));
    if (!editor.canEdit() || !level.contains(selection.bounds()))
        return {};
    const PreparedBrush prepared(brush);
    ProgressMeter meter(progress, qint64(selection.cellCount()));
    const FillResult result = writeSelection(
        editor, selection,
        [&](const CellRun &run, const TerrainCell *old, TerrainCell *cells) {
            for (std::uint32_t i = 0; i < run.length; ++i)
                cells[i] = prepared.apply(old[i], false);
        },
        meter, 0);
    meter.finish();
    return result;
}
