// The picker's click.
#include "ui/PickerTool.h"

#include "ui/ToolBox.h"

PickerTool::PickerTool(ToolLook look, std::function<void(QPoint cell)> pick, ToolBox &tools)
    : GridTool(std::move(look))
    , m_pick(std::move(pick))
    , m_tools(tools)
{
}

void PickerTool::hold(bool held)
{
    if (held == m_held)
        return;
    m_held = held;
    if (held) {
        m_pickedWhileHeld = false;
    } else if (m_pickedWhileHeld) {
        m_pickedWhileHeld = false;
        handBack();
    }
}

ToolOutline PickerTool::outline(QPoint cell) const
{
    if (cell.x() < 0 || cell.y() < 0)
        return {};
    return {QRect(cell, QSize(1, 1)), false};
}

void PickerTool::press(const GridEvent &event)
{
    if (event.button != Qt::RightButton || !event.onMap())
        return;
    m_pick(event.cell);
    if (m_held)
        m_pickedWhileHeld = true;
    else
        handBack();
}

void PickerTool::pickAt(const GridEvent &event)
{
    if (event.onMap())
        m_pick(event.cell);
}

void PickerTool::handBack()
{
    if (&m_tools.current() == this)
        m_tools.choosePrevious();
}
