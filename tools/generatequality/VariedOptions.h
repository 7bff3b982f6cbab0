// Generator options that vary with the seed over every choice a land style
// allows, for runs over many seeds (the tests of the guarantees and the
// quality run): water shares across the style's range, each preset, rough
// shares up to 24 %, up to two rivers, each road plan (players only where
// there are two sides or more), and the caverns below ground for every fifth
// seed.
#pragma once

#include "generate/GenerateOptions.h"

inline GenerateOptions variedGenerateOptions(std::uint32_t seed, SymmetryMode mode, LandStyle style)
{
    GenerateOptions options;
    options.seed = seed;
    options.symmetry = mode;
    options.style = style;
    const PercentRange range = waterRange(style);
    options.waterPercent = range.low + int(seed * 7 % std::uint32_t(range.high - range.low + 1));
    options.mix = int(seed % terrainMixes().size());
    options.roughPercent = int(seed * 3 % 25);
    options.rivers = int(seed % 3);
    options.roads = RoadPlan(seed % 3);
    if (options.roads == RoadPlan::Players && sideCount(mode) < 2)
        options.roads = RoadPlan::Centre;
    options.level = seed % 5 == 4 ? 1 : 0;
    return options;
}
