// The whole obstacle catalogue held in memory: every battlefield section of
// "obstacle.ini" parsed once, looked up by battlefield and position.
#pragma once

#include "obstacles/ObstacleSection.h"

#include <QByteArrayView>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class ObstacleSectionIndex {
public:
    ObstacleSectionIndex() = default;

    // Parses the text of an "obstacle.ini". Sections whose names no lookup can
    // ask for are skipped; sections of one name are merged (first value of a
    // key wins).
    static ObstacleSectionIndex parse(QByteArrayView text);

    ObstacleHexList hexes(std::uint8_t battlefield, std::uint8_t x, std::uint8_t y) const;

    std::size_t sectionCount() const { return m_sections.size(); }

private:
    // Per battlefield code, a table over the 256 x 256 positions holding
    // 1 + the index of the position's section in m_sections, or 0 when the
    // file has none. Tables exist only for codes the file uses.
    using PositionTable = std::array<std::uint32_t, 256 * 256>;
    std::array<std::unique_ptr<PositionTable>, 256> m_tables;
    std::vector<ObstacleSection> m_sections;

    ObstacleSection &sectionFor(std::uint32_t id);
};
