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
    PickerTool(std::function<void(QPoint cell)> pick, ToolBox &tools, QString name);

    // The picker's key went down (true) or up (false). Up after a pick made
    // while it was down hands the button back; a tap leaves the picker chosen
    // until its next pick.
    void hold(bool held);
    bool held() const { return m_held; }

    QString name() const override { return m_name; }
    QIcon icon() const override;
    QKeySequence key() const override { return Qt::Key_I; }
    QCursor cursor() const override;
    ToolOutline outline(QPoint cell) const override;
    void press(const GridEvent &event) override;
    void move(const GridEvent &) override {}
    void release(const GridEvent &) override {}
    void cancel() override {}

private:
    std::function<void(QPoint)> m_pick;
    // Makes the tool used before the picker current again, while the picker is.
    void handBack();

    ToolBox &m_tools;
    QString m_name;
    bool m_held = false;
    bool m_pickedWhileHeld = false;
};
