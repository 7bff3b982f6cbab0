// The tools of the editor's palette, in the order it lists them: brush, fill
// any terrain, picker, select same, road and river, each with its name, icon,
// key and pointer.
#pragma once

#include <QPoint>
#include <QString>

#include <functional>

class EditorSession;
class PickerTool;
class ToolBox;
struct BrushSettings;
struct InterfaceTexts;

struct EditorToolHooks {
    std::function<void(QPoint cell)> pick;        // the picker puts a cell into the panel
    std::function<void(const QString &)> note;    // a short message for the status bar
};

// Adds the tools to the box and makes the picker the one Alt with a right
// click reaches; returns the picker, whose key can be held.
PickerTool &addEditorTools(ToolBox &tools, EditorSession &session, const BrushSettings &brush,
                           const InterfaceTexts &texts, const EditorToolHooks &hooks);
