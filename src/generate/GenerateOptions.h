// What the terrain generator is asked for, the names the command line and the
// settings give each choice, and the options it refuses before it starts.
#pragma once

#include "edit/Symmetry.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <span>

// Where the land lies.
enum class LandStyle {
    Continent,  // one mass of land in the middle, water around it
    Islands,    // an island for each side, water between them
    Lakes,      // land everywhere, with lakes
    Coast,      // water along one or more edges of the map
};

// Which start zones the roads join.
enum class RoadPlan {
    None,
    Players,  // every start zone to every other
    Centre,   // every start zone to the middle of the map, and so to each other
};

// The land terrains of a preset and their weights (parts of the land each
// takes), plus the river type its rivers have.
struct TerrainMix {
    const char *name;  // on the command line and in the settings
    std::array<std::uint8_t, 10> weights;  // by terrain type; water (8) and rock (9) are never weighted
    std::uint8_t riverType;
};

// The presets, in the order the dialog lists them.
std::span<const TerrainMix> terrainMixes();

struct GenerateOptions {
    std::uint32_t seed = 1;
    SymmetryMode symmetry = SymmetryMode::Off;
    LandStyle style = LandStyle::Continent;
    int waterPercent = 30;  // 0..80 of the level's cells
    int mix = 0;            // index into terrainMixes()
    int roughPercent = 10;  // of the land: rough on the surface, more rock in the caverns
    int rivers = 1;         // for each side, 0..MaxRivers
    RoadPlan roads = RoadPlan::None;
    int level = 0;          // 0 the surface, 1 the underground (caverns)

    friend bool operator==(const GenerateOptions &, const GenerateOptions &) = default;
};

inline constexpr int MaxWaterPercent = 80;
inline constexpr int MaxRoughPercent = 50;
inline constexpr int MaxRivers = 8;
// The smallest side a level is generated for: a start zone, its road and its
// river need room.
inline constexpr std::uint32_t MinGenerateSide = 12;
// How far the level's water share may be from the one asked for, in points.
inline constexpr int WaterTolerance = 3;

// The words the command line and the settings use for each choice; the
// parsers return none for a word they do not know.
QString symmetryName(SymmetryMode mode);
std::optional<SymmetryMode> symmetryFromName(const QString &name);
QString styleName(LandStyle style);
std::optional<LandStyle> styleFromName(const QString &name);
QString roadPlanName(RoadPlan plan);
std::optional<RoadPlan> roadPlanFromName(const QString &name);
std::optional<int> mixFromName(const QString &name);

// Every mode and style, in the order the dialog and the command's help list them.
std::span<const SymmetryMode> generateSymmetries();
std::span<const LandStyle> landStyles();

// The number of players' sides a symmetry mode makes: the images of a cell
// away from every axis.
int sideCount(SymmetryMode mode);

// The water shares a style allows, inclusive.
struct PercentRange {
    int low;
    int high;
};
PercentRange waterRange(LandStyle style);

// An option the generator cannot meet, and why.
struct GenerateRefusal {
    enum class Option { Level, Size, Water, Roads, Rivers, Rough, Mix };
    enum class Cause {
        NoSuchLevel,       // the map has no such level
        TooSmall,          // the level's side is below MinGenerateSide
        WaterOutOfRange,   // the style does not allow the water share
        OneSide,           // roads between players with a single side
        OutOfRange,        // a number beyond the option's limits
        WaterMissed,       // the finished level's water share is too far off
        NoFittingPicture,  // the rules have no picture for some cell, whatever the generator tried
    };
    Option option;
    Cause cause;

    friend bool operator==(const GenerateRefusal &, const GenerateRefusal &) = default;
};

// The first option that cannot be met on a map of the side with levelCount
// levels, before any work is done; none when all can be.
std::optional<GenerateRefusal> checkGenerateOptions(const GenerateOptions &options, std::uint32_t side, int levelCount);

// One line in English naming the option and the cause, for the command line.
QString refusalText(const GenerateRefusal &refusal, const GenerateOptions &options);
