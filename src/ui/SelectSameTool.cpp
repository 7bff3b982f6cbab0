// Select same from a right click.
#include "ui/SelectSameTool.h"

#include "session/EditorSession.h"
#include "ui/DrawGrid.h"
#include "ui/ToolIcons.h"

void showRegionSelection(DrawGrid &grid, const EditorSession &session)
{
    const auto &region = session.regionSelection();
    grid.setRegion(region ? region->bounds() : QRect(), [&session](int column, int row) {
        const auto &shown = session.regionSelection();
        return shown && shown->contains(std::uint32_t(column), std::uint32_t(row));
    });
}

SelectSameTool::SelectSameTool(EditorSession &session, QString name)
    : m_session(session)
    , m_name(std::move(name))
{
}

QIcon SelectSameTool::icon() const
{
    return toolIcon(ToolGlyph::SelectSame);
}

QCursor SelectSameTool::cursor() const
{
    return toolCursor(ToolGlyph::SelectSame);
}

void SelectSameTool::press(const GridEvent &event)
{
    if (event.button == Qt::RightButton && event.onMap())
        m_session.selectSame(event.cell.x(), event.cell.y(), event.modifiers.testFlag(Qt::ShiftModifier));
}
