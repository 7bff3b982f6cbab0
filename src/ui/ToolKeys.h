// The keys of the grid's tools beyond their letters: holding the picker's key
// picks with a right click whatever the tool, and letting it go hands the
// button back to that tool; Escape ends the gesture in progress and leaves the
// picker for the tool before it. Letters typed into a box that takes text stay
// there.
#pragma once

#include <QObject>

#include <functional>

class PickerTool;
class QAction;
class QWidget;
class ToolBox;

class ToolKeys : public QObject {
    Q_OBJECT

public:
    // window: where the keys work; endGesture ends the mouse gesture in
    // progress as a release would; escapeText names Escape's action.
    ToolKeys(QWidget &window, ToolBox &tools, PickerTool &picker, std::function<void()> endGesture,
             const QString &escapeText);

    QAction *escapeAction() const { return m_escape; }

    // Whether a widget takes typed letters as text (a line, a text area, a
    // number box), so that the tools' keys are not for it.
    static bool takesText(const QWidget *widget);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void escape();

    QWidget &m_window;
    ToolBox &m_tools;
    PickerTool &m_picker;
    std::function<void()> m_endGesture;
    QAction *m_escape = nullptr;
};
