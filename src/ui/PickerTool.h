// The picker: a right click takes the clicked cell's terrain type and picture,
// river, road and mirror bits into the panel's controls, and the palette then
// returns to the tool used before.
#pragma once

#include "ui/GridTool.h"

#include <functional>

class PickerTool : public GridTool {
public:
    // pick(cell) puts the cell into the panel and returns to the previous tool.
    PickerTool(std::function<void(QPoint cell)> pick, QString name);

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
    QString m_name;
};
