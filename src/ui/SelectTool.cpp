// The selecting tool: presses, drags and the drag's auto-scroll.
#include "ui/SelectTool.h"

#include "session/EditorSession.h"
#include "ui/DrawGrid.h"

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

SelectTool::SelectTool(DrawGrid &grid, EditorSession &session, PressRule &pressRule, Select select)
    : m_grid(grid)
    , m_session(session)
    , m_pressRule(pressRule)
    , m_select(std::move(select))
    , m_scrollPause([] { QThread::msleep(30); })
{
    m_grid.setCombineTest([&session](Qt::KeyboardModifiers modifiers) {
        return modifiers.testFlag(Qt::ControlModifier)
            || (modifiers.testFlag(Qt::ShiftModifier) && session.regionSelection().has_value());
    });
    m_combined = QObject::connect(&m_grid, &DrawGrid::rectangleCombined,
                                  [this](const QRect &cells, Qt::KeyboardModifiers modifiers) {
        const SelectionChange change = modifiers.testFlag(Qt::ControlModifier) ? SelectionChange::Remove
                                                                                 : SelectionChange::Add;
        const std::size_t selected = m_session.changeRegionSelection(
            RegionSelection::rectangle(cells, m_session.document().mapSize), change, m_grid.selectedCells());
        if (m_countNote)
            m_countNote(selected);
    });
}

SelectTool::~SelectTool()
{
    QObject::disconnect(m_combined);
    m_grid.setCombineTest({});
}

void SelectTool::press(const GridEvent &event)
{
    if (event.button == Qt::LeftButton)
        m_dragging = true;
    if (event.onMap() && m_pressRule.take(event.cell))
        m_session.setAnchorCell({std::uint16_t(event.cell.x()), std::uint16_t(event.cell.y())});
}

void SelectTool::move(const GridEvent &event)
{
    if (!m_dragging || !event.buttons.testFlag(Qt::LeftButton) || event.cell == m_lastDragCell)
        return;
    m_lastDragCell = event.cell;
    m_select(event.cell);

    if (const int step = autoScrollStep(event.cell.x(), m_grid.colCount(), m_grid.leftCol(), m_grid.visibleColCount())) {
        m_grid.setLeftCol(m_grid.leftCol() + step);
        m_scrollPause();
    }
    if (const int step = autoScrollStep(event.cell.y(), m_grid.rowCount(), m_grid.topRow(), m_grid.visibleRowCount())) {
        m_grid.setTopRow(m_grid.topRow() + step);
        m_scrollPause();
    }
}

void SelectTool::release(const GridEvent &event)
{
    if (event.button == Qt::LeftButton)
        m_dragging = false;
}

void SelectTool::cancel()
{
    m_dragging = false;
    m_grid.endDrag();
    m_lastDragCell = {-1, -1};
}
