// brackwen-cli transform: flipping or turning a level of a map, or making it
// symmetric by copying one half onto the other.
#include "cli/Commands.h"

#include "edit/TerrainEdgeRules.h"
#include "edit/Transforms.h"
#include "map/MapFile.h"

#include <array>
#include <optional>

namespace {

int runTransform(const QStringList &args, CliContext &context);

const std::array<CliCommand, 1> Commands = {{
    {"transform", "MAP OUT --flip h|v | --turn 90|180|270 | --mirror-half left|top [--level N | --all-levels] [--rules FILE]",
     "Flip a level of the map horizontally or vertically, turn it clockwise, or copy its left or top half mirrored "
     "onto the other half (level 0 unless another or all are named), and save it to OUT; the rules of FILE give "
     "the cells that meet new neighbours (all after a quarter turn, those along the seam or border otherwise) "
     "their terrain pictures and river and road pieces",
     runTransform},
}};

// What the command does to each level: a transform or a mirrored half.
struct Operation {
    std::optional<Transform> transform;
    std::optional<LevelHalf> half;

    bool isSet() const { return transform || half; }
};

std::optional<Operation> parseOperation(const QString &option, const QString &value)
{
    if (option == QLatin1String("--flip")) {
        if (value == QLatin1String("h"))
            return Operation{Transform::FlipHorizontal, {}};
        if (value == QLatin1String("v"))
            return Operation{Transform::FlipVertical, {}};
    } else if (option == QLatin1String("--turn")) {
        if (value == QLatin1String("90"))
            return Operation{Transform::Turn90, {}};
        if (value == QLatin1String("180"))
            return Operation{Transform::Turn180, {}};
        if (value == QLatin1String("270"))
            return Operation{Transform::Turn270, {}};
    } else if (option == QLatin1String("--mirror-half")) {
        if (value == QLatin1String("left"))
            return Operation{{}, LevelHalf::Left};
        if (value == QLatin1String("top"))
            return Operation{{}, LevelHalf::Top};
    }
    return std::nullopt;
}

// What the command reports for one level.
QString levelReport(int level, const Operation &operation, std::size_t changed, bool edgesApplied)
{
    QString report = QStringLiteral("level %1: %2 cells changed").arg(level).arg(changed);
    if (operation.transform && swapsSides(*operation.transform))
        report += edgesApplied ? QStringLiteral(", terrain pictures from the edge rules")
                               : QStringLiteral(", terrain pictures moved but not turned (no --rules)");
    return report;
}

int runTransform(const QStringList &args, CliContext &context)
{
    const CliCommand &command = Commands[0];
    QStringList positional;
    Operation operation;
    std::optional<QString> levelText;
    bool allLevels = false;
    std::optional<QString> rulesPath;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == QLatin1String("--flip") || arg == QLatin1String("--turn") || arg == QLatin1String("--mirror-half")) {
            if (!hasValue)
                return cliUsage(context, command);
            const QString &value = args[++i];
            const std::optional<Operation> parsed = parseOperation(arg, value);
            if (!parsed)
                return cliFail(context, QStringLiteral("%1 does not take \"%2\" (see --help)").arg(arg, value));
            if (operation.isSet())
                return cliFail(context, QStringLiteral("name one of --flip, --turn and --mirror-half, once"));
            operation = *parsed;
        } else if (arg == QLatin1String("--level") && hasValue) {
            levelText = args[++i];
        } else if (arg == QLatin1String("--all-levels")) {
            allLevels = true;
        } else if (arg == QLatin1String("--rules") && hasValue) {
            rulesPath = args[++i];
        } else if (!arg.startsWith(QLatin1String("--"))) {
            positional << arg;
        } else {
            return cliUsage(context, command);
        }
    }
    if (positional.size() != 2 || !operation.isSet())
        return cliUsage(context, command);
    if (levelText && allLevels)
        return cliFail(context, QStringLiteral("name either --level or --all-levels, not both"));
    const std::optional<std::uint32_t> level = levelText ? parseDecimal(*levelText, 255) : 0u;
    if (!level)
        return cliFail(context, QStringLiteral("--level takes a level number (0 or 1), not \"%1\"").arg(*levelText));

    std::optional<TerrainEdgeRules> rules;
    if (rulesPath) {
        TerrainEdgeRulesResult read = readTerrainEdgeRules(*rulesPath);
        if (!read.ok())
            return cliFail(context, QStringLiteral("%1: %2").arg(*rulesPath, read.reason));
        rules = std::move(read.rules);
    }
    MapLoadResult loaded = readMapFile(positional[0], cliProgressBar(context, QStringLiteral("Opening  ")));
    if (!loaded.ok())
        return cliFail(context, QStringLiteral("%1: %2").arg(positional[0], loaded.reason));
    MapDocument &document = *loaded.document;
    if (int(*level) >= document.levelCount())
        return cliFail(context, QStringLiteral("the map has no level %1").arg(*level));

    const int firstLevel = allLevels ? 0 : int(*level);
    const int lastLevel = allLevels ? document.levelCount() - 1 : int(*level);
    QStringList reports;
    for (int each = firstLevel; each <= lastLevel; ++each) {
        TerrainLayer &layer = document.layer(each);
        if (operation.half) {
            reports << levelReport(each, operation, mirrorHalf(layer, *operation.half, rules ? &*rules : nullptr), false);
            continue;
        }
        const TransformResult result = transformLayer(layer, *operation.transform, rules ? &*rules : nullptr);
        if (!result.ok())
            return cliFail(context, QStringLiteral("level %1: %2").arg(each).arg(transformRefusalText(result.refusal)));
        reports << levelReport(each, operation, result.changed, result.edgesApplied);
    }
    if (const int status = cliSaveMap(document, positional[1], context))
        return status;
    for (const QString &report : reports)
        context.out << report << '\n';
    context.out.flush();
    return 0;
}

}  // namespace

std::span<const CliCommand> transformCommands()
{
    return Commands;
}
