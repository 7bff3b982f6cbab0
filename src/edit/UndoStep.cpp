// Restoring one undo record.
#include "edit/UndoStep.h"

namespace {

// True when the record's cell exists in the map as it is now: the map may have
// been made smaller since the change, or have no level of the record's number.
bool recordInsideMap(const MapDocument &document, const UndoRecord &record)
{
    const bool levelExists = record.level == 0 || (record.level == 1 && document.hasUnderground);
    const TerrainLayer &layer = document.layer(record.level);
    return levelExists && record.column < layer.side() && record.row < layer.side()
        && record.column < document.mapSize && record.row < document.mapSize;
}

}  // namespace

UndoStep undoLast(MapDocument &document, UndoList &undoList)
{
    if (undoList.isEmpty())
        return {};
    const UndoRecord record = undoList.takeLast();
    if (!recordInsideMap(document, record))
        return {UndoStep::Outcome::Consumed, record.level, record.column, record.row};
    document.layer(record.level).at(record.row, record.column) = record.previous;
    return {UndoStep::Outcome::Restored, record.level, record.column, record.row};
}

int undoScrollPosition(int position, int first, int fullyVisible)
{
    if (position >= first && position <= first + fullyVisible)
        return first;
    return position > 10 ? position - 10 : 0;
}
