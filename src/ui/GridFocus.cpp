// Giving the focus back to the grid.
#include "ui/GridFocus.h"

#include "ui/DrawGrid.h"
#include "ui/ToolKeys.h"

#include <QEvent>
#include <QTimer>

GridFocus::GridFocus(DrawGrid &grid)
    : QObject(&grid)
    , m_grid(grid)
{
}

void GridFocus::returnAfterClicks(QWidget &widget)
{
    widget.installEventFilter(this);
    for (QWidget *child : widget.findChildren<QWidget *>())
        child->installEventFilter(this);
}

void GridFocus::take()
{
    if (m_grid.isVisible() && m_grid.isEnabled())
        m_grid.setFocus(Qt::OtherFocusReason);
}

bool GridFocus::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease && !ToolKeys::takesText(qobject_cast<QWidget *>(watched))) {
        // After the click has done its work (a button's command may open a
        // map, or a dialog that takes the focus for a while).
        QTimer::singleShot(0, this, [this] {
            if (!ToolKeys::takesText(m_grid.window()->focusWidget()))
                take();
        });
    }
    return QObject::eventFilter(watched, event);
}
