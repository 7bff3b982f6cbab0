// brackwen-cli commands of the map maker's tools: fill (any terrain over the
// region of a cell's type) and stats (how much each type covers).
#include "cli/Commands.h"

#include "edit/CellEditor.h"
#include "edit/ReplaceFill.h"
#include "edit/TerrainStats.h"
#include "map/MapFile.h"
#include "rules/TerrainEdgeRules.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <array>
#include <optional>

namespace {

int runFill(const QStringList &args, CliContext &context);
int runStats(const QStringList &args, CliContext &context);

constexpr std::array Commands = {
    CliCommand{"fill", "MAP OUT --at X,Y --terrain T [--level N] [--rules FILE] [--all]",
               "Turn the region of the terrain type of cell X,Y (with --all every cell of that type on the level) "
               "into terrain T (0..9 or a name such as Water), with plain pictures or those of the edge rules, "
               "and save the map to OUT",
               runFill},
    CliCommand{"stats", "MAP [--level N] [--sides MODE] [--json]",
               "Print how many cells of the level (0 unless named) have each terrain, river and road type, as a "
               "table or as one line of JSON; with --sides, the fairness figures of each players' side of the "
               "symmetry MODE, the largest differences first",
               runStats},
};

// A terrain type by number or by name, whatever the letter case.
std::optional<std::uint8_t> parseTerrainType(const QString &text)
{
    if (const std::optional<std::uint32_t> number = parseDecimal(text, TerrainTypeCount - 1))
        return std::uint8_t(*number);
    for (int type = 0; type < TerrainTypeCount; ++type)
        if (text.compare(terrainTypeName(std::uint8_t(type)), Qt::CaseInsensitive) == 0)
            return std::uint8_t(type);
    return std::nullopt;
}

// The level the words name, or a reason for refusing it.
struct LevelChoice {
    int level = 0;
    QString refusal;
};

LevelChoice chooseLevel(const std::optional<std::uint32_t> &level, const MapDocument &document)
{
    if (level && int(*level) >= document.levelCount())
        return {0, QStringLiteral("the map has no level %1").arg(*level)};
    return {level ? int(*level) : 0, {}};
}

int runFill(const QStringList &args, CliContext &context)
{
    QStringList positional;
    QString at, terrainText, rulesPath;
    std::optional<std::uint32_t> level;
    bool wholeLevel = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == QLatin1String("--at") && hasValue)
            at = args[++i];
        else if (arg == QLatin1String("--terrain") && hasValue)
            terrainText = args[++i];
        else if (arg == QLatin1String("--rules") && hasValue)
            rulesPath = args[++i];
        else if (arg == QLatin1String("--level") && hasValue && (level = parseDecimal(args[i + 1], 255)))
            ++i;
        else if (arg == QLatin1String("--all"))
            wholeLevel = true;
        else if (!arg.startsWith(QLatin1String("--")))
            positional << arg;
        else
            return cliUsage(context, Commands[0]);
    }
    if (positional.size() != 2 || at.isEmpty() || terrainText.isEmpty())
        return cliUsage(context, Commands[0]);

    const QStringList coordinates = at.split(u',');
    const std::optional<std::uint32_t> column = coordinates.size() == 2 ? parseDecimal(coordinates[0], 0xFFFF) : std::nullopt;
    const std::optional<std::uint32_t> row = coordinates.size() == 2 ? parseDecimal(coordinates[1], 0xFFFF) : std::nullopt;
    if (!column || !row)
        return cliFail(context, QStringLiteral("--at wants a cell as COLUMN,ROW (such as 12,7), not \"%1\"").arg(at));
    const std::optional<std::uint8_t> terrain = parseTerrainType(terrainText);
    if (!terrain)
        return cliFail(context, QStringLiteral("\"%1\" is not a terrain type (0..9, or a name such as Grass or Water)")
                                    .arg(terrainText));
    std::optional<TerrainEdgeRules> rules;
    if (!rulesPath.isEmpty()) {
        TerrainEdgeRulesResult read = readTerrainEdgeRules(rulesPath);
        if (!read.ok())
            return cliFail(context, QStringLiteral("%1: %2").arg(rulesPath, read.reason));
        rules = std::move(read.rules);
    }

    MapLoadResult loaded = readMapFile(positional[0], cliProgressBar(context, QStringLiteral("Opening  ")));
    if (!loaded.ok())
        return cliFail(context, QStringLiteral("%1: %2").arg(positional[0], loaded.reason));
    MapDocument &document = *loaded.document;
    const LevelChoice chosen = chooseLevel(level, document);
    if (!chosen.refusal.isEmpty())
        return cliFail(context, chosen.refusal);
    if (*column >= document.mapSize || *row >= document.mapSize)
        return cliFail(context, QStringLiteral("cell %1,%2 is outside the map (columns and rows 0..%3)")
                                    .arg(*column)
                                    .arg(*row)
                                    .arg(document.mapSize - 1));
    document.pointCurrentLayerAt(chosen.level);

    // The terrain type with "n/c" as its picture, and every other part of the
    // cell left as it is.
    const BrushSettings brush = BrushSettings::fromSelectors(
        {.CBtertype = *terrain, .CBterconf = maxTerrainSprite[*terrain] + 1}, {});
    // Saved and never taken back: no undo records.
    CellEditor editor(document);
    const FillResult result = replaceFill(editor, brush, std::uint16_t(*column), std::uint16_t(*row),
                                          {wholeLevel, rules ? &*rules : nullptr},
                                          cliProgressBar(context, QStringLiteral("Filling  ")));
    if (const int status = cliSaveMap(document, positional[1], context))
        return status;
    context.out << result.changed << " cells changed" << Qt::endl;
    return 0;
}

QJsonArray jsonLines(const std::vector<TerrainStats::Line> &lines)
{
    QJsonArray array;
    for (const TerrainStats::Line &line : lines)
        array.append(QJsonObject{{"type", line.type},
                                 {"name", line.name},
                                 {"count", qint64(line.count)},
                                 {"percent", line.percent}});
    return array;
}

void printTable(QTextStream &out, const QString &title, const std::vector<TerrainStats::Line> &lines)
{
    out << title << '\n';
    for (const TerrainStats::Line &line : lines)
        out << qSetFieldWidth(5) << int(line.type) << qSetFieldWidth(0) << "  " << qSetFieldWidth(14)
            << Qt::left << (line.name.isEmpty() ? QStringLiteral("unknown") : line.name) << Qt::right
            << qSetFieldWidth(12) << line.count << qSetFieldWidth(9) << QString::number(line.percent, 'f', 2)
            << qSetFieldWidth(0) << "%\n";
}

int runStats(const QStringList &args, CliContext &context)
{
    if (args.contains(QLatin1String("--sides")))
        return runSideStats(args, context, Commands[1]);
    QStringList positional;
    std::optional<std::uint32_t> level;
    bool json = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (arg == QLatin1String("--level") && i + 1 < args.size() && (level = parseDecimal(args[i + 1], 255)))
            ++i;
        else if (arg == QLatin1String("--json"))
            json = true;
        else if (!arg.startsWith(QLatin1String("--")))
            positional << arg;
        else
            return cliUsage(context, Commands[1]);
    }
    if (positional.size() != 1)
        return cliUsage(context, Commands[1]);

    const MapLoadResult loaded = readMapFile(positional[0], cliProgressBar(context, QStringLiteral("Opening  ")));
    if (!loaded.ok())
        return cliFail(context, QStringLiteral("%1: %2").arg(positional[0], loaded.reason));
    const MapDocument &document = *loaded.document;
    const LevelChoice chosen = chooseLevel(level, document);
    if (!chosen.refusal.isEmpty())
        return cliFail(context, chosen.refusal);
    const TerrainStats stats = TerrainStats::of(document.layer(chosen.level));

    if (json) {
        const QJsonObject object{{"level", chosen.level},
                                 {"size", qint64(document.mapSize)},
                                 {"cells", qint64(stats.cellCount())},
                                 {"terrain", jsonLines(stats.terrainLines())},
                                 {"rivers", jsonLines(stats.riverLines())},
                                 {"roads", jsonLines(stats.roadLines())}};
        context.out << QJsonDocument(object).toJson(QJsonDocument::Compact) << Qt::endl;
        return 0;
    }
    context.out << "Level " << chosen.level << ": " << document.mapSize << " x " << document.mapSize << " = "
                << stats.cellCount() << " cells\n";
    printTable(context.out, QStringLiteral("Terrain"), stats.terrainLines());
    printTable(context.out, QStringLiteral("River"), stats.riverLines());
    printTable(context.out, QStringLiteral("Road"), stats.roadLines());
    context.out.flush();
    return 0;
}

}  // namespace

std::span<const CliCommand> toolCommands()
{
    return Commands;
}
