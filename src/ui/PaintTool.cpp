// The brush tool: strokes and fills with the panel's brush.
#include "ui/PaintTool.h"

#include "session/EditorSession.h"
#include "ui/ToolIcons.h"

PaintTool::PaintTool(EditorSession &session, PressRule &pressRule, const BrushSettings &brush, QString name)
    : m_session(session)
    , m_pressRule(pressRule)
    , m_brush(brush)
    , m_name(std::move(name))
{
}

QIcon PaintTool::icon() const
{
    return toolIcon(ToolGlyph::Brush);
}

QCursor PaintTool::cursor() const
{
    return toolCursor(ToolGlyph::Brush);
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

void PaintTool::press(const GridEvent &event)
{
    if (event.button != Qt::RightButton)
        return;
    cancel();
    m_dragging = true;
    m_session.beginStep(isFill() ? StepKind::Fill : StepKind::Stroke);
    paintCell(event.cell);
}

void PaintTool::move(const GridEvent &event)
{
    if (m_dragging && event.buttons.testFlag(Qt::RightButton))
        paintCell(event.cell);
}

void PaintTool::release(const GridEvent &event)
{
    if (event.button == Qt::RightButton)
        cancel();
}

void PaintTool::cancel()
{
    if (!m_dragging)
        return;
    m_dragging = false;
    m_session.endStep();
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
