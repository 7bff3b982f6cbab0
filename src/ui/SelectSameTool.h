// Selecting by terrain: a right click selects the clicked cell's region of its
// terrain type (the cells reached stepping up, down, left and right); Shift
// adds the region to the selection, Ctrl takes it out, and both together
// select every cell of that type on the level. Copy takes the selection's
// cells (Paste writes those only); Fill selection writes the brush into them.
#pragma once

#include "ui/GridTool.h"

#include <cstddef>
#include <functional>

class DrawGrid;
class EditorSession;

// Shows the session's selection by terrain on the grid, or none.
void showRegionSelection(DrawGrid &grid, const EditorSession &session);

class SelectSameTool : public GridTool {
public:
    SelectSameTool(ToolLook look, EditorSession &session);

    // Told how many cells a click filled or selected, for the window to say so.
    void setCountNote(std::function<void(std::size_t cells)> note) { m_countNote = std::move(note); }

    void press(const GridEvent &event) override;

private:
    EditorSession &m_session;
    std::function<void(std::size_t)> m_countNote;
};
