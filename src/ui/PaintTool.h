// The brush tool of the right mouse button: the panel's brush and fill as
// designed. A stroke from press to release is one step of undo; a fill is a
// step by itself, closed as soon as it has run, since a long fill's progress
// dialog may swallow the release. It follows the press rule: a press of any
// button on the cell pressed last paints nothing.
#pragma once

#include "edit/BrushSettings.h"
#include "ui/DragTool.h"

class PaintTool : public DragTool {
public:
    // Paints with the panel's brush, which the panel refreshes when one of its
    // controls changes.
    PaintTool(ToolLook look, EditorSession &session, const BrushSettings &brush);

    ToolOutline outline(QPoint cell) const override;
    void rearm() override { m_pressRule.rearm(); }

private:
    std::optional<StepKind> begins(const GridEvent &) override;
    void pressed(const GridEvent &event) override { paintCell(event.cell); }
    void dragged(const GridEvent &event) override { paintCell(event.cell); }
    void otherPress(const GridEvent &event) override;
    bool isFill() const { return m_brush.fillX || m_brush.fillY; }
    // Paints at a cell the press or a drag step reached, by the press rule.
    void paintCell(QPoint cell);

    PressRule m_pressRule;
    const BrushSettings &m_brush;
};
