// The base of the tools whose gesture is a drag of the right mouse button
// that makes one step of undo: the press opens the step, the release (or the
// gesture cut short) closes it, and every move with the button held between
// them acts again.
#pragma once

#include "session/EditStep.h"
#include "ui/GridTool.h"

#include <optional>

class EditorSession;

class DragTool : public GridTool {
public:
    void press(const GridEvent &event) final;
    void move(const GridEvent &event) final;
    void release(const GridEvent &event) final;
    void cancel() final;

protected:
    DragTool(ToolLook look, EditorSession &session);

    // The step a press of the right button opens, or none when it starts no drag.
    virtual std::optional<StepKind> begins(const GridEvent &event) = 0;
    // The press that opened the step, and each move of the drag after it.
    virtual void pressed(const GridEvent &event) = 0;
    virtual void dragged(const GridEvent &event) = 0;
    // A press of another button, which the tool does not use.
    virtual void otherPress(const GridEvent &) {}

    EditorSession &m_session;

private:
    bool m_dragging = false;  // the right button went down here and the gesture goes on
};
