// The picker's click.
#include "ui/PickerTool.h"

#include "ui/ToolIcons.h"

PickerTool::PickerTool(std::function<void(QPoint cell)> pick, QString name)
    : m_pick(std::move(pick))
    , m_name(std::move(name))
{
}

QIcon PickerTool::icon() const
{
    return toolIcon(ToolGlyph::Picker);
}

QCursor PickerTool::cursor() const
{
    return toolCursor(ToolGlyph::Picker);
}

ToolOutline PickerTool::outline(QPoint cell) const
{
    if (cell.x() < 0 || cell.y() < 0)
        return {};
    return {QRect(cell, QSize(1, 1)), false};
}

void PickerTool::press(const GridEvent &event)
{
    if (event.button == Qt::RightButton && event.onMap())
        m_pick(event.cell);
}
