// Finding one section in a catalogue text by jumping from '[' to '[' and
// comparing the header there; the lines in between are never parsed.
#include "obstacles/ObstacleSectionSearch.h"

#include "obstacles/ObstacleIniScanner.h"

#include <algorithm>
#include <cstring>
#include <new>

ObstacleSectionSearch::ObstacleSectionSearch(std::uint8_t battlefield, std::uint8_t x, std::uint8_t y)
    : m_name(ObstacleSection::name(battlefield, x, y))
{
}

void ObstacleSectionSearch::feed(QByteArrayView piece)
{
    const char *end = piece.data() + piece.size();
    // The byte order mark belongs to no line, so the first line starts behind it.
    const char *begin = m_atTextStart ? obstacleini::afterByteOrderMark(piece.data(), end) : piece.data();
    m_atTextStart = false;
    const std::string_view name(m_name.constData(), std::size_t(m_name.size()));
    const char *from = begin;
    if (m_inSection) {
        from = obstacleini::readSectionBody(from, end, m_section);
        m_inSection = from == end;
    }
    while (from < end) {
        const auto *open = static_cast<const char *>(std::memchr(from, '[', std::size_t(end - from)));
        if (!open)
            break;
        from = open + 1;
        if (obstacleini::headerNameAt(begin, end, open) != name)
            continue;
        // A later header of the same name adds the keys this one lacks.
        from = obstacleini::readSectionBody(obstacleini::nextLine(open, end), end, m_section);
        m_inSection = from == end;
    }
}

namespace {

std::optional<ObstacleHexList> searchDevice(QIODevice &device, std::uint8_t battlefield, std::uint8_t x,
                                            std::uint8_t y, qsizetype pieceSize, qint64 maxBytes)
{
    ObstacleSectionSearch search(battlefield, x, y);
    // A line longer than a piece makes the buffer grow until it holds the line.
    QByteArray buffer(std::max<qsizetype>(pieceSize, 1), Qt::Uninitialized);
    qsizetype filled = 0;
    qint64 total = 0;
    bool atEnd = false;
    while (!atEnd) {
        if (filled == buffer.size())
            buffer.resize(buffer.size() * 2);
        const qint64 got = device.read(buffer.data() + filled, buffer.size() - filled);
        if (got < 0 || (total += got) > maxBytes)
            return std::nullopt;
        atEnd = got == 0;
        filled += got;
        // Only whole lines go to the search; the rest waits for more bytes.
        qsizetype whole = filled;
        if (!atEnd) {
            const QByteArrayView read(buffer.constData(), filled);
            whole = read.lastIndexOf('\n') + 1;
        }
        if (whole == 0)
            continue;
        search.feed(QByteArrayView(buffer.constData(), whole));
        std::memmove(buffer.data(), buffer.constData() + whole, std::size_t(filled - whole));
        filled -= whole;
    }
    return search.hexes();
}

}  // namespace

ObstacleHexList findHexesInText(QByteArrayView text, std::uint8_t battlefield, std::uint8_t x, std::uint8_t y)
{
    ObstacleSectionSearch search(battlefield, x, y);
    search.feed(text);
    return search.hexes();
}

std::optional<ObstacleHexList> findHexesInDevice(QIODevice &device, std::uint8_t battlefield, std::uint8_t x,
                                                 std::uint8_t y, qsizetype pieceSize, qint64 maxBytes)
{
    try {
        return searchDevice(device, battlefield, x, y, pieceSize, maxBytes);
    } catch (const std::bad_alloc &) {
        return std::nullopt;
    }
}
