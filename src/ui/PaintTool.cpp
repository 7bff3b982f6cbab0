// The brush tool: strokes and fills with the panel's brush.
#include "ui/PaintTool.h"

#include "session/EditorSession.h"

PaintTool::PaintTool(ToolLook look, EditorSession &session, const BrushSettings &brush)
    : DragTool(std::move(look), session)
    , m_brush(brush)
{
}

ToolOutline PaintTool::outline(QPoint cell) const
{
    const MapDocument &document = m_session.document();
    if (!document.isLoaded || cell.x() < 0 || cell.y() < 0)
        return {};
    // A fill is marked at the pressed cell, stretched along the axis it does not fill.
    const int side = int(document.mapSize);
    const QRect area(cell, QSize(m_brush.fillX ? 1 : m_brush.brushWidth, m_brush.fillY ? 1 : m_brush.brushHeight));
    return {area.intersected(QRect(0, 0, side, side)), isFill()};
}

std::optional<StepKind> PaintTool::begins(const GridEvent &)
{
    return isFill() ? StepKind::Fill : StepKind::Stroke;
}

void PaintTool::otherPress(const GridEvent &event)
{
    // A left press on a cell, then a right press on it, paints nothing.
    if (event.onMap())
        m_pressRule.take(event.cell);
}

void PaintTool::paintCell(QPoint cell)
{
    if (cell.x() < 0 || cell.y() < 0 || !m_pressRule.take(cell))
        return;
    m_session.setAnchorCell({std::uint16_t(cell.x()), std::uint16_t(cell.y())});
    m_session.paint(m_brush, cell.x(), cell.y());
    if (isFill()) {
        // Each fill is a step of its own, closed at once; a drag goes on
        // filling from each new cell it reaches.
        m_session.endStep();
        m_session.beginStep(StepKind::Fill);
    }
}
