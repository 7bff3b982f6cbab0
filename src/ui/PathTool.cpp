// The road and river tools: drags that lay and erase paths.
#include "ui/PathTool.h"

#include "session/EditorSession.h"
#include "ui/ToolIcons.h"


PathTool::PathTool(EditorSession &session, PathLayer layer, const BrushSettings &brush, QString name,
                   QKeySequence key)
    : m_session(session)
    , m_layer(layer)
    , m_brush(brush)
    , m_name(std::move(name))
    , m_key(std::move(key))
{
}

std::uint8_t PathTool::pathType() const
{
    const std::uint8_t type = m_layer == PathLayer::River ? m_brush.riverType : m_brush.roadType;
    return type >= 1 && type <= pathTypeCount(m_layer) ? type : 1;
}

ToolGlyph PathTool::glyph() const
{
    return m_layer == PathLayer::River ? ToolGlyph::River : ToolGlyph::Road;
}

QIcon PathTool::icon() const
{
    return toolIcon(glyph());
}

QCursor PathTool::cursor() const
{
    return toolCursor(glyph());
}

ToolOutline PathTool::outline(QPoint cell) const
{
    if (!m_session.levelShown() || cell.x() < 0 || cell.y() < 0)
        return {};
    return {QRect(cell, QSize(1, 1))};
}

void PathTool::press(const GridEvent &event)
{
    if (event.button != Qt::RightButton)
        return;
    cancel();
    if (!event.onMap())
        return;
    m_dragging = true;
    m_noted = false;
    // Shift+click draws on from the session's last point, which a new map,
    // another level, undo or another tool forget.
    const QPoint lineStart = m_session.lastPathPoint();
    m_session.beginStep(StepKind::Path);
    m_session.setAnchorCell({std::uint16_t(event.cell.x()), std::uint16_t(event.cell.y())});
    const bool line = event.modifiers.testFlag(Qt::ShiftModifier) && lineStart.x() >= 0;
    lay(line ? lineStart : event.cell, event.cell, event.modifiers);
}

void PathTool::move(const GridEvent &event)
{
    if (m_dragging && event.buttons.testFlag(Qt::RightButton) && event.onMap() && event.cell != m_last)
        lay(m_last, event.cell, event.modifiers);
}

void PathTool::release(const GridEvent &event)
{
    if (event.button == Qt::RightButton)
        cancel();
}

void PathTool::cancel()
{
    if (!m_dragging)
        return;
    m_dragging = false;
    m_session.endStep();
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
