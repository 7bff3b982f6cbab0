// The size list's steps; making, undoing and redoing a change of the map's side.
#include "edit/SizeChange.h"

#include <algorithm>
#include <new>

SizeSteps SizeSteps::forSide(std::uint32_t side)
{
    const bool standard = side == 36 || side == 72 || side == 108 || side == 144;
    return standard ? SizeSteps{StandardStep, StandardCount} : SizeSteps{OtherStep, OtherCount};
}

SizeChange::SizeChange(std::uint32_t oldSide, std::uint32_t newSide)
    : m_oldSide(oldSide)
    , m_newSide(newSide)
{
}

std::optional<SizeChange> SizeChange::make(MapDocument &document, std::uint32_t side, const ProgressCallback &progress)
{
    SizeChange change(document.mapSize, side);
    try {
        if (side < change.m_oldSide) {
            const std::size_t cutPerLevel = std::size_t(change.m_oldSide) * change.m_oldSide - std::size_t(side) * side;
            change.m_cutCells.reserve(cutPerLevel * std::size_t(document.levelCount()));
            for (int level = 0; level < document.levelCount(); ++level) {
                const TerrainLayer &layer = document.layer(level);
                for (std::uint32_t row = 0; row < change.m_oldSide; ++row) {
                    const std::uint32_t first = row < side ? side : 0;
                    change.m_cutCells.insert(change.m_cutCells.end(), &layer.at(row, first), &layer.at(row, 0) + change.m_oldSide);
                }
            }
        }
    } catch (const std::bad_alloc &) {
        return std::nullopt;
    }
    if (!change.redo(document, progress))
        return std::nullopt;
    return change;
}

bool SizeChange::redo(MapDocument &document, const ProgressCallback &progress) const
{
    return document.redimension(m_newSide, progress);
}

bool SizeChange::undo(MapDocument &document, const ProgressCallback &progress) const
{
    if (!document.redimension(m_oldSide, progress))
        return false;
    const TerrainCell *cut = m_cutCells.data();
    for (int level = 0; level < document.levelCount() && !m_cutCells.empty(); ++level) {
        TerrainLayer &layer = document.layer(level);
        for (std::uint32_t row = 0; row < m_oldSide; ++row) {
            const std::uint32_t first = row < m_newSide ? m_newSide : 0;
            std::copy_n(cut, m_oldSide - first, &layer.at(row, first));
            cut += m_oldSide - first;
        }
    }
    return true;
}
