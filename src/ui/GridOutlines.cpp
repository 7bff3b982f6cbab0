// The outlines of the tool under the pointer and of Paste.
#include "ui/GridOutlines.h"

#include "session/EditorSession.h"
#include "ui/DrawGrid.h"
#include "ui/ToolBox.h"

GridOutlines::GridOutlines(DrawGrid &grid, ToolBox &tools, EditorSession &session, QObject *parent)
    : QObject(parent)
    , m_grid(grid)
    , m_tools(tools)
    , m_session(session)
{
    // After the tools have had the event.
    connect(&grid, &DrawGrid::mouseMoved, this, [this](const GridEvent &, QPoint position) { hoverAt(position); });
    connect(&grid, &DrawGrid::mouseReleased, this, &GridOutlines::refresh);
    connect(&grid, &DrawGrid::pointerLeft, this, [this] { hoverAt(std::nullopt); });
    connect(&grid, &DrawGrid::viewChanged, this, &GridOutlines::refresh);
    connect(&grid, &DrawGrid::selectionChanged, this, &GridOutlines::showPasteOutline);
    connect(&session, &EditorSession::cellsChanged, this, &GridOutlines::refresh);
    connect(&tools, &ToolBox::currentChanged, this, &GridOutlines::showToolOutline);
}

void GridOutlines::hoverAt(std::optional<QPoint> position)
{
    m_hoverPoint = position;
    refresh();
}

void GridOutlines::refresh()
{
    const QPoint cell = m_hoverPoint ? m_grid.cellAt(*m_hoverPoint) : QPoint(-1, -1);
    m_hoverCell = cell;
    showToolOutline();
    Q_EMIT cellHovered(cell);
}

void GridOutlines::showToolOutline()
{
    const ToolOutline outline = m_tools.current().outline(m_hoverCell);
    m_grid.setOutline(DrawGrid::Outline::Brush, outline.dashed ? QRect() : outline.cells);
    // The cells a fill would reach, when known, else the pressed cell dashed.
    m_grid.setOutline(DrawGrid::Outline::Fill, outline.dashed && !outline.region ? outline.cells : QRect());
    m_grid.setFillPreview(outline.region);
}

void GridOutlines::showPasteOutline()
{
    const CellClipboard &clipboard = m_session.clipboard();
    if (!m_session.document().isLoaded || clipboard.isEmpty()) {
        m_grid.setOutline(DrawGrid::Outline::Paste, {});
        return;
    }
    const int side = int(m_session.document().mapSize);
    const GridRect s = m_grid.selection();
    m_grid.setOutline(DrawGrid::Outline::Paste,
                      QRect(s.left, s.top, clipboard.width(), clipboard.height()).intersected(QRect(0, 0, side, side)));
}
