// The brush as it writes one cell: its mirror choice turned into byte masks
// once, since fills apply it to up to millions of cells.
#pragma once

#include "edit/BrushSettings.h"
#include "map/TerrainCell.h"

#include <cstdint>

class PreparedBrush {
public:
    explicit PreparedBrush(const BrushSettings &brush);

    // The cell as the brush leaves it. A cell painted by a fill keeps its
    // terrain configuration; mirror bits 6 and 7 are never touched. Inline, as
    // it runs for every cell a fill paints.
    TerrainCell apply(const TerrainCell &old, bool filling) const
    {
        TerrainCell cell = old;
        if (m_brush.paintTerrain) {
            cell.tertype = m_brush.terrainType;
            if (!filling && m_brush.terrainConfig <= maxTerrainSpriteFor(m_brush.terrainType))
                cell.terconf = m_brush.terrainConfig;
        } else if (!m_brush.keepTerrainConfig && m_brush.terrainConfig <= maxTerrainSpriteFor(old.tertype)) {
            cell.terconf = m_brush.terrainConfig;
        }

        if (m_brush.paintRiver) {
            if (!m_brush.riverOnlyExisting || old.rivtype > 0)
                cell.rivtype = m_brush.riverType;
            if (m_brush.riverConfig < BrushSettings::RiverConfigCount)
                cell.rivconf = m_brush.riverConfig;
        }
        if (m_brush.paintRoad) {
            if (!m_brush.roadOnlyExisting || old.roadtype > 0)
                cell.roadtype = m_brush.roadType;
            if (m_brush.roadConfig < BrushSettings::RoadConfigCount)
                cell.roadconf = m_brush.roadConfig;
        }

        cell.mirror = std::uint8_t((cell.mirror & m_mirrorKeep) | m_mirrorSet);
        return cell;
    }

private:
    const BrushSettings &m_brush;
    std::uint8_t m_mirrorKeep = 0xFF;  // bits that keep their value
    std::uint8_t m_mirrorSet = 0;      // bits that are set
};
