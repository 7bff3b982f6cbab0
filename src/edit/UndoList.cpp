// Chunk allocation and runs of records of the undo list.
#include "edit/UndoList.h"

#include <algorithm>

void UndoList::append(std::span<const UndoRecord> records)
{
    while (!records.empty()) {
        if (m_count == capacity())
            addChunk();
        const std::size_t offset = m_count % ChunkRecords;
        const std::size_t part = std::min(records.size(), ChunkRecords - offset);
        std::copy_n(records.begin(), part, &m_chunks[m_count / ChunkRecords][offset]);
        m_count += part;
        records = records.subspan(part);
    }
}

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
