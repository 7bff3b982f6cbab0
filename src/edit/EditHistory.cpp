// Steps of undo and redo over the undo records, and the saved state.
#include "edit/EditHistory.h"

#include <algorithm>
#include <utility>

namespace {

// The smallest rectangle around the cells written on one level.
struct CellBounds {
    int left = 0;
    int top = 0;
    int right = -1;
    int bottom = -1;

    void add(int column, int row)
    {
        if (right < left) {
            left = right = column;
            top = bottom = row;
            return;
        }
        left = std::min(left, column);
        right = std::max(right, column);
        top = std::min(top, row);
        bottom = std::max(bottom, row);
    }

    QRect rect() const { return right < left ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom)); }
};

}  // namespace

void EditHistory::openStep()
{
    settle();
}

void EditHistory::closeStep()
{
    settle();
}

void EditHistory::settle()
{
    const std::size_t start = m_settledCount;
    m_settledCount = m_undo.records.count();
    if (m_settledCount < start) {
        // Records were taken off the list directly (undoLast): the steps end
        // where the list does now.
        while (!m_undo.stepStarts.empty() && m_undo.stepStarts.back() >= m_settledCount)
            m_undo.stepStarts.pop_back();
        if (m_savedAt && *m_savedAt > m_settledCount)
            m_savedAt.reset();
        return;
    }
    if (m_settledCount == start)
        return;
    m_undo.stepStarts.push_back(start);
    m_redo.records.clear();
    m_redo.records.releaseSpareChunks();
    m_redo.stepStarts.clear();
    // The marked cells lay among the undone records the new edit replaced.
    if (m_savedAt && *m_savedAt > start)
        m_savedAt.reset();
}

std::size_t EditHistory::undoStepCount() const
{
    return m_undo.stepStarts.size() + (m_undo.records.count() > m_settledCount ? 1 : 0);
}

HistoryChange EditHistory::undoStep(MapDocument &document)
{
    settle();
    const std::size_t start = m_undo.stepStarts.empty() ? 0 : m_undo.stepStarts.back();
    return moveRecords(document, m_undo, m_redo, m_undo.records.count() - start, false);
}

HistoryChange EditHistory::redoStep(MapDocument &document)
{
    settle();
    const std::size_t start = m_redo.stepStarts.empty() ? 0 : m_redo.stepStarts.back();
    return moveRecords(document, m_redo, m_undo, m_redo.records.count() - start, true);
}

HistoryChange EditHistory::undoOneCell(MapDocument &document)
{
    settle();
    return moveRecords(document, m_undo, m_redo, m_undo.records.isEmpty() ? 0 : 1, false);
}

HistoryChange EditHistory::moveRecords(MapDocument &document, Side &from, Side &to, std::size_t count, bool oldestFirst)
{
    HistoryChange change;
    if (count == 0)
        return change;
    change.firstCell.outcome = UndoStep::Outcome::Consumed;
    std::array<CellBounds, 2> bounds;
    to.stepStarts.push_back(to.records.count());
    for (std::size_t i = 0; i < count; ++i) {
        UndoRecord record = from.records.takeLast();
        if (!recordInsideMap(document, record)) {
            ++change.dropped;
            // The record left the undo side, or has not reached it yet: either
            // way its position is the undo side's count now.
            forgetRecordAt(m_undo.records.count());
            continue;
        }
        // The map takes the record's cell, the record keeps the map's cell for
        // going back the other way.
        std::swap(document.layer(record.level).at(record.row, record.column), record.previous);
        to.records.append(record);
        bounds[record.level].add(record.column, record.row);
        if (change.written == 0 || !oldestFirst)
            change.firstCell = {UndoStep::Outcome::Restored, record.level, record.column, record.row};
        ++change.written;
    }
    while (!from.stepStarts.empty() && from.stepStarts.back() >= from.records.count())
        from.stepStarts.pop_back();
    if (to.stepStarts.back() == to.records.count())
        to.stepStarts.pop_back();
    from.records.releaseSpareChunks();
    m_settledCount = m_undo.records.count();
    for (std::size_t level = 0; level < bounds.size(); ++level)
        change.changedCells[level] = bounds[level].rect();
    return change;
}

void EditHistory::forgetRecordAt(std::size_t position)
{
    // The cell of a dropped record is not in the map, so the states on either
    // side of it look the same: a mark after it moves down with it.
    if (m_savedAt && *m_savedAt > position)
        --*m_savedAt;
}

void EditHistory::markSaved()
{
    settle();
    m_savedAt = m_settledCount;
}

bool EditHistory::isAtSavedState() const
{
    // Records of an open step are a new edit, which never returns to the mark.
    return m_undo.records.count() == m_settledCount && m_savedAt == m_settledCount;
}

void EditHistory::clear()
{
    m_undo.records.clear();
    m_undo.stepStarts.clear();
    m_redo.records.clear();
    m_redo.records.releaseSpareChunks();
    m_redo.stepStarts.clear();
    m_settledCount = 0;
    m_savedAt = 0;
}

std::size_t EditHistory::allocatedBytes() const
{
    return m_undo.records.allocatedBytes() + m_redo.records.allocatedBytes()
        + (m_undo.stepStarts.capacity() + m_redo.stepStarts.capacity()) * sizeof(std::size_t);
}
