// The in-memory obstacle catalogue.
#include "obstacles/ObstacleSectionIndex.h"

#include "obstacles/ObstacleIniScanner.h"

ObstacleSectionIndex ObstacleSectionIndex::parse(QByteArrayView text)
{
    ObstacleSectionIndex index;
    const char *end = text.data() + text.size();
    // The section entries go to; null while inside a section that is skipped.
    ObstacleSection *current = nullptr;
    obstacleini::scanLines(
        obstacleini::afterByteOrderMark(text.data(), end), end,
        [&](std::string_view name) {
            const auto id = ObstacleSection::idOfName(name);
            current = id ? &index.sectionFor(*id) : nullptr;
            return true;
        },
        [&](std::string_view key, std::string_view value) {
            if (current)
                current->take(ObstacleSection::keyNumber(key), value);
            return true;
        });
    return index;
}

ObstacleSection &ObstacleSectionIndex::sectionFor(std::uint32_t id)
{
    auto &table = m_tables[id >> 16];
    if (!table)
        table = std::make_unique<PositionTable>(PositionTable{});
    std::uint32_t &slot = (*table)[id & 0xFFFF];
    if (slot == 0) {
        m_sections.emplace_back();
        slot = std::uint32_t(m_sections.size());
    }
    return m_sections[slot - 1];
}

ObstacleHexList ObstacleSectionIndex::hexes(std::uint8_t battlefield, std::uint8_t x, std::uint8_t y) const
{
    const auto &table = m_tables[battlefield];
    if (!table)
        return {};
    const std::uint32_t slot = (*table)[std::size_t(x) << 8 | y];
    return slot == 0 ? ObstacleHexList() : m_sections[slot - 1].hexes();
}
