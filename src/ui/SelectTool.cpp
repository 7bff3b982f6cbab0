// The selecting tool: presses, drags, the combining drags and the drag's auto-scroll.
#include "ui/SelectTool.h"

#include "session/EditorSession.h"
#include "ui/DrawGrid.h"

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

SelectTool::SelectTool(DrawGrid &grid, EditorSession &session, Select select)
    : GridTool({})
    , m_grid(grid)
    , m_session(session)
    , m_select(std::move(select))
    , m_scrollPause([this] { m_pace.start(); })
{
    m_pace.setSingleShot(true);
    m_pace.setInterval(ScrollPause);
    QObject::connect(&m_pace, &QTimer::timeout, [this] {
        if (m_scrollWaiting && m_dragging) {
            m_scrollWaiting = false;
            scrollAtEdge();
        }
    });
}

bool SelectTool::combines(Qt::KeyboardModifiers modifiers) const
{
    return modifiers.testFlag(Qt::ControlModifier)
        || (modifiers.testFlag(Qt::ShiftModifier) && m_session.regionSelection().has_value());
}

void SelectTool::press(const GridEvent &event)
{
    if (event.button == Qt::LeftButton) {
        cancel();
        m_dragging = true;
        if (event.onMap() && combines(event.modifiers)) {
            m_combining = true;
            m_combineStart = event.cell;
            m_combineModifiers = event.modifiers;
            m_grid.setOutline(DrawGrid::Outline::Drag, QRect(event.cell, QSize(1, 1)));
        } else if (event.onMap()) {
            m_selecting = true;
            m_grid.selectCell(event.cell, event.modifiers.testFlag(Qt::ShiftModifier));
        }
    }
    if (event.onMap() && m_pressRule.take(event.cell))
        m_session.setAnchorCell({std::uint16_t(event.cell.x()), std::uint16_t(event.cell.y())});
}

void SelectTool::move(const GridEvent &event)
{
    if (!m_dragging || !event.buttons.testFlag(Qt::LeftButton))
        return;
    if (m_combining && event.onMap())
        m_grid.setOutline(DrawGrid::Outline::Drag,
                          QRect(QPoint(std::min(event.cell.x(), m_combineStart.x()), std::min(event.cell.y(), m_combineStart.y())),
                                QPoint(std::max(event.cell.x(), m_combineStart.x()), std::max(event.cell.y(), m_combineStart.y()))));
    if (m_selecting && event.onMap() && event.cell != m_grid.selectionEnd())
        m_grid.selectCell(event.cell, true);
    if (event.cell == m_lastDragCell)
        return;
    m_lastDragCell = event.cell;
    m_select(event.cell);
    scrollAtEdge();
}

void SelectTool::scrollAtEdge()
{
    if (m_pace.isActive()) {
        m_scrollWaiting = true;
        return;
    }
    const QPoint cell = m_lastDragCell;
    if (const int step = autoScrollStep(cell.x(), m_grid.colCount(), m_grid.leftCol(), m_grid.visibleColCount())) {
        m_grid.setLeftCol(m_grid.leftCol() + step);
        m_scrollPause();
    }
    if (const int step = autoScrollStep(cell.y(), m_grid.rowCount(), m_grid.topRow(), m_grid.visibleRowCount())) {
        m_grid.setTopRow(m_grid.topRow() + step);
        m_scrollPause();
    }
}

void SelectTool::release(const GridEvent &event)
{
    if (event.button != Qt::LeftButton || !m_dragging)
        return;
    const bool combined = m_combining;
    const QRect cells = m_grid.outline(DrawGrid::Outline::Drag);
    const Qt::KeyboardModifiers modifiers = m_combineModifiers;
    cancel();
    if (!combined)
        return;
    const SelectionChange change = modifiers.testFlag(Qt::ControlModifier) ? SelectionChange::Remove
                                                                             : SelectionChange::Add;
    const std::size_t selected = m_session.changeRegionSelection(
        RegionSelection::rectangle(cells, m_session.document().mapSize), change, m_grid.selectedCells());
    if (m_countNote)
        m_countNote(selected);
}

void SelectTool::cancel()
{
    m_dragging = m_selecting = m_combining = false;
    m_scrollWaiting = false;
    m_pace.stop();
    m_grid.setOutline(DrawGrid::Outline::Drag, {});
    m_lastDragCell = {-1, -1};
}
