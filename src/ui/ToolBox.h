// The tools of the grid, and where the grid's mouse events go. The palette
// lists the tools of the right mouse button, one of them current; choosing
// another ends the gesture of the one before, and the picker can hand the
// button back to the tool it took it from. The select tool of the left button
// is always there. Every event reaches the select tool and the current tool,
// whatever the button, and each acts on the buttons it uses; Alt with a right
// click goes to the picker instead, which picks and leaves the current tool be.
#pragma once

#include "ui/GridTool.h"

#include <QObject>

#include <memory>
#include <vector>

class PickerTool;

class ToolBox : public QObject {
    Q_OBJECT

public:
    // Adds a tool at the end of the list; the first one added is current.
    GridTool &add(std::unique_ptr<GridTool> tool);
    const std::vector<std::unique_ptr<GridTool>> &tools() const { return m_tools; }

    GridTool &current() const { return *m_current; }
    void choose(GridTool &tool);
    // Makes the tool used before the current one current again.
    void choosePrevious() { choose(*m_previous); }

    // The tool of the left button, which is never chosen, and the picker
    // that Alt with a right click reaches; both stay the caller's.
    void setSelectTool(GridTool &tool) { m_selectTool = &tool; }
    void setPicker(PickerTool &picker) { m_picker = &picker; }

    void press(const GridEvent &event);
    void move(const GridEvent &event);
    void release(const GridEvent &event);
    // Ends the gesture in progress, if any, as a release would.
    void cancel();
    // A press on the cell pressed last counts again, for every tool.
    void rearm();

Q_SIGNALS:
    void currentChanged(GridTool &tool);

private:
    template <typename Call> void toBoth(Call call);

    std::vector<std::unique_ptr<GridTool>> m_tools;
    GridTool *m_current = nullptr;
    GridTool *m_previous = nullptr;
    GridTool *m_selectTool = nullptr;
    PickerTool *m_picker = nullptr;
};
