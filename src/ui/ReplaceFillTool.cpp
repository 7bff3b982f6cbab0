// Fill any terrain from a right click.
#include "ui/ReplaceFillTool.h"

#include "session/EditorSession.h"

ReplaceFillTool::ReplaceFillTool(ToolLook look, EditorSession &session, const BrushSettings &brush)
    : GridTool(std::move(look))
    , m_session(session)
    , m_brush(brush)
{
    // Any change of the cells, the level or the map makes the region found stale.
    const auto stale = [this] { m_previewCell = {-1, -1}; m_preview.reset(); };
    m_staleOnChange = {QObject::connect(&session, &EditorSession::cellsChanged, stale),
                       QObject::connect(&session, &EditorSession::levelChanged, stale),
                       QObject::connect(&session, &EditorSession::mapOpened, stale),
                       QObject::connect(&session, &EditorSession::mapResized, stale)};
}

ReplaceFillTool::~ReplaceFillTool()
{
    for (const QMetaObject::Connection &connection : m_staleOnChange)
        QObject::disconnect(connection);
}

ToolOutline ReplaceFillTool::outline(QPoint cell) const
{
    if (!m_session.levelShown() || cell.x() < 0 || cell.y() < 0)
        return {};
    if (cell != m_previewCell) {
        m_previewCell = cell;
        auto region = RegionSelection::connectedRegionWithin(m_session.currentLayer(),
                                                             std::uint32_t(cell.x()), std::uint32_t(cell.y()),
                                                             PreviewCells);
        m_preview = region ? std::make_shared<const RegionSelection>(std::move(*region)) : nullptr;
    }
    // A region too large to find at once: the pressed cell, dashed.
    return {QRect(cell, QSize(1, 1)), true, m_preview};
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
