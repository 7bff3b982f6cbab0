// The whole obstacle catalogue held in memory: the text of "obstacle.ini"
// kept as read, with every battlefield section located once so that a lookup
// reads only that section's few lines.
#pragma once

#include "obstacles/ObstacleSection.h"

#include <QByteArray>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class ObstacleSectionIndex {
public:
    ObstacleSectionIndex() = default;

    // Locates the sections of the text of an "obstacle.ini". Sections whose
    // names no lookup can ask for are skipped; sections of one name are read
    // as one, in file order (the first value of a key wins).
    static ObstacleSectionIndex parse(QByteArray text);

    ObstacleHexList hexes(std::uint8_t battlefield, std::uint8_t x, std::uint8_t y) const;

    std::size_t sectionCount() const { return m_sectionCount; }

private:
    struct Body {
        qsizetype start;      // offset of the line after the header
        std::uint32_t next;   // 1 + index of the next body of the same name, or 0
    };
    // Per battlefield code, a table over the 256 x 256 positions holding
    // 1 + the index of the position's first body, or 0 when the text has
    // none. Tables exist only for codes the text uses.
    using PositionTable = std::array<std::uint32_t, 256 * 256>;

    QByteArray m_text;
    std::array<std::unique_ptr<PositionTable>, 256> m_tables;
    std::vector<Body> m_bodies;
    std::size_t m_sectionCount = 0;

    void addBody(std::uint32_t id, qsizetype start);
};
