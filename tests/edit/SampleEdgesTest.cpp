// The sample terrain edge rules against the sample pictures and maps: every
// neighbourhood of every terrain has a rule, each rule's picture (turned by its
// mirror bits) shows the neutral border exactly towards the "other"
// neighbours, and the sample maps come out already edged.
#include "edit/TerrainEdges.h"
#include "gfx/QvDefWrapper.h"
#include "writers/SampleMap.h"

#include "SampleSprites.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

TerrainEdgeRules sampleRules()
{
    const TerrainEdgeRulesResult result = readTerrainEdgeRules(QStringLiteral(BRACKWEN_SAMPLE_RULES));
    EXPECT_TRUE(result.ok()) << result.reason.toStdString();
    return result.rules.value_or(TerrainEdgeRules());
}

const TileSpriteName &terrainSprites(int tertype)
{
    return *std::find_if(TileSpriteNames.begin(), TileSpriteNames.end(), [tertype](const TileSpriteName &name) {
        return name.kind == TileKind::Terrain && name.index == tertype;
    });
}

TEST(SampleEdges, EveryNeighbourhoodOfEveryTerrainHasARule)
{
    const TerrainEdgeRules rules = sampleRules();
    for (std::uint8_t tertype = 0; tertype < TerrainTypeCount; ++tertype)
        for (int mask = 0; mask < TerrainEdgeRules::MaskCount; ++mask)
            EXPECT_NE(rules.ruleFor(tertype, std::uint8_t(mask)), nullptr) << int(tertype) << ' ' << mask;
}

TEST(SampleEdges, PicturesShowTheBorderTowardsOtherNeighboursOnly)
{
    const TerrainEdgeRules rules = sampleRules();
    // The pixel of a 32 x 32 tile that touches each neighbour, in neighbour order.
    constexpr int Probes[TerrainEdgeRules::NeighbourCount][2] = {{0, 0},  {16, 0},  {31, 0},  {0, 16},
                                                                 {31, 16}, {0, 31}, {16, 31}, {31, 31}};
    const QRgb border = sampleBorderColour();
    for (std::uint8_t tertype = 0; tertype < TerrainTypeCount; ++tertype) {
        const TQvDefWrapper def(sampleSpriteFile(terrainSprites(tertype)));
        for (const TerrainEdgeRules::Rule &rule : rules.rules(tertype))
            for (const std::uint8_t picture : rule.pictures) {
                SCOPED_TRACE(QStringLiteral("terrain %1 picture %2 mirror %3").arg(tertype).arg(picture).arg(rule.mirror).toStdString());
                ASSERT_LT(picture, SampleEdgePictures);
                QImage frame;
                def.ExtractFrame(picture, frame);
                const QImage turned = frame.mirrored(rule.mirror & MirrorBit::TerrainLeftRight, rule.mirror & MirrorBit::TerrainUpsideDown);
                for (int n = 0; n < TerrainEdgeRules::NeighbourCount; ++n) {
                    if (!(rule.careMask & (1 << n)))
                        continue;
                    const bool other = !(rule.sameMask & (1 << n));
                    EXPECT_EQ(turned.pixel(Probes[n][0], Probes[n][1]) == border, other) << "neighbour " << n;
                }
            }
    }
}

TEST(SampleEdges, SampleMapsComeOutEdged)
{
    const TerrainEdgeRules rules = sampleRules();
    const MapWriter plain = sampleMap("Plain", 50, true, 50);
    const MapWriter edged = sampleMap("Edged", 50, true, 50, &rules);
    ASSERT_EQ(edged.layers.size(), 2u);
    for (std::size_t level = 0; level < edged.layers.size(); ++level) {
        SCOPED_TRACE(level);
        TerrainLayer again = edged.layers[level];
        EXPECT_EQ(applyTerrainEdgesToLayer(again, rules), 0u);
        // Only pictures and terrain mirror bits differ from the map without edges.
        TerrainLayer reference = plain.layers[level];
        EXPECT_GT(applyTerrainEdgesToLayer(reference, rules), 0u);
        EXPECT_EQ(reference, edged.layers[level]);
    }
}

}  // namespace
