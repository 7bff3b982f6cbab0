// Selecting by terrain: a right click selects the clicked cell's region of its
// terrain type (the cells reached stepping up, down, left and right); with
// Shift, every cell of that type on the level. Copy takes the selection's
// bounding block; Fill selection writes the brush into its cells.
#pragma once

#include "ui/GridTool.h"

class DrawGrid;
class EditorSession;

// Shows the session's selection by terrain on the grid, or none.
void showRegionSelection(DrawGrid &grid, const EditorSession &session);

class SelectSameTool : public GridTool {
public:
    SelectSameTool(EditorSession &session, QString name);

    QString name() const override { return m_name; }
    QIcon icon() const override;
    QKeySequence key() const override { return Qt::Key_M; }
    QCursor cursor() const override;
    ToolOutline outline(QPoint) const override { return {}; }
    void press(const GridEvent &event) override;
    void move(const GridEvent &) override {}
    void release(const GridEvent &) override {}
    void cancel() override {}

private:
    EditorSession &m_session;
    QString m_name;
};
