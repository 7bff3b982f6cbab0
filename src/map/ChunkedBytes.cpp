// Byte strings in separate blocks: appending, reading across block seams, and
// releasing the blocks a reader has passed.
#include "map/ChunkedBytes.h"

#include <algorithm>

ChunkedBytes ChunkedBytes::viewOf(QByteArrayView bytes)
{
    ChunkedBytes chunked;
    chunked.m_blocks.push_back({QByteArray::fromRawData(bytes.data(), bytes.size()), 0, bytes.size()});
    chunked.m_size = bytes.size();
    return chunked;
}

std::span<char> ChunkedBytes::room(qsizetype most)
{
    if (most <= 0)
        return {};
    if (m_blocks.empty() || m_blocks.back().used == m_blocks.back().bytes.size()) {
        const qsizetype last = m_blocks.empty() ? 0 : m_blocks.back().bytes.size();
        const qsizetype size = std::clamp(2 * last, FirstBlockSize, LargestBlockSize);
        m_blocks.push_back({QByteArray(size, Qt::Uninitialized), m_size, 0});
    }
    Storage &block = m_blocks.back();
    return {block.bytes.data() + block.used, std::size_t(std::min(most, block.bytes.size() - block.used))};
}

void ChunkedBytes::commit(qsizetype count)
{
    if (count <= 0)
        return;
    m_blocks.back().used += count;
    m_size += count;
}

const ChunkedBytes::Storage &ChunkedBytes::blockAt(qsizetype offset) const
{
    // The last block whose start is not behind the offset.
    const auto after = std::upper_bound(m_blocks.begin() + qsizetype(m_firstHeld), m_blocks.end(), offset,
                                        [](qsizetype at, const Storage &block) { return at < block.start; });
    return *(after - 1);
}

std::uint8_t ChunkedBytes::byteAt(qsizetype offset) const
{
    const Storage &block = blockAt(offset);
    return std::uint8_t(block.bytes[offset - block.start]);
}

std::uint32_t ChunkedBytes::u32At(qsizetype offset) const
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | byteAt(offset + i);
    return value;
}

QByteArray ChunkedBytes::copy(qsizetype from, qsizetype length) const
{
    QByteArray bytes;
    bytes.reserve(length);
    forEachPiece(from, length, [&](QByteArrayView piece) { bytes.append(piece); });
    return bytes;
}

void ChunkedBytes::forEachPiece(qsizetype from, qsizetype length, const std::function<void(QByteArrayView)> &take) const
{
    const qsizetype end = from + length;
    for (qsizetype at = from; at < end;) {
        const Storage &block = blockAt(at);
        const qsizetype stop = std::min(end, block.start + block.used);
        take(QByteArrayView(block.bytes.constData() + (at - block.start), stop - at));
        at = stop;
    }
}

void ChunkedBytes::releaseBefore(qsizetype offset)
{
    while (m_firstHeld + 1 < m_blocks.size() && m_blocks[m_firstHeld].start + m_blocks[m_firstHeld].used <= offset) {
        m_blocks[m_firstHeld].bytes = QByteArray();
        ++m_firstHeld;
    }
}

std::vector<ChunkedBytes::Block> ChunkedBytes::blocks() const
{
    std::vector<Block> held;
    for (std::size_t i = m_firstHeld; i < m_blocks.size(); ++i)
        held.push_back({m_blocks[i].start, QByteArrayView(m_blocks[i].bytes.constData(), m_blocks[i].used)});
    return held;
}
