// The sample terrain edge rules against the sample pictures and maps: every
// neighbourhood of every terrain and all sixteen ways of joining of every river
// and road have a rule, each rule's picture (turned by its mirror bits) shows
// the neutral border exactly towards the "other" neighbours or the stroke
// exactly towards the joining sides, and the sample maps come out already
// edged and pieced.
#include "edit/PathPieces.h"
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

const TileSpriteName &spritesOf(TileKind kind, int index)
{
    return *std::find_if(TileSpriteNames.begin(), TileSpriteNames.end(), [kind, index](const TileSpriteName &name) {
        return name.kind == kind && name.index == index;
    });
}

const TileSpriteName &terrainSprites(int tertype)
{
    return spritesOf(TileKind::Terrain, tertype);
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

TEST(SampleEdges, EveryWayOfJoiningOfEveryRiverAndRoadHasARule)
{
    const TerrainEdgeRules rules = sampleRules();
    for (const PathLayer path : PathLayers)
        for (int type = 1; type <= pathTypeCount(path); ++type)
            for (int sides = 0; sides < PathRules::MaskCount; ++sides)
                EXPECT_NE(rules.paths().ruleFor(path, std::uint8_t(type), std::uint8_t(sides)), nullptr)
                    << pathLayerName(path) << ' ' << type << ' ' << sides;
}

TEST(SampleEdges, PiecesReachTheJoiningSidesOnly)
{
    const TerrainEdgeRules rules = sampleRules();
    // The pixel in the middle of each side of a 32 x 32 tile, in side order.
    constexpr int Probes[PathRules::SideCount][2] = {{16, 0}, {31, 16}, {16, 31}, {0, 16}};
    const QRgb background = qRgb(0, 255, 255);
    for (const PathLayer path : PathLayers)
        for (int type = 1; type <= pathTypeCount(path); ++type) {
            const TQvDefWrapper def(sampleSpriteFile(spritesOf(path == PathLayer::River ? TileKind::River : TileKind::Road, type)));
            for (const PathRules::Rule &rule : rules.paths().rules(path, std::uint8_t(type)))
                for (const std::uint8_t picture : rule.pictures) {
                    SCOPED_TRACE(QStringLiteral("%1 %2 picture %3 mirror %4").arg(QLatin1String(pathLayerName(path))).arg(type).arg(picture).arg(rule.mirror).toStdString());
                    QImage frame;
                    def.ExtractFrame(picture, frame);
                    ASSERT_EQ(frame.size(), QSize(32, 32));
                    const QImage turned = frame.convertToFormat(QImage::Format_RGB32)
                                              .mirrored(rule.mirror & pathLeftRightBit(path), rule.mirror & pathUpsideDownBit(path));
                    for (int side = 0; side < PathRules::SideCount; ++side) {
                        if (!(rule.careMask & (1 << side)))
                            continue;
                        const bool joins = rule.joinMask & (1 << side);
                        EXPECT_EQ(turned.pixel(Probes[side][0], Probes[side][1]) != background, joins) << "side " << side;
                    }
                    // Something is drawn even where nothing joins.
                    EXPECT_NE(turned.pixel(16, 16), background);
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
        EXPECT_EQ(applyPathPiecesToLayer(again, rules.paths(), PathLayer::River), 0u);
        EXPECT_EQ(applyPathPiecesToLayer(again, rules.paths(), PathLayer::Road), 0u);
        // Only pictures and mirror bits differ from the map without rules.
        TerrainLayer reference = plain.layers[level];
        EXPECT_GT(applyTerrainEdgesToLayer(reference, rules), 0u);
        EXPECT_GT(applyPathPiecesToLayer(reference, rules.paths(), PathLayer::River), 0u);
        EXPECT_GT(applyPathPiecesToLayer(reference, rules.paths(), PathLayer::Road), 0u);
        EXPECT_EQ(reference, edged.layers[level]);
    }
}

}  // namespace
