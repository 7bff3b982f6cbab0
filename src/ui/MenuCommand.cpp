// Menu entries that end the gesture in progress before their command.
#include "ui/MenuCommand.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>

#include <utility>

QAction *addMenuCommand(QMenu *menu, QMainWindow &window, const QString &objectName, const QString &text,
                        const std::function<void()> &beforeCommand, std::function<void()> run, const QKeySequence &key)
{
    auto *action = new QAction(text, &window);
    action->setObjectName(objectName);
    action->setShortcut(key);
    action->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(action, &QAction::triggered, &window, [beforeCommand, run = std::move(run)] {
        if (beforeCommand)
            beforeCommand();
        run();
    });
    menu->addAction(action);
    window.addAction(action);
    return action;
}
