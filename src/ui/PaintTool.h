// The brush tool of the right mouse button: the panel's brush and fill as
// designed. A stroke from press to release is one step of undo; a fill is a
// step by itself, closed as soon as it has run, since a long fill's progress
// dialog may swallow the release.
#pragma once

#include "edit/BrushSettings.h"
#include "ui/GridTool.h"

class EditorSession;

class PaintTool : public GridTool {
public:
    PaintTool(EditorSession &session, PressRule &pressRule, QString name);

    // The brush to paint with, from the panel's controls; a new brush paints
    // again on the cell pressed last.
    const BrushSettings &brush() const { return m_brush; }
    void setBrush(const BrushSettings &brush);

    QString name() const override { return m_name; }
    ToolOutline outline(QPoint cell) const override;
    void press(const GridEvent &event) override;
    void move(const GridEvent &event) override;
    void release(const GridEvent &event) override;
    void cancel() override;

private:
    bool isFill() const { return m_brush.fillX || m_brush.fillY; }
    // Paints at a cell the press or a drag step reached, by the press rule.
    void paintCell(QPoint cell);

    EditorSession &m_session;
    PressRule &m_pressRule;
    QString m_name;
    BrushSettings m_brush;
    bool m_dragging = false;  // the right button went down here and the gesture goes on
};
