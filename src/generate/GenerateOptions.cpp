// The generator's choices and their names.
#include "generate/GenerateOptions.h"

#include <algorithm>

namespace {

// Weights by terrain type: dirt, sand, grass, snow, swamp, rough, subterranean, lava.
constexpr TerrainMix Mixes[] = {
    {"temperate", {25, 10, 60, 0, 5, 0, 0, 0, 0, 0}, 1},
    {"northern", {15, 0, 10, 65, 10, 0, 0, 0, 0, 0}, 2},
    {"desert", {25, 70, 5, 0, 0, 0, 0, 0, 0, 0}, 1},
    {"marsh", {15, 0, 30, 0, 55, 0, 0, 0, 0, 0}, 3},
    {"volcanic", {30, 15, 0, 0, 0, 0, 0, 55, 0, 0}, 4},
    {"underground", {20, 0, 0, 0, 0, 0, 70, 10, 0, 0}, 1},
};

constexpr SymmetryMode Symmetries[] = {SymmetryMode::Off,         SymmetryMode::LeftRight, SymmetryMode::TopBottom,
                                       SymmetryMode::FourWay,     SymmetryMode::HalfTurn,  SymmetryMode::QuarterTurn,
                                       SymmetryMode::Diagonal};
constexpr const char *SymmetryNames[] = {"none", "left-right", "top-bottom", "four-way", "half-turn", "quarter-turn",
                                         "diagonal"};
constexpr LandStyle Styles[] = {LandStyle::Continent, LandStyle::Islands, LandStyle::Lakes, LandStyle::Coast};
constexpr const char *StyleNames[] = {"continent", "islands", "lakes", "coast"};
constexpr RoadPlan Plans[] = {RoadPlan::None, RoadPlan::Players, RoadPlan::Centre};
constexpr const char *PlanNames[] = {"none", "players", "centre"};

template <typename Value, std::size_t N>
QString nameOf(const Value (&values)[N], const char *const (&names)[N], Value value)
{
    const auto found = std::find(std::begin(values), std::end(values), value);
    return found == std::end(values) ? QString() : QString::fromLatin1(names[found - std::begin(values)]);
}

template <typename Value, std::size_t N>
std::optional<Value> valueOf(const Value (&values)[N], const char *const (&names)[N], const QString &name)
{
    for (std::size_t i = 0; i < N; ++i)
        if (name == QLatin1String(names[i]))
            return values[i];
    return std::nullopt;
}

}  // namespace

std::span<const TerrainMix> terrainMixes()
{
    return Mixes;
}

QString symmetryName(SymmetryMode mode)
{
    return nameOf(Symmetries, SymmetryNames, mode);
}

std::optional<SymmetryMode> symmetryFromName(const QString &name)
{
    return valueOf(Symmetries, SymmetryNames, name);
}

QString styleName(LandStyle style)
{
    return nameOf(Styles, StyleNames, style);
}

std::optional<LandStyle> styleFromName(const QString &name)
{
    return valueOf(Styles, StyleNames, name);
}

QString roadPlanName(RoadPlan plan)
{
    return nameOf(Plans, PlanNames, plan);
}

std::optional<RoadPlan> roadPlanFromName(const QString &name)
{
    return valueOf(Plans, PlanNames, name);
}

std::optional<int> mixFromName(const QString &name)
{
    for (std::size_t i = 0; i < std::size(Mixes); ++i)
        if (name == QLatin1String(Mixes[i].name))
            return int(i);
    return std::nullopt;
}

std::span<const SymmetryMode> generateSymmetries()
{
    return Symmetries;
}

std::span<const LandStyle> landStyles()
{
    return Styles;
}

int sideCount(SymmetryMode mode)
{
    switch (mode) {
    case SymmetryMode::Off:
        return 1;
    case SymmetryMode::FourWay:
    case SymmetryMode::QuarterTurn:
        return 4;
    default:
        return 2;
    }
}

PercentRange waterRange(LandStyle style)
{
    switch (style) {
    case LandStyle::Continent:
        return {0, 60};
    case LandStyle::Islands:
        return {35, 80};
    case LandStyle::Lakes:
        return {5, 40};
    case LandStyle::Coast:
        return {10, 60};
    }
    return {0, 0};
}

std::optional<GenerateRefusal> checkGenerateOptions(const GenerateOptions &options, std::uint32_t side, int levelCount)
{
    using Option = GenerateRefusal::Option;
    using Cause = GenerateRefusal::Cause;
    if (options.level < 0 || options.level >= levelCount)
        return GenerateRefusal{Option::Level, Cause::NoSuchLevel};
    if (side < MinGenerateSide)
        return GenerateRefusal{Option::Size, Cause::TooSmall};
    if (options.mix < 0 || options.mix >= int(std::size(Mixes)))
        return GenerateRefusal{Option::Mix, Cause::OutOfRange};
    if (options.roughPercent < 0 || options.roughPercent > MaxRoughPercent)
        return GenerateRefusal{Option::Rough, Cause::OutOfRange};
    if (options.rivers < 0 || options.rivers > MaxRivers)
        return GenerateRefusal{Option::Rivers, Cause::OutOfRange};
    if (options.waterPercent < 0 || options.waterPercent > MaxWaterPercent)
        return GenerateRefusal{Option::Water, Cause::OutOfRange};
    const PercentRange range = waterRange(options.style);
    if (options.waterPercent < range.low || options.waterPercent > range.high)
        return GenerateRefusal{Option::Water, Cause::WaterOutOfRange};
    if (options.roads == RoadPlan::Players && sideCount(options.symmetry) < 2)
        return GenerateRefusal{Option::Roads, Cause::OneSide};
    return std::nullopt;
}

QString refusalText(const GenerateRefusal &refusal, const GenerateOptions &options)
{
    using Cause = GenerateRefusal::Cause;
    switch (refusal.cause) {
    case Cause::NoSuchLevel:
        return QStringLiteral("--level %1: the map has no such level").arg(options.level);
    case Cause::TooSmall:
        return QStringLiteral("the map is too small to generate (a side of at least %1 cells)").arg(MinGenerateSide);
    case Cause::WaterOutOfRange: {
        const PercentRange range = waterRange(options.style);
        return QStringLiteral("--water %1: %2 allows a water share of %3 to %4 %")
            .arg(options.waterPercent)
            .arg(styleName(options.style))
            .arg(range.low)
            .arg(range.high);
    }
    case Cause::OneSide:
        return QStringLiteral("--roads players: with symmetry none there is one side, and no other start zone to join");
    case Cause::OutOfRange:
        switch (refusal.option) {
        case GenerateRefusal::Option::Rivers:
            return QStringLiteral("--rivers %1: at most %2 for each side").arg(options.rivers).arg(MaxRivers);
        case GenerateRefusal::Option::Rough:
            return QStringLiteral("--rough %1: at most %2 %").arg(options.roughPercent).arg(MaxRoughPercent);
        case GenerateRefusal::Option::Water:
            return QStringLiteral("--water %1: at most %2 %").arg(options.waterPercent).arg(MaxWaterPercent);
        default:
            return QStringLiteral("--mix: no such preset");
        }
    case Cause::WaterMissed:
        return QStringLiteral("--water %1: the land the start zones, roads and rivers need leaves the level's water "
                              "share more than %2 points away")
            .arg(options.waterPercent)
            .arg(WaterTolerance);
    case Cause::NoFittingPicture:
        return QStringLiteral("--rules: the rules have no picture for some cells of this level");
    }
    return {};
}
