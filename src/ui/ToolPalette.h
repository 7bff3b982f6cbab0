// The tool palette: a tool bar with a checkable button for each tool of a tool
// box (icon, name, and its key in the tip), the current tool checked. The keys
// are plain letters, so they work while the map grid has the focus and never
// take a letter typed elsewhere.
#pragma once

class QString;
class QToolBar;
class QWidget;
class ToolBox;

QToolBar *createToolPalette(ToolBox &tools, QWidget &keyScope, const QString &title, QWidget *parent);
