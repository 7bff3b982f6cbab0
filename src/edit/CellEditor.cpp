// The editability test of the open map.
#include "edit/CellEditor.h"

#include <utility>

CellEditor::CellEditor(MapDocument &document, UndoList &undoList, CellChanged cellChanged)
    : m_document(document)
    , m_undoList(undoList)
    , m_cellChanged(std::move(cellChanged))
{
}

bool CellEditor::canEdit(const MapDocument &document)
{
    // The current layer stays on ground when level 1 of a one-level map is
    // chosen; editing it then would write to a level the user does not see.
    return document.isLoaded
        && document.currentLevel == document.currentLayerLevel()
        && document.currentLayer().side() == document.mapSize;
}
