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
    // Paints with the panel's brush, which the panel refreshes when one of its
    // controls changes.
    PaintTool(EditorSession &session, PressRule &pressRule, const BrushSettings &brush, QString name);

    QString name() const override { return m_name; }
    QIcon icon() const override;
    QKeySequence key() const override { return Qt::Key_B; }
    QCursor cursor() const override;
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
    const BrushSettings &m_brush;
    QString m_name;
    bool m_dragging = false;  // the right button went down here and the gesture goes on
};
