// A menu entry that runs a command on the map: an action of the window, so
// its key works wherever the focus is, that ends the mouse gesture in
// progress before the command runs.
#pragma once

#include <QKeySequence>
#include <QString>

#include <functional>

class QAction;
class QMainWindow;
class QMenu;

// Adds the action to the menu and the window; beforeCommand (when given)
// runs first, then run.
QAction *addMenuCommand(QMenu *menu, QMainWindow &window, const QString &objectName, const QString &text,
                        const std::function<void()> &beforeCommand, std::function<void()> run,
                        const QKeySequence &key = {});
