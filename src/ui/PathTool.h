// The road and river tools of the right mouse button: a drag lays the layer's
// path along the cells the pointer passes, side-joined so the path never
// breaks, with its pieces chosen by the rules file; Shift+click draws a
// straight line from the last point, and Ctrl held erases. A drag from press
// to release is one step of undo.
#pragma once

#include "edit/BrushSettings.h"
#include "rules/PathRules.h"
#include "ui/GridTool.h"
#include "ui/ToolIcons.h"

#include <functional>

class EditorSession;

class PathTool : public GridTool {
public:
    // brush is the panel's brush, read at every press: its river or road type
    // and picture give what is laid.
    PathTool(EditorSession &session, PathLayer layer, const BrushSettings &brush, QString name, QKeySequence key);

    // Told when a press or drag laid a type that has no rules (once a drag),
    // for the window to say so.
    void setRulesMissingNote(std::function<void()> note) { m_rulesMissingNote = std::move(note); }

    // The type the tool lays: the panel's, or type 1 when the panel names none.
    std::uint8_t pathType() const;

    QString name() const override { return m_name; }
    QIcon icon() const override;
    QKeySequence key() const override { return m_key; }
    QCursor cursor() const override;
    ToolOutline outline(QPoint cell) const override;
    void press(const GridEvent &event) override;
    void move(const GridEvent &event) override;
    void release(const GridEvent &event) override;
    void cancel() override;

private:
    ToolGlyph glyph() const;
    // Lays (or erases) the straight line from one cell to another and makes
    // the second the last point.
    void lay(QPoint from, QPoint to, Qt::KeyboardModifiers modifiers);

    EditorSession &m_session;
    PathLayer m_layer;
    const BrushSettings &m_brush;
    QString m_name;
    QKeySequence m_key;
    std::function<void()> m_rulesMissingNote;
    QPoint m_last{-1, -1};    // the cell laid last, where Shift+click starts
    bool m_dragging = false;  // the right button went down here and the gesture goes on
    bool m_noted = false;     // the drag already told about missing rules
};
