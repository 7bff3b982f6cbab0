// The undo records of the open map, oldest first.
#pragma once

#include "base/LargeMemory.h"
#include "edit/UndoRecord.h"

#include <cstddef>
#include <span>
#include <vector>

// Records live in fixed-size chunks, so appending never moves the records
// already held (a fill of a whole large map appends millions of them) and the
// memory per record stays close to its 12 bytes. Emptying the list keeps the
// chunks for the next map. Chunks come one at a time as records are appended,
// or many in one block when an operation reserves room for its records.
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
        ++m_count;
    }

    // Appends a run of records, oldest first, a chunk's part at a time.
    void append(std::span<const UndoRecord> records);

    // Makes room for records in all: the chunks missing come in one block
    // (in huge pages where the system allows), since touching millions of
    // records' fresh memory a small page at a time costs more than writing them.
    void reserve(std::size_t records);

    // Removes and returns the newest record; the list must not be empty.
    UndoRecord takeLast()
    {
        --m_count;
        return m_chunks[m_count / ChunkRecords][m_count % ChunkRecords];
    }

    // The record at index 0 (oldest) .. count() - 1 (newest).
    const UndoRecord &at(std::size_t index) const { return m_chunks[index / ChunkRecords][index % ChunkRecords]; }

    // Forgets every record (a map was opened); the allocation stays.
    void clear() { m_count = 0; }

    // Frees the chunks no record uses, keeping one spare so that taking back
    // and putting back records at a chunk boundary does not allocate each time;
    // a block of chunks goes only when none of its chunks is kept.
    // The edit history calls it after moving records to its redo side, which
    // then reuses the memory.
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
};
