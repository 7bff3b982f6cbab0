// Writing cells with their undo records, and the editability test of the open map.
#include "edit/CellEditor.h"

#include <algorithm>
#include <utility>

CellEditor::CellEditor(MapDocument &document, int level, UndoList &undoList, CellChanged cellChanged)
    : m_document(document)
    , m_level(level == 1 ? 1 : 0)
    , m_undoList(&undoList)
    , m_cellChanged(std::move(cellChanged))
{
}

CellEditor::CellEditor(MapDocument &document, int level)
    : m_document(document)
    , m_level(level == 1 ? 1 : 0)
    , m_undoList(nullptr)
{
}

bool CellEditor::canEdit(const MapDocument &document, int level)
{
    return document.isLoaded && document.hasLevel(level) && document.layer(level).side() == document.mapSize;
}

std::size_t CellEditor::replaceCells(std::uint16_t column, std::uint16_t row, std::span<const TerrainCell> cells)
{
    return writeRun<true>(column, row, cells);
}

std::size_t CellEditor::recordCells(std::uint16_t column, std::uint16_t row, std::span<const TerrainCell> cells)
{
    return writeRun<false>(column, row, cells);
}

template <bool Write>
std::size_t CellEditor::writeRun(std::uint16_t column, std::uint16_t row, std::span<const TerrainCell> cells)
{
    if (m_records.size() < cells.size())
        m_records.resize(cells.size());
    // Local pointers, so that writing the cells' bytes cannot make the compiler
    // reload them for every cell.
    TerrainCell *target = &layer().at(row, column);
    UndoRecord *const records = m_records.data();
    UndoRecord *record = records;
    const std::uint8_t level = std::uint8_t(m_level);
    // Every cell's record is written and kept only when the cell differs, and
    // every cell is written: no branch on which cells change, which follows
    // no pattern the processor could guess.
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const bool differs = !(target[i] == cells[i]);
        *record = {std::uint16_t(column + i), row, level, target[i]};
        record += differs;
        if constexpr (Write)
            target[i] = cells[i];
    }
    const std::span<const UndoRecord> written(records, record);
    if (written.empty())
        return 0;
    if (m_undoList)
        m_undoList->append(written);
    if (m_cellChanged)
        for (const UndoRecord &each : written)
            m_cellChanged(each.column, row);
    m_left = std::min<int>(m_left, written.front().column);
    m_right = std::max<int>(m_right, written.back().column);
    m_top = std::min<int>(m_top, row);
    m_bottom = std::max<int>(m_bottom, row);
    return written.size();
}
