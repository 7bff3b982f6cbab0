// A dock's shown state as a view preference.
#include "ui/DockMemory.h"

#include "session/Preferences.h"

#include <QAction>
#include <QDockWidget>
#include <QEvent>

namespace {

// Sees the dock's own close button: a close event the dock accepts.
class CloseWatch : public QObject {
public:
    CloseWatch(QDockWidget &dock, Preferences &preferences, const QString &key)
        : QObject(&dock)
        , m_preferences(preferences)
        , m_key(key)
    {
        dock.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // Filters see the event before the dock does; the dock accepts its
        // close unless it is not closable, which its button then is not either.
        if (event->type() == QEvent::Close)
            if (const auto *dock = qobject_cast<QDockWidget *>(watched);
                dock && dock->features().testFlag(QDockWidget::DockWidgetClosable))
                m_preferences.setViewToggle(m_key, false);
        return QObject::eventFilter(watched, event);
    }

private:
    Preferences &m_preferences;
    const QString m_key;
};

}  // namespace

void rememberDockShown(QDockWidget &dock, Preferences &preferences, const QString &key)
{
    QObject::connect(dock.toggleViewAction(), &QAction::triggered, &dock,
                     [&preferences, key](bool on) { preferences.setViewToggle(key, on); });
    new CloseWatch(dock, preferences, key);
}
