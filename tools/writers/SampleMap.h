// Sample maps with plausible terrain: land and water from a smooth height
// field, rivers and roads as connected lines of cells, mirrored tiles, and an
// underground of subterranean ground, rock and lava. Deterministic for a seed.
#pragma once

#include "rules/TerrainEdgeRules.h"
#include "writers/MapWriter.h"

#include <QByteArray>

#include <cstdint>

// A whole map: a header like a real map's front (version 28, the name and the
// description as the two length-prefixed fields, opaque bytes), the layers,
// and trailing bytes carrying the marker pair 8 bytes behind the terrain.
// With edge rules, every cell of both layers gets the terrain picture, the
// river piece and the road piece they choose.
MapWriter sampleMap(const QByteArray &name, std::uint32_t side, bool twoLevels, std::uint64_t seed,
                    const TerrainEdgeRules *edges = nullptr);

TerrainLayer sampleSurface(std::uint32_t side, std::uint64_t seed);
TerrainLayer sampleUnderground(std::uint32_t side, std::uint64_t seed);
