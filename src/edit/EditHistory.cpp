// Steps of undo and redo over the history's records, size changes, and the
// saved state.
#include "edit/EditHistory.h"

#include <algorithm>
#include <climits>
#include <new>
#include <unordered_set>
#include <utility>

namespace {

// The smallest rectangle around the cells written on one level.
struct CellBounds {
    int left = INT_MAX;
    int top = INT_MAX;
    int right = -1;
    int bottom = -1;

    void add(int column, int row)
    {
        left = std::min(left, column);
        right = std::max(right, column);
        top = std::min(top, row);
        bottom = std::max(bottom, row);
    }

    QRect rect() const { return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom)); }
};

// Swaps records' cells with the map's, whose levels and sides are looked up
// once for millions of records.
class RecordSwapper {
public:
    explicit RecordSwapper(MapDocument &document)
    {
        for (int level = 0; level < document.levelCount(); ++level) {
            TerrainLayer &layer = document.layer(level);
            m_cells[level] = layer.data();
            m_sides[level] = std::min<std::uint32_t>(layer.side(), document.mapSize);
            m_rowLength[level] = layer.side();
        }
    }

    // The map takes the record's cell, the record keeps the map's cell for
    // going back the other way; false for a record whose cell the map lacks.
    bool swap(UndoRecord &record)
    {
        if (record.level > 1 || record.column >= m_sides[record.level] || record.row >= m_sides[record.level])
            return false;
        std::swap(m_cells[record.level][std::size_t(record.row) * m_rowLength[record.level] + record.column], record.previous);
        m_bounds[record.level].add(record.column, record.row);
        ++m_written;
        return true;
    }

    std::size_t written() const { return m_written; }

    std::array<QRect, 2> changedCells() const { return {m_bounds[0].rect(), m_bounds[1].rect()}; }

private:
    std::array<TerrainCell *, 2> m_cells = {};
    std::array<std::uint32_t, 2> m_sides = {};  // 0 for a level the map lacks
    std::array<std::size_t, 2> m_rowLength = {};
    std::array<CellBounds, 2> m_bounds;
    std::size_t m_written = 0;
};

}  // namespace

void EditHistory::openStep()
{
    settle();
}

void EditHistory::compactOpenStep(const MapDocument &document, std::span<const RecordRange> folded, bool wholeStep)
{
    const std::size_t first = m_settledCount;
    const std::size_t end = m_records.count();
    if (end <= first || (folded.empty() && !wholeStep))
        return;
    // Marks of the cells that have a record, per level: a bitmap of the level
    // for a large step, a hash set for a few records.
    const std::uint32_t side = document.mapSize;
    const std::size_t cells = std::size_t(side) * side;
    const bool bitmap = (end - first) * 16 > cells;
    std::array<std::vector<bool>, 2> marks;
    std::unordered_set<std::uint64_t> keys;
    if (bitmap)
        for (int level = 0; level < document.levelCount(); ++level)
            marks[std::size_t(level)].assign(cells, false);
    else
        keys.reserve(end - first);
    // True the first time a cell is met.
    const auto firstTime = [&](const UndoRecord &record) {
        if (!bitmap)
            return keys.insert((std::uint64_t(record.level) << 40) | (std::uint64_t(record.row) << 20) | record.column).second;
        auto &levelMarks = marks[record.level];
        const std::size_t at = std::size_t(record.row) * side + record.column;
        const bool seen = levelMarks[at];
        levelMarks[at] = true;
        return !seen;
    };
    std::size_t next = first;
    std::size_t range = 0;
    for (std::size_t i = first; i < end; ++i) {
        const UndoRecord record = m_records.at(i);
        while (range < folded.size() && folded[range].second <= i)
            ++range;
        const bool foldable = wholeStep || (range < folded.size() && folded[range].first <= i);
        // Records of a level or place the map lacks are left as they are.
        const bool inside = record.level < document.levelCount() && record.column < side && record.row < side;
        if (inside && !firstTime(record) && foldable)
            continue;
        // With one record a cell, a cell back to what it was keeps none.
        if (inside && wholeStep && document.layer(record.level).at(record.row, record.column) == record.previous)
            continue;
        m_records.at(next++) = record;
    }
    m_records.truncate(next);
}

void EditHistory::closeStep()
{
    settle();
}

void EditHistory::settle()
{
    const std::size_t start = m_settledCount;
    m_settledCount = m_records.count();
    if (m_settledCount == start)
        return;
    // A new edit: appending it forgot the records that could be redone, so
    // their steps and size changes go, and their memory with them.
    while (!m_stepStarts.empty() && m_stepStarts.back() >= start)
        m_stepStarts.pop_back();
    m_sizeChanges.erase(m_sizeChanges.begin() + std::ptrdiff_t(m_sizeChangesDone), m_sizeChanges.end());
    m_records.releaseSpareChunks();
    m_stepStarts.push_back(start);
    // The marked map lay among the undone records the new edit replaced.
    if (m_savedAt && *m_savedAt > start)
        m_savedAt.reset();
}

std::size_t EditHistory::stepStart(std::size_t index) const
{
    return *(std::upper_bound(m_stepStarts.begin(), m_stepStarts.end(), index) - 1);
}

std::size_t EditHistory::stepEnd(std::size_t index) const
{
    const auto next = std::upper_bound(m_stepStarts.begin(), m_stepStarts.end(), index);
    return next == m_stepStarts.end() ? m_records.count() + m_records.retreatedCount() : *next;
}

std::size_t EditHistory::undoStepCount() const
{
    const auto settled = std::lower_bound(m_stepStarts.begin(), m_stepStarts.end(), m_settledCount);
    return std::size_t(settled - m_stepStarts.begin()) + (m_records.count() > m_settledCount ? 1 : 0);
}

std::size_t EditHistory::redoStepCount() const
{
    if (!canRedo())
        return 0;
    const std::size_t count = m_records.count();
    const auto after = std::lower_bound(m_stepStarts.begin(), m_stepStarts.end(), count);
    // The step the undo count lies inside of, split between the sides, counts too.
    const bool split = after == m_stepStarts.end() || *after != count;
    return std::size_t(m_stepStarts.end() - after) + (split ? 1 : 0);
}

HistoryChange EditHistory::undoStep(MapDocument &document, const ProgressCallback &progress)
{
    settle();
    const std::size_t count = m_records.count();
    if (count == 0)
        return {};
    HistoryChange change = apply(document, stepStart(count - 1), count, true, progress);
    change.move = HistoryChange::Move::UndoStep;
    return change;
}

HistoryChange EditHistory::redoStep(MapDocument &document, const ProgressCallback &progress)
{
    settle();
    if (!canRedo())
        return {};
    const std::size_t count = m_records.count();
    HistoryChange change = apply(document, count, stepEnd(count), false, progress);
    change.move = HistoryChange::Move::RedoStep;
    return change;
}

HistoryChange EditHistory::undoOneCell(MapDocument &document, const ProgressCallback &progress)
{
    settle();
    const std::size_t count = m_records.count();
    if (count == 0)
        return {};
    HistoryChange change = apply(document, count - 1, count, true, progress);
    change.move = HistoryChange::Move::UndoOneCell;
    return change;
}

HistoryChange EditHistory::resize(MapDocument &document, std::uint32_t side, const ProgressCallback &progress)
{
    settle();
    HistoryChange change;
    change.move = HistoryChange::Move::Resize;
    if (side == document.mapSize)
        return change;
    std::optional<SizeChange> made;
    try {
        // Room for the step first, so that nothing can fail once the map has changed.
        m_sizeChanges.reserve(m_sizeChanges.size() + 1);
        m_records.reserve(m_records.count() + 1);
        made = SizeChange::make(document, side, progress);
    } catch (const std::bad_alloc &) {
    }
    if (!made) {
        change.outOfMemory = true;
        return change;
    }
    m_records.append({0, 0, UndoRecord::SizeChangeLevel, {}});
    m_sizeChanges.erase(m_sizeChanges.begin() + std::ptrdiff_t(m_sizeChangesDone), m_sizeChanges.end());
    m_sizeChanges.push_back(std::move(*made));
    ++m_sizeChangesDone;
    settle();
    change.firstCell.outcome = UndoStep::Outcome::Consumed;
    change.newSide = side;
    return change;
}

HistoryChange EditHistory::apply(MapDocument &document, std::size_t first, std::size_t last, bool undo,
                                 const ProgressCallback &progress)
{
    if (m_records.at(first).level == UndoRecord::SizeChangeLevel)
        return applySizeChange(document, undo, progress);
    HistoryChange change;
    change.firstCell.outcome = UndoStep::Outcome::Consumed;
    RecordSwapper swapper(document);
    // The oldest record written names the cell to show; undo goes newest
    // first, so it ends on that record.
    const UndoRecord *shown = nullptr;
    if (undo) {
        for (std::size_t end = last; end > first;) {
            const std::span<UndoRecord> run = m_records.runBefore(end, first);
            for (auto record = run.rbegin(); record != run.rend(); ++record)
                if (swapper.swap(*record))
                    shown = &*record;
            end -= run.size();
        }
        m_records.retreat(last - first);
    } else {
        for (std::size_t start = first; start < last;) {
            const std::span<UndoRecord> run = m_records.runFrom(start, last);
            for (UndoRecord &record : run)
                if (swapper.swap(record) && !shown)
                    shown = &record;
            start += run.size();
        }
        m_records.advance(last - first);
    }
    m_settledCount = m_records.count();
    change.changedCells = swapper.changedCells();
    if (shown)
        change.firstCell = {UndoStep::Outcome::Restored, shown->level, shown->column, shown->row};
    change.written = swapper.written();
    return change;
}

HistoryChange EditHistory::applySizeChange(MapDocument &document, bool undo, const ProgressCallback &progress)
{
    HistoryChange change;
    const SizeChange &sizeChange = m_sizeChanges[undo ? m_sizeChangesDone - 1 : m_sizeChangesDone];
    if (!(undo ? sizeChange.undo(document, progress) : sizeChange.redo(document, progress))) {
        change.outOfMemory = true;
        return change;
    }
    if (undo) {
        m_records.retreat(1);
        --m_sizeChangesDone;
    } else {
        m_records.advance(1);
        ++m_sizeChangesDone;
    }
    m_settledCount = m_records.count();
    change.firstCell.outcome = UndoStep::Outcome::Consumed;
    change.newSide = document.mapSize;
    return change;
}

void EditHistory::markSaved()
{
    settle();
    m_savedAt = m_settledCount;
}

bool EditHistory::isAtSavedState() const
{
    // Records of an open step are a new edit, which never returns to the mark.
    return m_records.count() == m_settledCount && m_savedAt == m_settledCount;
}

void EditHistory::clear()
{
    m_records.clear();
    m_stepStarts.clear();
    m_sizeChanges.clear();
    m_sizeChangesDone = 0;
    m_settledCount = 0;
    m_savedAt = 0;
}

std::size_t EditHistory::allocatedBytes() const
{
    std::size_t sizeChangeBytes = m_sizeChanges.capacity() * sizeof(SizeChange);
    for (const SizeChange &sizeChange : m_sizeChanges)
        sizeChangeBytes += sizeChange.allocatedBytes();
    return m_records.allocatedBytes() + m_stepStarts.capacity() * sizeof(std::size_t) + sizeChangeBytes;
}
