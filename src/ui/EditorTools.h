// The tools of the editor's palette, in the order it lists them: brush, fill
// any terrain, picker, select same, road and river.
#pragma once

#include <QPoint>
#include <QString>

#include <functional>

class EditorSession;
class PressRule;
class ToolBox;
struct BrushSettings;
struct InterfaceTexts;

struct EditorToolHooks {
    std::function<void(QPoint cell)> pick;        // the picker puts a cell into the panel
    std::function<void(const QString &)> note;    // a short message for the status bar
};

class PickerTool;

// Adds the tools to the box; returns the picker, whose key can be held.
PickerTool &addEditorTools(ToolBox &tools, EditorSession &session, PressRule &pressRule, const BrushSettings &brush,
                    const InterfaceTexts &texts, const EditorToolHooks &hooks);
