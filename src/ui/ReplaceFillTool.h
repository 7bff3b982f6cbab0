// The fill that replaces any terrain: a right click turns the region of the
// clicked cell's terrain type into the panel's terrain, whatever the two
// types' picture counts; with Shift, every cell of that type on the level.
// While the pointer rests on a cell, the region a click would fill is
// outlined, unless it is too large to find at once.
#pragma once

#include "edit/BrushSettings.h"
#include "ui/GridTool.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

#include <QMetaObject>

class EditorSession;

class ReplaceFillTool : public GridTool {
public:
    ReplaceFillTool(ToolLook look, EditorSession &session, const BrushSettings &brush);
    ~ReplaceFillTool() override;

    // The largest region outlined before a click: a larger one shows the
    // pressed cell alone, so that moving the pointer never stalls.
    static constexpr std::size_t PreviewCells = 1 << 18;

    // Told how many cells a click filled or selected, for the window to say so.
    void setCountNote(std::function<void(std::size_t cells)> note) { m_countNote = std::move(note); }

    ToolOutline outline(QPoint cell) const override;
    void press(const GridEvent &event) override;

private:
    EditorSession &m_session;
    const BrushSettings &m_brush;
    std::function<void(std::size_t)> m_countNote;
    // The region found for the cell last outlined, until the cells change.
    mutable QPoint m_previewCell{-1, -1};
    mutable std::shared_ptr<const RegionSelection> m_preview;
    std::vector<QMetaObject::Connection> m_staleOnChange;
};
