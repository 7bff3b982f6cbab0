// Copying and pasting blocks of cells.
#include "edit/CellClipboard.h"

#include <algorithm>
#include <utility>

bool CellClipboard::copy(const MapDocument &document, int level, const QRect &selection)
{
    if (!CellEditor::canEdit(document, level) || selection.isEmpty() || selection.left() < 0 || selection.top() < 0
        || std::uint32_t(selection.right()) >= document.mapSize || std::uint32_t(selection.bottom()) >= document.mapSize)
        return false;
    m_width = std::uint16_t(selection.width());
    m_height = std::uint16_t(selection.height());
    m_cells.resize(std::size_t(m_width) * m_height);
    const TerrainLayer &layer = document.layer(level);
    for (int row = 0; row < m_height; ++row) {
        const TerrainCell *from = &layer.at(std::uint32_t(selection.top() + row), std::uint32_t(selection.left()));
        std::copy(from, from + m_width, m_cells.begin() + std::ptrdiff_t(row) * m_width);
    }
    m_inRegion.clear();
    return true;
}

bool CellClipboard::copy(const MapDocument &document, int level, const RegionSelection &region)
{
    const QRect bounds = region.bounds();
    if (region.isEmpty() || !copy(document, level, bounds))
        return false;
    m_inRegion.assign(m_cells.size(), 0);
    region.forEachRun([&](const CellRun &run) {
        const std::size_t first = std::size_t(int(run.row) - bounds.top()) * m_width + (run.column - std::uint32_t(bounds.left()));
        std::fill_n(m_inRegion.begin() + std::ptrdiff_t(first), run.length, std::uint8_t(1));
    });
    return true;
}

std::size_t CellClipboard::paste(CellEditor &editor, int left, int top) const
{
    if (isEmpty() || left < 0 || top < 0 || !editor.canEdit())
        return 0;
    const std::uint32_t size = editor.mapSize();
    std::size_t changed = 0;
    for (int i = 0; i < m_width && std::uint32_t(left + i) < size; ++i) {
        for (int j = 0; j < m_height && std::uint32_t(top + j) < size; ++j) {
            if (holds(i, j) && editor.replaceCell(std::uint16_t(left + i), std::uint16_t(top + j), cell(i, j)))
                ++changed;
        }
    }
    return changed;
}

void CellClipboard::transform(Transform transform)
{
    const std::uint8_t toggledBits = toggledMirrorBits(transform);
    const std::uint16_t width = swapsSides(transform) ? m_height : m_width;
    const std::uint16_t height = swapsSides(transform) ? m_width : m_height;
    std::vector<TerrainCell> cells(m_cells.size());
    std::vector<std::uint8_t> inRegion(m_inRegion.size());
    for (std::uint16_t row = 0; row < m_height; ++row)
        for (std::uint16_t column = 0; column < m_width; ++column) {
            const CellPosition to = transformedPosition(transform, m_width, m_height, {column, row});
            const std::size_t from = std::size_t(row) * m_width + column;
            const std::size_t target = std::size_t(to.row) * width + to.column;
            cells[target] = transformedCell(m_cells[from], toggledBits);
            if (!inRegion.empty())
                inRegion[target] = m_inRegion[from];
        }
    m_cells = std::move(cells);
    m_inRegion = std::move(inRegion);
    m_width = width;
    m_height = height;
}
