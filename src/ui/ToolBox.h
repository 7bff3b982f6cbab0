// The tools of the grid's right mouse button, in the order the palette lists
// them, and which one is current. Choosing another tool ends the gesture of
// the one before; the picker can hand the button back to the tool it took it
// from.
#pragma once

#include "ui/GridTool.h"

#include <QObject>

#include <memory>
#include <vector>

class ToolBox : public QObject {
    Q_OBJECT

public:
    // Adds a tool at the end of the list; the first one added is current.
    GridTool &add(std::unique_ptr<GridTool> tool);
    const std::vector<std::unique_ptr<GridTool>> &tools() const { return m_tools; }

    GridTool &current() const { return *m_current; }
    void choose(GridTool &tool);
    // Makes the tool used before the current one current again.
    void choosePrevious() { choose(*m_previous); }

Q_SIGNALS:
    void currentChanged(GridTool &tool);

private:
    std::vector<std::unique_ptr<GridTool>> m_tools;
    GridTool *m_current = nullptr;
    GridTool *m_previous = nullptr;
};
