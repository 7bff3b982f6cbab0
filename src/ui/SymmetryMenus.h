// The Edit menu's Symmetry submenu: one checked mode, and Next symmetry to
// cycle through them; each reports the mode it set as a status note.
#pragma once

#include <QString>

#include <functional>

class DrawGrid;
class EditorContext;
class QMainWindow;
class QMenu;
struct InterfaceTexts;
enum class SymmetryMode;

// What the entries need of the window around them.
struct SymmetryMenuHooks {
    std::function<void(const QString &)> note;    // shows a short message in the status bar
    std::function<void()> beforeCommand;          // ends the mouse gesture in progress
    DrawGrid *grid = nullptr;                     // shows the mirror axes, when given
};

// Adds the submenu to the Edit menu; the actions are the window's too, so
// their keys work wherever the focus is.
void addSymmetryMenus(QMenu *edit, QMainWindow &window, EditorContext &context, const SymmetryMenuHooks &hooks);

// The mode's name in the interface's words.
QString symmetryModeText(const InterfaceTexts &texts, SymmetryMode mode);
