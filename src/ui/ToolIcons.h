// The pictures of the grid's tools, drawn here rather than loaded, so that
// they need no files and scale with the screen: one glyph per tool.
#pragma once

#include "ui/GridTool.h"

#include <QCursor>
#include <QIcon>

enum class ToolGlyph { Brush, Fill, Picker, SelectSame, Road, River };

QIcon toolIcon(ToolGlyph glyph);
// The tool's picture as the pointer over the grid, its hot spot at the point it acts.
QCursor toolCursor(ToolGlyph glyph);
// How a tool of the palette shows: its name, its glyph as icon and pointer, and its key.
ToolLook toolLook(const QString &name, ToolGlyph glyph, Qt::Key key);
