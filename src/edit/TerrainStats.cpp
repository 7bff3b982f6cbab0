// Counting a level's cells by terrain, river and road type.
#include "edit/TerrainStats.h"

#include <QStringList>

namespace {

// The names the sample settings give the types, and the list texts of the
// river and road types.
QString nameIn(const QStringList &names, std::uint8_t type)
{
    return type < names.size() ? names[type] : QString();
}

}  // namespace

QString terrainTypeName(std::uint8_t tertype)
{
    static const QStringList names = {"Dirt",         "Sand", "Grass", "Snow",  "Swamp",
                                      "Rough", "Subterranean", "Lava",  "Water", "Rock"};
    return nameIn(names, tertype);
}

QString riverTypeName(std::uint8_t rivtype)
{
    static const QStringList names = {"none", "River", "IceRiver", "MudRiver", "LavaRiver"};
    return nameIn(names, rivtype);
}

QString roadTypeName(std::uint8_t roadtype)
{
    static const QStringList names = {"none", "DirtRoad", "GravelRoad", "StoneRoad"};
    return nameIn(names, roadtype);
}

TerrainStats TerrainStats::of(const TerrainLayer &layer)
{
    TerrainStats stats;
    stats.m_cellCount = layer.cellCount();
    // Neighbouring cells mostly share their types, so one tally per field
    // would make each count wait for the previous increment of the same
    // counter; two tallies a field, for even and odd cells, halve that wait.
    std::array<Tally, 2> terrain{}, river{}, road{};
    const TerrainCell *cells = layer.data();
    const std::size_t count = layer.cellCount();
    std::size_t i = 0;
    for (; i + 1 < count; i += 2) {
        ++terrain[0][cells[i].tertype];
        ++river[0][cells[i].rivtype];
        ++road[0][cells[i].roadtype];
        ++terrain[1][cells[i + 1].tertype];
        ++river[1][cells[i + 1].rivtype];
        ++road[1][cells[i + 1].roadtype];
    }
    for (; i < count; ++i) {
        ++terrain[0][cells[i].tertype];
        ++river[0][cells[i].rivtype];
        ++road[0][cells[i].roadtype];
    }
    for (std::size_t value = 0; value < 256; ++value) {
        stats.m_terrain[value] = terrain[0][value] + terrain[1][value];
        stats.m_river[value] = river[0][value] + river[1][value];
        stats.m_road[value] = road[0][value] + road[1][value];
    }
    return stats;
}

std::vector<TerrainStats::Line> TerrainStats::terrainLines() const
{
    return lines(m_terrain, TerrainTypeCount, terrainTypeName);
}

std::vector<TerrainStats::Line> TerrainStats::riverLines() const
{
    return lines(m_river, RiverTypeCount + 1, riverTypeName);
}

std::vector<TerrainStats::Line> TerrainStats::roadLines() const
{
    return lines(m_road, RoadTypeCount + 1, roadTypeName);
}

std::vector<TerrainStats::Line> TerrainStats::lines(const Tally &tally, int knownTypes,
                                                    QString (*name)(std::uint8_t)) const
{
    std::vector<Line> result;
    for (int value = 0; value < 256; ++value) {
        if (value >= knownTypes && tally[value] == 0)
            continue;
        const double percent = m_cellCount > 0 ? 100.0 * double(tally[value]) / double(m_cellCount) : 0.0;
        result.push_back({std::uint8_t(value), name(std::uint8_t(value)), tally[value], percent});
    }
    return result;
}
