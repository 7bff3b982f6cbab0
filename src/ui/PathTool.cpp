// The road and river tools: drags that lay and erase paths.
#include "ui/PathTool.h"

#include "session/EditorSession.h"

PathTool::PathTool(ToolLook look, EditorSession &session, PathLayer layer, const BrushSettings &brush)
    : DragTool(std::move(look), session)
    , m_layer(layer)
    , m_brush(brush)
{
}

std::uint8_t PathTool::pathType() const
{
    const std::uint8_t type = m_layer == PathLayer::River ? m_brush.riverType : m_brush.roadType;
    return type >= 1 && type <= pathTypeCount(m_layer) ? type : 1;
}

ToolOutline PathTool::outline(QPoint cell) const
{
    if (!m_session.levelShown() || cell.x() < 0 || cell.y() < 0)
        return {};
    return {QRect(cell, QSize(1, 1))};
}

std::optional<StepKind> PathTool::begins(const GridEvent &event)
{
    if (!event.onMap())
        return std::nullopt;
    m_noted = false;
    // Shift+click draws on from the session's last point, which a new map,
    // another level, undo or another tool forget.
    m_lineStart = m_session.lastPathPoint();
    return StepKind::Path;
}

void PathTool::pressed(const GridEvent &event)
{
    m_session.setAnchorCell({std::uint16_t(event.cell.x()), std::uint16_t(event.cell.y())});
    const bool line = event.modifiers.testFlag(Qt::ShiftModifier) && m_lineStart.x() >= 0;
    lay(line ? m_lineStart : event.cell, event.cell, event.modifiers);
}

void PathTool::dragged(const GridEvent &event)
{
    if (event.onMap() && event.cell != m_last)
        lay(m_last, event.cell, event.modifiers);
}

void PathTool::lay(QPoint from, QPoint to, Qt::KeyboardModifiers modifiers)
{
    const std::uint8_t type = pathType();
    const std::uint8_t picture = m_layer == PathLayer::River ? m_brush.riverConfig : m_brush.roadConfig;
    const std::uint8_t fallback = picture <= pathLastPicture(m_layer) ? picture : 0;
    const bool erase = modifiers.testFlag(Qt::ControlModifier);
    const PathLaid laid = m_session.layPath(m_layer, type, from, to, erase, fallback);
    m_last = to;
    if (laid.rulesMissing && !m_noted && m_rulesMissingNote) {
        m_noted = true;
        m_rulesMissingNote();
    }
}
