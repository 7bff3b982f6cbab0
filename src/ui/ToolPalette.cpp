// The tool bar of the tools.
#include "ui/ToolPalette.h"

#include "ui/ToolBox.h"

#include <QAction>
#include <QActionGroup>
#include <QToolBar>

QToolBar *createToolPalette(ToolBox &tools, QWidget &keyScope, const QString &title, QWidget *parent)
{
    auto *bar = new QToolBar(title, parent);
    bar->setObjectName(QStringLiteral("toolPalette"));
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    auto *group = new QActionGroup(bar);
    for (const auto &tool : tools.tools()) {
        GridTool *listed = tool.get();
        QAction *action = bar->addAction(listed->icon(), listed->name());
        action->setObjectName(QStringLiteral("tool") + listed->key().toString());
        action->setCheckable(true);
        action->setChecked(listed == &tools.current());
        action->setShortcut(listed->key());
        action->setShortcutContext(Qt::WindowShortcut);
        action->setAutoRepeat(false);
        action->setToolTip(QStringLiteral("%1 (%2)").arg(listed->name(), listed->key().toString(QKeySequence::NativeText)));
        keyScope.addAction(action);
        group->addAction(action);
        QObject::connect(action, &QAction::triggered, &tools, [&tools, listed] { tools.choose(*listed); });
        QObject::connect(&tools, &ToolBox::currentChanged, action,
                         [action, listed](GridTool &current) { action->setChecked(&current == listed); });
    }
    return bar;
}
