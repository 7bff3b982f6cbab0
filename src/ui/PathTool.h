// The road and river tools of the right mouse button: a drag lays the layer's
// path along the cells the pointer passes, side-joined so the path never
// breaks, with its pieces chosen by the rules file; Shift+click draws a
// straight line from the last point, and Ctrl held erases. A drag from press
// to release is one step of undo.
#pragma once

#include "edit/BrushSettings.h"
#include "rules/PathRules.h"
#include "ui/DragTool.h"

#include <functional>

class PathTool : public DragTool {
public:
    // brush is the panel's brush, read at every press: its river or road type
    // and picture give what is laid.
    PathTool(ToolLook look, EditorSession &session, PathLayer layer, const BrushSettings &brush);

    // Told when a press or drag laid a type that has no rules (once a drag),
    // for the window to say so.
    void setRulesMissingNote(std::function<void()> note) { m_rulesMissingNote = std::move(note); }

    // The type the tool lays: the panel's, or type 1 when the panel names none.
    std::uint8_t pathType() const;

    ToolOutline outline(QPoint cell) const override;

private:
    std::optional<StepKind> begins(const GridEvent &event) override;
    void pressed(const GridEvent &event) override;
    void dragged(const GridEvent &event) override;
    // Lays (or erases) the straight line from one cell to another and makes
    // the second the last point.
    void lay(QPoint from, QPoint to, Qt::KeyboardModifiers modifiers);

    PathLayer m_layer;
    const BrushSettings &m_brush;
    std::function<void()> m_rulesMissingNote;
    QPoint m_lineStart{-1, -1};  // the session's last point at the press, where Shift+click starts
    QPoint m_last{-1, -1};       // the cell laid last
    bool m_noted = false;        // the drag already told about missing rules
};
