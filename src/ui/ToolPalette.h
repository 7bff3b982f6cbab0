// The tool palette: a tool bar with a checkable button for each tool of a tool
// box (icon, name, and its key in the tip), the current tool checked. The keys
// are plain letters that work wherever the focus is in the key scope's window,
// except in a box that takes typed text, which keeps its letters.
#pragma once

class QString;
class QToolBar;
class QWidget;
class ToolBox;

QToolBar *createToolPalette(ToolBox &tools, QWidget &keyScope, const QString &title, QWidget *parent);
