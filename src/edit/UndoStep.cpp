// Restoring one undo record.
#include "edit/UndoStep.h"

UndoStep undoLast(MapDocument &document, UndoList &undoList)
{
    if (undoList.isEmpty())
        return {};
    const UndoRecord record = undoList.takeLast();
    // The map may have been made smaller since the change; a level the map does
    // not have cannot be written either.
    const bool levelExists = record.level == 0 || (record.level == 1 && document.hasUnderground);
    TerrainLayer &layer = document.layer(record.level);
    if (!levelExists || record.column >= layer.side() || record.row >= layer.side()
        || record.column >= document.mapSize || record.row >= document.mapSize)
        return {UndoStep::Outcome::Consumed, record.level, record.column, record.row};
    layer.at(record.row, record.column) = record.previous;
    return {UndoStep::Outcome::Restored, record.level, record.column, record.row};
}

int undoScrollPosition(int position, int first, int fullyVisible)
{
    if (position >= first && position <= first + fullyVisible)
        return first;
    return position > 10 ? position - 10 : 0;
}
