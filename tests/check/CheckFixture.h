// A small asymmetric level with the rules that make it clean, for the map
// check's tests: grass with a band of water along the bottom, a dirt road
// across the second row and a river down the seventh column.
#pragma once

#include "edit/PathPieces.h"
#include "edit/TerrainEdges.h"
#include "map/TerrainLayer.h"
#include "rules/TerrainEdgeRules.h"

#include <gtest/gtest.h>

inline constexpr std::uint8_t Grass = 2;
inline constexpr std::uint8_t Swamp = 4;
inline constexpr std::uint8_t Water = 8;

// Grass has a picture for the inside and one for every border. Water has
// pictures only where it runs on to the west and east, or all round: a
// one-cell pond has none. Road 1 has a piece for every way it joins (and
// joins road 2); road 2 joins only itself, with one piece for everything. River 1 has straights and ends,
// but no bend.
inline const QByteArray CheckRulesText = R"(
[terrain 2]
rule = sss s.s sss : 0
rule = *** *.* *** : 1
[terrain 8]
rule = sss s.s sss : 20
rule = *** s.s *** : 21
[road 1]
joins = 2
rule = j o j o : 1
rule = o j o j : 0
rule = j o o o : 11
rule = o j o o : 12
rule = o o j o : 11 : ud
rule = o o o j : 12 : lr
rule = * * * * : 15
[road 2]
rule = * * * * : 15
[river 1]
rule = j o j o : 1
rule = o j o j : 0
rule = j o o o : 3
rule = o o j o : 3 : ud
rule = o j o o : 4
rule = o o o j : 4 : lr
)";

inline TerrainEdgeRules checkRules()
{
    const TerrainEdgeRulesResult result = parseTerrainEdgeRules(CheckRulesText);
    EXPECT_TRUE(result.ok()) << result.reason.toStdString();
    return result.ok() ? *result.rules : TerrainEdgeRules();
}

// Gives every cell the pictures and pieces of the rules.
inline void applyAllRules(TerrainLayer &layer, const TerrainEdgeRules &rules)
{
    applyTerrainEdgesToLayer(layer, rules);
    for (const PathLayer path : PathLayers)
        applyPathPiecesToLayer(layer, rules.paths(), path);
}

// The 8 x 8 level, every picture the rules' own.
inline TerrainLayer cleanLevel(const TerrainEdgeRules &rules)
{
    TerrainLayer layer(8);
    for (std::uint32_t row = 0; row < 8; ++row)
        for (std::uint32_t column = 0; column < 8; ++column) {
            TerrainCell &cell = layer.at(row, column);
            cell.tertype = row >= 6 ? Water : Grass;
            cell.roadtype = row == 1 && column >= 1 && column <= 5 ? 1 : 0;
            cell.rivtype = column == 6 && row <= 3 ? 1 : 0;
        }
    applyAllRules(layer, rules);
    return layer;
}
