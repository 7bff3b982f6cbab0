// The list of tools, the current one, and the routing of the grid's events.
#include "ui/ToolBox.h"

#include "ui/PickerTool.h"

GridTool &ToolBox::add(std::unique_ptr<GridTool> tool)
{
    GridTool &added = *m_tools.emplace_back(std::move(tool));
    if (!m_current)
        m_current = m_previous = &added;
    return added;
}

void ToolBox::choose(GridTool &tool)
{
    if (&tool == m_current)
        return;
    m_current->cancel();
    m_previous = m_current;
    m_current = &tool;
    Q_EMIT currentChanged(tool);
}

template <typename Call>
void ToolBox::toBoth(Call call)
{
    call(*m_current);
    if (m_selectTool)
        call(*m_selectTool);
}

void ToolBox::press(const GridEvent &event)
{
    if (m_picker && event.button == Qt::RightButton && event.modifiers.testFlag(Qt::AltModifier)) {
        m_picker->pickAt(event);
        return;
    }
    toBoth([&event](GridTool &tool) { tool.press(event); });
}

void ToolBox::move(const GridEvent &event)
{
    toBoth([&event](GridTool &tool) { tool.move(event); });
}

void ToolBox::release(const GridEvent &event)
{
    toBoth([&event](GridTool &tool) { tool.release(event); });
}

void ToolBox::cancel()
{
    toBoth([](GridTool &tool) { tool.cancel(); });
}

void ToolBox::rearm()
{
    if (m_selectTool)
        m_selectTool->rearm();
    for (const auto &tool : m_tools)
        tool->rearm();
}
