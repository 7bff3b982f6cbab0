// Chunk allocation and runs of records of the history's record list.
#include "edit/UndoList.h"

#include <algorithm>
#include <utility>

void UndoList::append(std::span<const UndoRecord> records)
{
    if (records.empty())
        return;
    while (!records.empty()) {
        if (m_count == capacity())
            addChunk();
        const std::size_t offset = m_count % ChunkRecords;
        const std::size_t part = std::min(records.size(), ChunkRecords - offset);
        std::copy_n(records.begin(), part, &m_chunks[m_count / ChunkRecords][offset]);
        m_count += part;
        records = records.subspan(part);
    }
    m_held = m_count;
}

void UndoList::reserve(std::size_t records)
{
    if (records > capacity())
        addChunks((records - capacity() + ChunkRecords - 1) / ChunkRecords);
}

void UndoList::addChunks(std::size_t count)
{
    // A block in huge pages is rounded up to whole pages: the chunks that
    // fit in the rounding are added too, for the records that come next.
    count = std::max(count, largeAllocationSize(count * ChunkRecords * sizeof(UndoRecord)) / (ChunkRecords * sizeof(UndoRecord)));
    // Room in the tables first, so that nothing can fail once the block is held.
    m_chunks.reserve(m_chunks.size() + count);
    m_blocks.reserve(m_blocks.size() + 1);
    LargeArray<UndoRecord> records = allocateLargeArray<UndoRecord>(count * ChunkRecords);
    for (std::size_t i = 0; i < count; ++i)
        m_chunks.push_back(&records[i * ChunkRecords]);
    m_blocks.push_back({std::move(records), m_chunks.size() - count});
}

std::size_t UndoList::allocatedBytes() const
{
    return capacity() * sizeof(UndoRecord) + m_chunks.capacity() * sizeof(m_chunks.front())
        + m_blocks.capacity() * sizeof(m_blocks.front());
}

void UndoList::releaseSpareChunks()
{
    const std::size_t kept = (m_held + ChunkRecords - 1) / ChunkRecords + 1;
    while (!m_blocks.empty() && m_blocks.back().firstChunk >= kept) {
        m_chunks.resize(m_blocks.back().firstChunk);
        m_blocks.pop_back();
    }
}
