// Select same from a right click.
#include "ui/SelectSameTool.h"

#include "session/EditorSession.h"
#include "ui/DrawGrid.h"

void showRegionSelection(DrawGrid &grid, const EditorSession &session)
{
    const auto &region = session.regionSelection();
    grid.setRegion(region ? region->bounds() : QRect(), [&session](int column, int row) {
        const auto &shown = session.regionSelection();
        return shown && shown->contains(std::uint32_t(column), std::uint32_t(row));
    });
}

SelectSameTool::SelectSameTool(ToolLook look, EditorSession &session)
    : GridTool(std::move(look))
    , m_session(session)
{
}

void SelectSameTool::press(const GridEvent &event)
{
    if (event.button != Qt::RightButton || !event.onMap())
        return;
    // Shift adds the region to the selection and Ctrl takes it out, as in
    // other editors; both together select every cell of the type on the level.
    const bool shift = event.modifiers.testFlag(Qt::ShiftModifier);
    const bool ctrl = event.modifiers.testFlag(Qt::ControlModifier);
    const SelectionChange change = shift == ctrl ? SelectionChange::Replace
                                   : shift       ? SelectionChange::Add
                                                 : SelectionChange::Remove;
    const std::size_t cells = m_session.selectSame(event.cell.x(), event.cell.y(), shift && ctrl, change);
    if (m_countNote)
        m_countNote(cells);
}
