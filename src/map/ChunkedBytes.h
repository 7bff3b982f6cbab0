// ChunkedBytes: a long byte string held as a row of separate blocks, so that
// it never needs one contiguous allocation and a reader can release the
// blocks it has passed while it still reads the rest.
#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

class ChunkedBytes {
public:
    // Blocks start small for small contents and double up to the largest
    // size, large enough that the C library maps each such block on its own,
    // so a released block goes back to the system at once.
    static constexpr qsizetype FirstBlockSize = 64 * 1024;
    static constexpr qsizetype LargestBlockSize = 64 * 1024 * 1024;

    ChunkedBytes() = default;

    // The bytes of a view as the only block, without a copy; they must stay
    // valid as long as this is read.
    static ChunkedBytes viewOf(QByteArrayView bytes);

    // Number of bytes appended so far, released ones included.
    qsizetype size() const { return m_size; }

    // Writable room behind the last byte: at least one byte when most > 0,
    // at most `most`. Bytes written there count once commit() is called.
    std::span<char> room(qsizetype most);
    void commit(qsizetype count);

    // Reading: offsets are counted from the first byte ever appended and
    // must lie in blocks that are not released.
    std::uint8_t byteAt(qsizetype offset) const;
    std::uint32_t u32At(qsizetype offset) const;  // little-endian
    QByteArray copy(qsizetype from, qsizetype length) const;

    // Hands the bytes of [from, from + length) to `take` in pieces, in order.
    void forEachPiece(qsizetype from, qsizetype length, const std::function<void(QByteArrayView)> &take) const;

    // Frees every block whose bytes all lie in front of offset (the last
    // block excepted); their bytes may not be read again.
    void releaseBefore(qsizetype offset);

    // The blocks still held, each with the offset of its first byte.
    struct Block {
        qsizetype start = 0;
        QByteArrayView bytes;
    };
    std::vector<Block> blocks() const;

private:
    struct Storage {
        QByteArray bytes;     // capacity of the block
        qsizetype start = 0;  // offset of its first byte
        qsizetype used = 0;   // bytes appended to it
    };
    std::vector<Storage> m_blocks;
    std::size_t m_firstHeld = 0;  // blocks in front of it are released
    qsizetype m_size = 0;

    const Storage &blockAt(qsizetype offset) const;
};
