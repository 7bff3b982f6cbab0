// The list of tools and the current one.
#include "ui/ToolBox.h"

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
