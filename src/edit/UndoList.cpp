// Chunk allocation of the undo list.
#include "edit/UndoList.h"

void UndoList::addChunk()
{
    m_chunks.push_back(std::make_unique_for_overwrite<UndoRecord[]>(ChunkRecords));
}

std::size_t UndoList::allocatedBytes() const
{
    return capacity() * sizeof(UndoRecord) + m_chunks.capacity() * sizeof(m_chunks.front());
}

void UndoList::releaseSpareChunks()
{
    const std::size_t used = (m_count + ChunkRecords - 1) / ChunkRecords;
    if (m_chunks.size() > used + 1)
        m_chunks.resize(used + 1);
}
