// Filling a region with any terrain, with or without edge rules.
#include "edit/ReplaceFill.h"

#include "edit/PreparedBrush.h"
#include "edit/TerrainEdges.h"

#include <vector>

namespace {

// What a filled cell holds before edges: the brush's terrain (type, picture,
// terrain mirror bits) with a picture its new type has; the cell's river, road
// and their mirror bits stay as they are.
class ReplacedCells {
public:
    explicit ReplacedCells(const BrushSettings &brush)
        : m_prepared(brush)
        , m_plainPicture(brush.paintTerrain && brush.terrainConfig > maxTerrainSpriteFor(brush.terrainType))
    {
    }

    void makeRun(const CellRun &run, const TerrainCell *old, TerrainCell *cells) const
    {
        constexpr std::uint8_t terrainBits = MirrorBit::TerrainLeftRight | MirrorBit::TerrainUpsideDown;
        for (std::uint32_t i = 0; i < run.length; ++i) {
            const TerrainCell painted = m_prepared.apply(old[i], false);
            cells[i] = old[i];
            cells[i].tertype = painted.tertype;
            cells[i].terconf = painted.terconf;
            cells[i].mirror = std::uint8_t((old[i].mirror & ~terrainBits) | (painted.mirror & terrainBits));
            if (m_plainPicture)
                cells[i].terconf = plainPicture(run.column + i, run.row);
        }
    }

private:
    const PreparedBrush m_prepared;
    const bool m_plainPicture;  // the brush names no picture of its type
};

// The fill with edges. The rules need every neighbour's terrain type as the
// fill leaves it, so the filled cells are written into the layer, the edged
// cells of the region and its border are worked out from there, and the
// filled cells get their old bytes back; then every cell that differs is
// written through the editor once. Nothing else runs in between, and nothing
// that can fail: the buffers are had before the layer is touched.
FillResult fillWithEdges(CellEditor &editor, const ReplacedCells &replaced, const TerrainEdgeRules &rules,
                         const RegionSelection &region, const ProgressCallback &progress)
{
    TerrainLayer &layer = editor.layer();
    const RegionSelection touched = region.withNeighbours(layer.side());
    std::vector<TerrainCell> saved(region.cellCount());
    std::vector<TerrainCell> edged(touched.cellCount());
    ProgressMeter meter(progress, qint64(region.cellCount() + 2 * touched.cellCount()));

    std::size_t next = 0;
    region.forEachRun([&](const CellRun &run) {
        TerrainCell *cells = &layer.at(run.row, run.column);
        std::copy(cells, cells + run.length, &saved[next]);
        replaced.makeRun(run, &saved[next], cells);
        next += run.length;
        meter.reach(qint64(next));
    });
    next = 0;
    touched.forEachRun([&](const CellRun &run) {
        for (std::uint32_t i = 0; i < run.length; ++i)
            edged[next + i] = edgedCell(rules, layer, run.column + i, run.row);
        next += run.length;
        meter.reach(qint64(region.cellCount() + next));
    });
    next = 0;
    region.forEachRun([&](const CellRun &run) {
        std::copy(&saved[next], &saved[next] + run.length, &layer.at(run.row, run.column));
        next += run.length;
    });

    next = 0;
    const FillResult result = writeSelection(
        editor, touched,
        [&](const CellRun &run, const TerrainCell *, TerrainCell *cells) {
            std::copy(&edged[next], &edged[next] + run.length, cells);
            next += run.length;
        },
        meter, qint64(region.cellCount() + touched.cellCount()));
    meter.finish();
    return result;
}

}  // namespace

std::uint8_t plainPicture(std::uint32_t column, std::uint32_t row)
{
    return std::uint8_t(edgeVariant(column, row, PlainPictureCount));
}

FillResult replaceFill(CellEditor &editor, const BrushSettings &brush, std::uint16_t column, std::uint16_t row,
                       const ReplaceFillOptions &options, const ProgressCallback &progress)
{
    if (!editor.canEdit() || column >= editor.mapSize() || row >= editor.mapSize())
        return {};
    const TerrainLayer &layer = editor.layer();
    const std::uint8_t tertype = layer.at(row, column).tertype;
    const RegionSelection region = options.wholeLevel ? RegionSelection::terrainOnLevel(layer, tertype)
                                                      : RegionSelection::connectedRegion(layer, column, row);
    // A new type changes every cell of the region: room for all their records at once.
    const bool typeChanges = brush.paintTerrain && brush.terrainType != tertype;
    if (typeChanges)
        editor.reserveRecords(region.cellCount());
    const ReplacedCells replaced(brush);
    if (options.edgeRules)
        return fillWithEdges(editor, replaced, *options.edgeRules, region, progress);
    ProgressMeter meter(progress, qint64(region.cellCount()));
    const FillResult result = writeSelection(
        editor, region,
        [&](const CellRun &run, const TerrainCell *old, TerrainCell *cells) { replaced.makeRun(run, old, cells); },
        meter, 0);
    meter.finish();
    return result;
}
