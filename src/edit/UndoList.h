// The records of the open map's edit history, oldest first: those that can be
// taken back, then those that were taken back and can be put back.
#pragma once

#include "base/LargeMemory.h"
#include "edit/UndoRecord.h"

#include <algorithm>
#include <cstddef>
#include <span>
#include <vector>

// Records live in fixed-size chunks, so appending never moves the records
// already held (a fill of a whole large map appends millions of them) and the
// memory per record stays close to its 12 bytes. Emptying the list keeps the
// chunks for the next map. Chunks come one at a time as records are appended,
// or many in one block when an operation reserves room for its records.
//
// The first count() records are the undo records. Taking records back
// (retreat) leaves them where they are, behind count(), for putting back
// (advance): an undo or redo moves no record and allocates nothing. Appending
// a record is a new edit and forgets every record behind count().
class UndoList {
public:
    static constexpr std::size_t ChunkRecords = 8192;

    // The number of records held: the undo count shown on the undo button and
    // the document's unsaved-edits state.
    std::size_t count() const { return m_count; }
    bool isEmpty() const { return m_count == 0; }

    void append(const UndoRecord &record)
    {
        if (m_count == m_chunks.size() * ChunkRecords)
            addChunk();
        m_chunks[m_count / ChunkRecords][m_count % ChunkRecords] = record;
        m_held = ++m_count;
    }

    // Appends a run of records, oldest first, a chunk's part at a time.
    void append(std::span<const UndoRecord> records);

    // Makes room for records in all: the chunks missing come in one block
    // (in huge pages where the system allows), since touching millions of
    // records' fresh memory a small page at a time costs more than writing them.
    void reserve(std::size_t records);

    // Removes and returns the newest record, forgetting those behind it; the
    // list must not be empty.
    UndoRecord takeLast()
    {
        m_held = --m_count;
        return m_chunks[m_count / ChunkRecords][m_count % ChunkRecords];
    }

    // The records held behind count(), taken back and ready to be put back.
    std::size_t retreatedCount() const { return m_held - m_count; }
    // Moves count() back over the newest records, or forward over records
    // behind it; the records stay where they are.
    void retreat(std::size_t records) { m_count -= records; }
    void advance(std::size_t records) { m_count += records; }

    // The record at index 0 (oldest) .. count() + retreatedCount() - 1.
    const UndoRecord &at(std::size_t index) const { return m_chunks[index / ChunkRecords][index % ChunkRecords]; }
    UndoRecord &at(std::size_t index) { return m_chunks[index / ChunkRecords][index % ChunkRecords]; }

    // Forgets the newest records from index count on, and every record behind
    // count(); count must not exceed count().
    void truncate(std::size_t count) { m_count = m_held = count; }

    // The held records from first up to last, or up to the end of first's
    // chunk when that comes sooner: a run that can be changed in place.
    std::span<UndoRecord> runFrom(std::size_t first, std::size_t last)
    {
        const std::size_t offset = first % ChunkRecords;
        return {&m_chunks[first / ChunkRecords][offset], std::min(last - first, ChunkRecords - offset)};
    }
    // The held records before last down to first, or down to the start of
    // their chunk when that comes sooner.
    std::span<UndoRecord> runBefore(std::size_t last, std::size_t first)
    {
        const std::size_t chunkStart = (last - 1) / ChunkRecords * ChunkRecords;
        const std::size_t start = std::max(first, chunkStart);
        return {&m_chunks[start / ChunkRecords][start % ChunkRecords], last - start};
    }

    // Forgets every record (a map was opened); the allocation stays.
    void clear() { m_count = m_held = 0; }

    // Frees the chunks no held record uses, keeping one spare so that appending
    // at a chunk boundary does not allocate each time; a block of chunks goes
    // only when none of its chunks is kept. The edit history calls it when a
    // new edit forgot records that could have been put back.
    void releaseSpareChunks();

    // Records the allocated chunks can hold, and the bytes they and the chunk
    // and block tables take.
    std::size_t capacity() const { return m_chunks.size() * ChunkRecords; }
    std::size_t allocatedBytes() const;

private:
    // Chunks allocated together, from the chunk at index firstChunk on.
    struct Block {
        LargeArray<UndoRecord> records;
        std::size_t firstChunk = 0;
    };

    void addChunk() { addChunks(1); }
    void addChunks(std::size_t count);

    std::vector<Block> m_blocks;
    std::vector<UndoRecord *> m_chunks;  // into the blocks, in order
    std::size_t m_count = 0;
    std::size_t m_held = 0;  // count() and the records behind it
};
