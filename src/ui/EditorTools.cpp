// Making the palette's tools.
#include "ui/EditorTools.h"

#include "session/Settings.h"
#include "ui/PaintTool.h"
#include "ui/PathTool.h"
#include "ui/PickerTool.h"
#include "ui/ReplaceFillTool.h"
#include "ui/SelectSameTool.h"
#include "ui/ToolBox.h"
#include "ui/ToolIcons.h"

#include <tuple>

PickerTool &addEditorTools(ToolBox &tools, EditorSession &session, const BrushSettings &brush,
                           const InterfaceTexts &texts, const EditorToolHooks &hooks)
{
    tools.add(std::make_unique<PaintTool>(toolLook(texts.toolbrush, ToolGlyph::Brush, Qt::Key_B), session, brush));
    auto fill = std::make_unique<ReplaceFillTool>(toolLook(texts.toolfill, ToolGlyph::Fill, Qt::Key_F), session, brush);
    fill->setCountNote([note = hooks.note, &texts](std::size_t cells) { note(texts.counted(texts.msgfilled, cells)); });
    tools.add(std::move(fill));
    auto &picker = static_cast<PickerTool &>(
        tools.add(std::make_unique<PickerTool>(toolLook(texts.toolpicker, ToolGlyph::Picker, Qt::Key_I), hooks.pick, tools)));
    tools.setPicker(picker);
    auto same = std::make_unique<SelectSameTool>(toolLook(texts.toolselectsame, ToolGlyph::SelectSame, Qt::Key_M), session);
    same->setCountNote([note = hooks.note, &texts](std::size_t cells) { note(texts.counted(texts.msgselected, cells)); });
    tools.add(std::move(same));
    for (const auto &[layer, name, glyph, key] : {std::tuple{PathLayer::Road, texts.toolroad, ToolGlyph::Road, Qt::Key_R},
                                                  std::tuple{PathLayer::River, texts.toolriver, ToolGlyph::River, Qt::Key_W}}) {
        auto path = std::make_unique<PathTool>(toolLook(name, glyph, key), session, layer, brush);
        path->setRulesMissingNote([note = hooks.note, text = texts.msgnopathrules.arg(name)] { note(text); });
        tools.add(std::move(path));
    }
    return picker;
}
