// brackwen-cli generate: a level's terrain, rivers and roads made by the
// symmetric generator, as the editor's Generate terrain dialog makes them.
#include "cli/Commands.h"

#include "generate/TerrainGenerator.h"
#include "map/MapFile.h"
#include "rules/TerrainEdgeRules.h"

#include <QFileInfo>

#include <algorithm>
#include <array>
#include <optional>

namespace {

int runGenerate(const QStringList &args, CliContext &context);

const std::array<CliCommand, 1> Commands = {{
    {"generate",
     "MAP OUT --seed N [--symmetry none|left-right|top-bottom|four-way|half-turn|quarter-turn|diagonal] "
     "[--style continent|islands|lakes|coast] [--water PERCENT] [--mix PRESET] [--rough PERCENT] [--rivers N] "
     "[--roads none|players|centre] [--level N] [--rules FILE]",
     "Generate the terrain, rivers and roads of a level of the map (level 0 unless another is named) from the seed, "
     "symmetric under the mode, and save it to OUT; pictures from the edge rules of FILE (default terrain-edges.ini "
     "in the current folder when there is one, plain pictures otherwise). Mix presets: temperate, northern, desert, "
     "marsh, volcanic, underground",
     runGenerate},
}};

// The option's value as a whole number up to limit, or none.
std::optional<int> number(const QString &text, std::uint32_t limit)
{
    const std::optional<std::uint32_t> value = parseDecimal(text, limit);
    return value ? std::optional<int>(int(*value)) : std::nullopt;
}

int runGenerate(const QStringList &args, CliContext &context)
{
    const CliCommand &command = Commands[0];
    QStringList positional;
    GenerateOptions options;
    bool seedGiven = false;
    std::optional<QString> rulesPath;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (!arg.startsWith(QLatin1String("--"))) {
            positional << arg;
            continue;
        }
        if (i + 1 >= args.size())
            return cliUsage(context, command);
        const QString &value = args[++i];
        const auto unknown = [&] { return cliFail(context, QStringLiteral("%1 %2: no such value").arg(arg, value)); };
        if (arg == QLatin1String("--seed")) {
            // Any 32-bit number: more digits than parseDecimal takes.
            bool ok = false;
            const qulonglong seed = value.toULongLong(&ok);
            const bool digits = std::all_of(value.begin(), value.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
            if (!ok || !digits || value.size() > 10 || seed > 0xFFFFFFFFull)
                return unknown();
            options.seed = std::uint32_t(seed);
            seedGiven = true;
        } else if (arg == QLatin1String("--symmetry")) {
            const std::optional<SymmetryMode> mode = symmetryFromName(value);
            if (!mode)
                return unknown();
            options.symmetry = *mode;
        } else if (arg == QLatin1String("--style")) {
            const std::optional<LandStyle> style = styleFromName(value);
            if (!style)
                return unknown();
            options.style = *style;
        } else if (arg == QLatin1String("--roads")) {
            const std::optional<RoadPlan> plan = roadPlanFromName(value);
            if (!plan)
                return unknown();
            options.roads = *plan;
        } else if (arg == QLatin1String("--mix")) {
            const std::optional<int> mix = mixFromName(value);
            if (!mix)
                return unknown();
            options.mix = *mix;
        } else if (arg == QLatin1String("--water") || arg == QLatin1String("--rough")
                   || arg == QLatin1String("--rivers") || arg == QLatin1String("--level")) {
            // Numbers beyond the limits are the generator's refusal, which names them.
            const std::optional<int> parsed = number(value, 1000);
            if (!parsed)
                return unknown();
            int &target = arg == QLatin1String("--water") ? options.waterPercent
                : arg == QLatin1String("--rough")         ? options.roughPercent
                : arg == QLatin1String("--rivers")        ? options.rivers
                                                          : options.level;
            target = *parsed;
        } else if (arg == QLatin1String("--rules")) {
            rulesPath = value;
        } else {
            return cliUsage(context, command);
        }
    }
    if (positional.size() != 2 || !seedGiven)
        return cliUsage(context, command);

    const QString defaultRules = QString::fromLatin1(TerrainEdgeRulesFileName);
    if (!rulesPath && QFileInfo::exists(defaultRules))
        rulesPath = defaultRules;
    std::optional<TerrainEdgeRules> rules;
    if (rulesPath) {
        TerrainEdgeRulesResult read = readTerrainEdgeRules(*rulesPath);
        if (!read.ok())
            return cliFail(context, QStringLiteral("%1: %2").arg(*rulesPath, read.reason));
        rules = std::move(read.rules);
    }
    MapLoadResult loaded = readMapFile(positional[0], cliProgressBar(context, QStringLiteral("Opening   ")));
    if (!loaded.ok())
        return cliFail(context, QStringLiteral("%1: %2").arg(positional[0], loaded.reason));
    MapDocument &document = *loaded.document;
    if (const auto refusal = checkGenerateOptions(options, document.mapSize, document.levelCount()))
        return cliFail(context, refusalText(*refusal, options));

    GenerateControl control;
    control.progress = cliProgressBar(context, QStringLiteral("Generating"));
    const GenerateResult result =
        generateTerrain(document.layer(options.level), options, rules ? &*rules : nullptr, control);
    if (result.refusal)
        return cliFail(context, refusalText(*result.refusal, options));
    if (const int status = cliSaveMap(document, positional[1], context))
        return status;
    const std::size_t cells = document.layer(options.level).cellCount();
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
