// The in-memory obstacle catalogue.
#include "obstacles/ObstacleSectionIndex.h"

#include "obstacles/ObstacleIniScanner.h"

#include <cstring>

ObstacleSectionIndex ObstacleSectionIndex::parse(QByteArray text)
{
    ObstacleSectionIndex index;
    index.m_text = std::move(text);
    const char *data = index.m_text.constData();
    const char *end = data + index.m_text.size();
    const char *begin = obstacleini::afterByteOrderMark(data, end);
    // Every header line begins with '[', so jumping from one to the next
    // passes over the entries without reading them.
    const char *from = begin;
    while (from < end) {
        const auto *open = static_cast<const char *>(std::memchr(from, '[', std::size_t(end - from)));
        if (!open)
            break;
        from = open + 1;
        const auto name = obstacleini::headerNameAt(begin, end, open);
        if (!name)
            continue;
        if (const auto id = ObstacleSection::idOfName(*name))
            index.addBody(*id, obstacleini::nextLine(open, end) - data);
    }
    return index;
}

void ObstacleSectionIndex::addBody(std::uint32_t id, qsizetype start)
{
    auto &table = m_tables[id >> 16];
    if (!table)
        table = std::make_unique<PositionTable>(PositionTable{});
    m_bodies.push_back({start, 0});
    const auto added = std::uint32_t(m_bodies.size());
    std::uint32_t *link = &(*table)[id & 0xFFFF];
    if (*link == 0)
        ++m_sectionCount;
    // Repeated names are rare; their bodies are chained in file order.
    while (*link != 0)
        link = &m_bodies[*link - 1].next;
    *link = added;
}

ObstacleHexList ObstacleSectionIndex::hexes(std::uint8_t battlefield, std::uint8_t x, std::uint8_t y) const
{
    const auto &table = m_tables[battlefield];
    if (!table)
        return {};
    const char *data = m_text.constData();
    const char *end = data + m_text.size();
    ObstacleSection section;
    for (std::uint32_t body = (*table)[std::size_t(x) << 8 | y]; body != 0; body = m_bodies[body - 1].next)
        obstacleini::readSectionBody(data + m_bodies[body - 1].start, end, section);
    return section.hexes();
}
