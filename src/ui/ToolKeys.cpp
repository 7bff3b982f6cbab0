// The picker's held key and Escape.
#include "ui/ToolKeys.h"

#include "ui/PickerTool.h"
#include "ui/ToolBox.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>

ToolKeys::ToolKeys(QWidget &window, ToolBox &tools, PickerTool &picker, std::function<void()> endGesture,
                   const QString &escapeText)
    : QObject(&window)
    , m_window(window)
    , m_tools(tools)
    , m_picker(picker)
    , m_endGesture(std::move(endGesture))
{
    m_escape = new QAction(escapeText, &window);
    m_escape->setObjectName(QStringLiteral("actionEscape"));
    m_escape->setShortcut(Qt::Key_Escape);
    m_escape->setShortcutContext(Qt::WindowShortcut);
    window.addAction(m_escape);
    connect(m_escape, &QAction::triggered, this, &ToolKeys::escape);
    // The key's press and release reach whichever widget of the window has
    // the focus; the application sees them all first.
    qApp->installEventFilter(this);
}

bool ToolKeys::takesText(const QWidget *widget)
{
    if (widget == nullptr)
        return false;
    if (const auto *line = qobject_cast<const QLineEdit *>(widget))
        return !line->isReadOnly();
    if (const auto *text = qobject_cast<const QTextEdit *>(widget))
        return !text->isReadOnly();
    if (const auto *plain = qobject_cast<const QPlainTextEdit *>(widget))
        return !plain->isReadOnly();
    return qobject_cast<const QAbstractSpinBox *>(widget) != nullptr;
}

bool ToolKeys::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        auto *widget = qobject_cast<QWidget *>(watched);
        const auto *key = static_cast<QKeyEvent *>(event);
        if (widget == nullptr || widget->window() != &m_window || key->isAutoRepeat()
            || key->key() != m_picker.key()[0].key() || takesText(widget))
            break;
        // The press chooses the picker through its shortcut; the release hands
        // the button back when the picker picked meanwhile.
        if (event->type() == QEvent::KeyRelease)
            m_picker.hold(false);
        else if (key->modifiers() == Qt::NoModifier)
            m_picker.hold(true);
        break;
    }
    case QEvent::WindowDeactivate:
        // A release the window never sees must not leave the key held.
        if (watched == &m_window)
            m_picker.hold(false);
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void ToolKeys::escape()
{
    m_endGesture();
    if (&m_tools.current() == &m_picker) {
        m_picker.hold(false);
        m_tools.choosePrevious();
    }
}
