// Fill any terrain from a right click.
#include "ui/ReplaceFillTool.h"

#include "session/EditorSession.h"
#include "ui/ToolIcons.h"

ReplaceFillTool::ReplaceFillTool(EditorSession &session, const BrushSettings &brush, QString name)
    : m_session(session)
    , m_brush(brush)
    , m_name(std::move(name))
{
}

QIcon ReplaceFillTool::icon() const
{
    return toolIcon(ToolGlyph::Fill);
}

QCursor ReplaceFillTool::cursor() const
{
    return toolCursor(ToolGlyph::Fill);
}

ToolOutline ReplaceFillTool::outline(QPoint cell) const
{
    // The region is only known once filled: the pressed cell, dashed.
    if (!m_session.levelShown() || cell.x() < 0 || cell.y() < 0)
        return {};
    return {QRect(cell, QSize(1, 1)), true};
}

void ReplaceFillTool::press(const GridEvent &event)
{
    if (event.button != Qt::RightButton || !event.onMap())
        return;
    m_session.setAnchorCell({std::uint16_t(event.cell.x()), std::uint16_t(event.cell.y())});
    const std::size_t cells = m_session.replaceFill(m_brush, event.cell.x(), event.cell.y(), event.modifiers.testFlag(Qt::ShiftModifier));
    if (m_countNote)
        m_countNote(cells);
}
