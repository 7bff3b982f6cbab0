// What the grid shows over its cells for the pointer and the clipboard: the
// current tool's outline at the cell under the pointer, kept up to date as
// the pointer, the view, the cells and the tool change, and where Paste would
// write. It tells which cell the pointer is over.
#pragma once

#include <QObject>
#include <QPoint>

#include <optional>

class DrawGrid;
class EditorSession;
class ToolBox;

class GridOutlines : public QObject {
    Q_OBJECT

public:
    GridOutlines(DrawGrid &grid, ToolBox &tools, EditorSession &session, QObject *parent = nullptr);

    // Shows anew what is under the pointer: after a scroll or an edit the cell
    // or its contents there may have changed.
    void refresh();
    // The current tool's outline at the cell under the pointer, as it is now.
    void showToolOutline();
    // Where Paste would write: the clipboard's block at the selection.
    void showPasteOutline();

Q_SIGNALS:
    // The pointer is over a cell of the grid, or (-1, -1) over none.
    void cellHovered(QPoint cell);

private:
    // The pointer is at a point of the grid's viewport, or has left it.
    void hoverAt(std::optional<QPoint> position);

    DrawGrid &m_grid;
    ToolBox &m_tools;
    EditorSession &m_session;
    std::optional<QPoint> m_hoverPoint;
    QPoint m_hoverCell{-1, -1};
};
