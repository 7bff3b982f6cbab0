// The Edit menu's Transform submenu (flips and turns of the whole level, the
// selection or the copied cells, and mirroring one half of the level onto
// the other) and "Fix all roads and rivers"; each reports what it did as a
// status note.
#pragma once

#include <QRect>
#include <QString>

#include <functional>

class EditorContext;
class QMainWindow;
class QMenu;

// What the entries need of the window around them.
struct TransformMenuHooks {
    std::function<QRect()> selection;           // the selected rectangle, inclusive cell numbers
    std::function<void(const QString &)> note;  // shows a short message in the status bar
    std::function<void()> beforeCommand;        // ends the mouse gesture in progress
};

// Adds the entries to the Edit menu; the actions are the window's too, so
// their keys work wherever the focus is.
void addTransformMenu(QMenu *edit, QMainWindow &window, EditorContext &context, const TransformMenuHooks &hooks);
