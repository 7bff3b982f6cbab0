// The picker: a right click takes the clicked cell's terrain type and picture,
// river, road and mirror bits into the panel's controls, and the palette then
// returns to the tool used before. While its key is held down, every right
// click picks and the picker stays; letting the key go hands the button back.
#pragma once

#include "ui/GridTool.h"

#include <functional>

class ToolBox;

class PickerTool : public GridTool {
public:
    // pick(cell) puts the cell into the panel; the picker hands the button
    // back to the tool of the box chosen before it.
    PickerTool(ToolLook look, std::function<void(QPoint cell)> pick, ToolBox &tools);

    // The picker's key went down (true) or up (false). Up after a pick made
    // while it was down hands the button back; a tap leaves the picker chosen
    // until its next pick.
    void hold(bool held);
    bool held() const { return m_held; }

    ToolOutline outline(QPoint cell) const override;
    void press(const GridEvent &event) override;
    // Alt with a right click: picks the cell whatever tool is current, and
    // leaves the current tool as it is.
    void pickAt(const GridEvent &event);

private:
    std::function<void(QPoint)> m_pick;
    // Makes the tool used before the picker current again, while the picker is.
    void handBack();

    ToolBox &m_tools;
    bool m_held = false;
    bool m_pickedWhileHeld = false;
};
