// The grid's painting and selecting tools.
#include "app/GridTools.h"

#include "app/DrawGrid.h"

#include <QThread>

namespace {

// The auto-scroll of a left-button drag along one axis: dragging onto the
// first or last visible cell scrolls one cell further (-1 or +1), never at the
// map's own first or last cell.
int autoScrollStep(int cell, int count, int first, int visible)
{
    if (cell <= 0 || cell >= count - 1)
        return 0;
    if (cell == first)
        return -1;
    return cell == first + visible - 1 ? 1 : 0;
}

}  // namespace

bool PaintTool::press(bool rightButton, QPoint cell)
{
    if (cell == m_lastPressCell)
        return false;
    m_lastPressCell = cell;
    if (rightButton)
        m_paint(cell);
    return true;
}

SelectTool::SelectTool(DrawGrid &grid, Select select)
    : m_grid(grid)
    , m_select(std::move(select))
    , m_scrollPause([] { QThread::msleep(30); })
{
}

void SelectTool::drag(QPoint cell)
{
    if (cell == m_lastDragCell)
        return;
    m_lastDragCell = cell;
    m_select(cell);

    if (const int step = autoScrollStep(cell.x(), m_grid.colCount(), m_grid.leftCol(), m_grid.visibleColCount())) {
        m_grid.setLeftCol(m_grid.leftCol() + step);
        m_scrollPause();
    }
    if (const int step = autoScrollStep(cell.y(), m_grid.rowCount(), m_grid.topRow(), m_grid.visibleRowCount())) {
        m_grid.setTopRow(m_grid.topRow() + step);
        m_scrollPause();
    }
}
