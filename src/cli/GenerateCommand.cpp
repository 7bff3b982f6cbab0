// brackwen-cli generate: a level's terrain, rivers and roads made by the
// symmetric generator, as the editor's Generate terrain dialog makes them.
#include "cli/Commands.h"

#include "generate/TerrainGenerator.h"
#include "map/MapFile.h"
#include "rules/TerrainEdgeRules.h"

#include <array>
#include <optional>

namespace {

int runGenerate(const CliArgs &args, CliContext &context);

QStringList generatorSymmetryWords()
{
    QStringList words;
    for (const SymmetryMode mode : generateSymmetries())
        words << symmetryName(mode);
    return words;
}

QStringList styleWords()
{
    QStringList words;
    for (const LandStyle style : landStyles())
        words << styleName(style);
    return words;
}

QStringList mixWords()
{
    QStringList words;
    for (const TerrainMix &mix : terrainMixes())
        words << QString::fromLatin1(mix.name);
    return words;
}

QStringList roadWords()
{
    QStringList words;
    for (const RoadPlan plan : {RoadPlan::None, RoadPlan::Players, RoadPlan::Centre})
        words << roadPlanName(plan);
    return words;
}

// Numbers beyond the generator's limits are its refusal, which names them;
// the table keeps out only what is no share or count at all.
constexpr const char *MapAndOut[] = {"MAP", "OUT"};
constexpr CliOption Options[] = {
    {"--seed", {CliValueKind::Number, 0, 0xFFFFFFFFu}, "N", "the seed: the same seed and options give the same level",
     0, true},
    {"--symmetry", {CliValueKind::Choice, 0, 0, generatorSymmetryWords}, nullptr,
     "the symmetry of the level, one players' side for each of its parts (none unless named)"},
    {"--style", {CliValueKind::Choice, 0, 0, styleWords}, nullptr, "where the land lies (continent unless named)"},
    {"--water", {CliValueKind::Number, 0, 100}, "PERCENT", "the share of water, within the range the style allows"},
    {"--mix", {CliValueKind::Choice, 0, 0, mixWords}, "PRESET", "the mix of land terrain (temperate unless named)"},
    {"--rough", {CliValueKind::Number, 0, 100}, "PERCENT", "how rough the land's terrain is"},
    {"--rivers", {CliValueKind::Number, 0, 99}, "N", "the number of rivers of each side"},
    {"--roads", {CliValueKind::Choice, 0, 0, roadWords}, nullptr, "which roads join what"},
    LevelOption,
    RulesOption,
};
constexpr CliForm Forms[] = {{nullptr, MapAndOut, Options}};

const std::array<CliCommand, 1> Commands = {{
    {"generate",
     "Generate the terrain, rivers and roads of a level of the map (level 0 unless another is named) from the seed, "
     "symmetric under the mode, and save it to OUT; pictures from the edge rules of FILE (default terrain-edges.ini "
     "in the current folder when there is one, plain pictures otherwise). Mix presets: temperate, northern, desert, "
     "marsh, volcanic, underground",
     Forms, runGenerate},
}};

int runGenerate(const CliArgs &args, CliContext &context)
{
    GenerateOptions options;
    options.seed = args.number("--seed", 0);
    if (args.has("--symmetry"))
        options.symmetry = *symmetryFromName(args.value("--symmetry"));
    if (args.has("--style"))
        options.style = *styleFromName(args.value("--style"));
    if (args.has("--roads"))
        options.roads = *roadPlanFromName(args.value("--roads"));
    if (args.has("--mix"))
        options.mix = *mixFromName(args.value("--mix"));
    options.waterPercent = int(args.number("--water", std::uint32_t(options.waterPercent)));
    options.roughPercent = int(args.number("--rough", std::uint32_t(options.roughPercent)));
    options.rivers = int(args.number("--rivers", std::uint32_t(options.rivers)));
    options.level = args.level();

    CliMapAndRules inputs = cliOpenMapAndRules(args, context, DefaultRules::WhenPresent);
    if (!inputs.ok())
        return cliFail(context, inputs.refusal());
    const CliRules &rules = inputs.rules;
    CliMap &map = inputs.map;
    MapDocument &document = map.document();
    if (const auto refusal = checkGenerateOptions(options, document.mapSize, document.levelCount()))
        return cliFail(context, refusalText(*refusal, options));

    GenerateControl control;
    control.progress = cliProgressBar(context, QStringLiteral("Generating"));
    const GenerateResult result = generateTerrain(map.layer(), options, rules.get(), control);
    if (result.refusal)
        return cliFail(context, refusalText(*result.refusal, options));
    if (const int status = cliSaveMap(document, args.arguments[1], context))
        return status;
    const std::size_t cells = map.layer().cellCount();
    context.out << QStringLiteral("level %1 generated: %2 sides, %3 of %4 cells water")
                       .arg(options.level)
                       .arg(sideCount(options.symmetry))
                       .arg(result.waterCells)
                       .arg(cells)
                << Qt::endl;
    return 0;
}

}  // namespace

std::span<const CliCommand> generateCommands()
{
    return Commands;
}
