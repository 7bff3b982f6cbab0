// The main window's menus and keys: File, Edit, View and Help, each action
// running a command of the designed window or of one of its parts (the
// document controller, the brush panel, the level lists).
#pragma once

#include <QObject>
#include <QString>

class EditorContext;
class Preferences;
class QAction;
class QMainWindow;
class QMenu;
class TForm1;

class EditorActions : public QObject {
    Q_OBJECT

public:
    // Builds the menus of the window's menu bar around the designed form.
    EditorActions(QMainWindow &window, TForm1 &form, EditorContext &context, Preferences &preferences);

    QAction *action(const QString &objectName) const;
    // The View menu, where the window adds its docks' toggles.
    QMenu *viewMenu() const { return m_viewMenu; }
    // The page of every mouse gesture and key.
    QString mouseAndKeysText() const;
    // The edge rules were read (or refused): the edge brush is available, and
    // on as the user left it, only with rules.
    void useEdgeRules();

Q_SIGNALS:
    // A recent map chosen from the menu.
    void recentFileChosen(const QString &fileName);
    // A short message for the status bar.
    void note(const QString &text);
    // Zoom in (+1), out (-1) or back to the actual size (0).
    void zoomRequested(int direction);
    void exportPictureRequested();

private:
    QAction *add(QMenu *menu, const char *objectName, const QString &text, const QList<QKeySequence> &keys = {});
    void fillRecentMenu();
    // Enables what can be done with the map as it is.
    void updateEnabled();

    QMainWindow &m_window;
    TForm1 &m_form;
    EditorContext &m_context;
    Preferences &m_preferences;
    QMenu *m_recentMenu = nullptr;
    QMenu *m_viewMenu = nullptr;
};
