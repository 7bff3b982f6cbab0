// Making the palette's tools.
#include "ui/EditorTools.h"

#include "session/Settings.h"
#include "ui/PaintTool.h"
#include "ui/PathTool.h"
#include "ui/PickerTool.h"
#include "ui/ReplaceFillTool.h"
#include "ui/SelectSameTool.h"
#include "ui/ToolBox.h"

#include <tuple>

PickerTool &addEditorTools(ToolBox &tools, EditorSession &session, PressRule &pressRule, const BrushSettings &brush,
                           const InterfaceTexts &texts, const EditorToolHooks &hooks)
{
    tools.add(std::make_unique<PaintTool>(session, pressRule, brush, texts.toolbrush));
    auto fill = std::make_unique<ReplaceFillTool>(session, brush, texts.toolfill);
    fill->setCountNote([note = hooks.note, &texts](std::size_t cells) { note(texts.counted(texts.msgfilled, cells)); });
    tools.add(std::move(fill));
    auto &picker = static_cast<PickerTool &>(tools.add(std::make_unique<PickerTool>(hooks.pick, tools, texts.toolpicker)));
    auto same = std::make_unique<SelectSameTool>(session, texts.toolselectsame);
    same->setCountNote([note = hooks.note, &texts](std::size_t cells) { note(texts.counted(texts.msgselected, cells)); });
    tools.add(std::move(same));
    for (const auto &[layer, name, key] : {std::tuple{PathLayer::Road, texts.toolroad, Qt::Key_R},
                                           std::tuple{PathLayer::River, texts.toolriver, Qt::Key_W}}) {
        auto path = std::make_unique<PathTool>(session, layer, brush, name, QKeySequence(key));
        path->setRulesMissingNote([note = hooks.note, text = texts.msgnopathrules.arg(name)] { note(text); });
        tools.add(std::move(path));
    }
    return picker;
}
