// Select same from a right click.
#include "ui/SelectSameTool.h"

#include "session/EditorSession.h"
#include "ui/ToolIcons.h"

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
