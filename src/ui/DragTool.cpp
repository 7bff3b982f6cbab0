// Opening and closing the step of a right-button drag.
#include "ui/DragTool.h"

#include "session/EditorSession.h"

DragTool::DragTool(ToolLook look, EditorSession &session)
    : GridTool(std::move(look))
    , m_session(session)
{
}

void DragTool::press(const GridEvent &event)
{
    if (event.button != Qt::RightButton) {
        otherPress(event);
        return;
    }
    cancel();
    const std::optional<StepKind> kind = begins(event);
    if (!kind)
        return;
    m_dragging = true;
    m_session.beginStep(*kind);
    pressed(event);
}

void DragTool::move(const GridEvent &event)
{
    if (m_dragging && event.buttons.testFlag(Qt::RightButton))
        dragged(event);
}

void DragTool::release(const GridEvent &event)
{
    if (event.button == Qt::RightButton)
        cancel();
}

void DragTool::cancel()
{
    if (!m_dragging)
        return;
    m_dragging = false;
    m_session.endStep();
}
