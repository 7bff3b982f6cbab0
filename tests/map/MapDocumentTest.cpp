// Re-dimensioning the open map: the shared top-left square survives, new cells
// are zero, and a failed allocation changes nothing.
#include "map/MapDocument.h"
#include "map/MapFile.h"
#include "writers/LoadedMap.h"
#include "writers/MapWriter.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

MapDocument patternedDocument(std::uint32_t side, bool twoLevels)
{
    return loadedMap(MapWriter::patternLayer(side, 0),
                     twoLevels ? std::optional(MapWriter::patternLayer(side, 1)) : std::nullopt);
}

// Every cell inside the kept square equals the original's, every other is zero.
void expectKeptSquare(const TerrainLayer &layer, const TerrainLayer &original, std::uint32_t kept)
{
    for (std::uint32_t row = 0; row < layer.side(); ++row)
        for (std::uint32_t column = 0; column < layer.side(); ++column) {
            const TerrainCell expected = row < kept && column < kept ? original.at(row, column) : TerrainCell{};
            ASSERT_EQ(layer.at(row, column), expected) << "row " << row << " column " << column;
        }
}

TEST(MapDocumentRedimension, LevelByLevelGivesTheSameMapAsBothAtOnce)
{
    // A map as the loader makes it (both levels in the memory it was read
    // into), large enough that the old rows given back span whole pages: each
    // level keeps its own corner, and the other level is never touched.
    const MapWriter writer = MapWriter::patterned(700, true);
    MapDocument byLevel = loadMapData(writer.data()).document.value_or(MapDocument());
    ASSERT_TRUE(byLevel.isLoaded);
    MapDocument atOnce = byLevel;
    for (const std::uint32_t side : {500u, 900u, 1u, 40u}) {
        SCOPED_TRACE(side);
        ASSERT_TRUE(atOnce.redimension(side));
        ASSERT_TRUE(byLevel.redimensionLevelByLevel(side));
        EXPECT_EQ(byLevel.mapSize, side);
        EXPECT_EQ(byLevel.ground, atOnce.ground);
        EXPECT_EQ(byLevel.underground, atOnce.underground);
    }
    expectKeptSquare(byLevel.ground, writer.layers[0], 1);
    expectKeptSquare(byLevel.underground, writer.layers[1], 1);
}

TEST(MapDocumentRedimension, ReportsProgressOverBothNewLayersAtAModestRate)
{
    MapDocument document = patternedDocument(72, true);
    std::vector<std::pair<qint64, qint64>> reports;
    ASSERT_TRUE(document.redimension(900, [&](qint64 done, qint64 total) { reports.emplace_back(done, total); }));
    const qint64 total = qint64(2) * 900 * 900 * 7;  // 11.3 MB
    ASSERT_GE(reports.size(), 3u);
    EXPECT_LE(reports.size(), std::size_t(ProgressMeter::Reports + 2));  // never per row or cell
    EXPECT_EQ(reports.front(), std::make_pair(qint64(0), total));
    EXPECT_EQ(reports.back(), std::make_pair(total, total));
    for (std::size_t i = 1; i < reports.size(); ++i)
        EXPECT_GT(reports[i].first, reports[i - 1].first);
}

TEST(MapDocumentRedimension, ShrinkThenGrowKeepsCornerAndZeroesTheRest)
{
    const MapDocument original = patternedDocument(72, true);
    MapDocument document = original;

    ASSERT_TRUE(document.redimension(36));
    EXPECT_EQ(document.mapSize, 36u);
    EXPECT_EQ(document.ground.side(), 36u);
    EXPECT_EQ(document.underground.side(), 36u);
    expectKeptSquare(document.ground, original.ground, 36);
    expectKeptSquare(document.underground, original.underground, 36);

    ASSERT_TRUE(document.redimension(72));
    EXPECT_EQ(document.mapSize, 72u);
    expectKeptSquare(document.ground, original.ground, 36);
    expectKeptSquare(document.underground, original.underground, 36);
    // Only the terrain and the side change.
    EXPECT_EQ(document.headerBytes, original.headerBytes);
    EXPECT_EQ(document.trailingBytes, original.trailingBytes);
}

TEST(MapDocumentRedimension, OneLevelMapGetsNoUnderground)
{
    const MapDocument original = patternedDocument(36, false);
    MapDocument document = original;
    ASSERT_TRUE(document.redimension(50));
    expectKeptSquare(document.ground, original.ground, 36);
    EXPECT_TRUE(document.underground.isEmpty());
}

class MapDocumentFailedRedimension : public ::testing::TestWithParam<std::uint32_t> {};

TEST_P(MapDocumentFailedRedimension, LeavesTheDocumentAsItWas)
{
    const MapDocument original = patternedDocument(36, true);
    MapDocument document = original;
    EXPECT_FALSE(document.redimension(GetParam()));
    EXPECT_EQ(document.mapSize, 36u);
    EXPECT_EQ(document.ground, original.ground);
    EXPECT_EQ(document.underground, original.underground);
}

// Sides the layer cannot take; the memory is never asked for.
INSTANTIATE_TEST_SUITE_P(Sides, MapDocumentFailedRedimension,
                         ::testing::Values(TerrainLayer::MaxSide + 1, 0xFFFFFFFFu));

}  // namespace
