// brackwen-cli commands of the map maker's tools: fill (any terrain over the
// region of a cell's type) and stats (how much each type covers).
#include "cli/Commands.h"

#include "check/SymmetryNames.h"
#include "edit/CellEditor.h"
#include "edit/CellPosition.h"
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

int runFill(const CliArgs &args, CliContext &context);
int runStats(const CliArgs &args, CliContext &context);

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

// A cell as COLUMN,ROW.
std::optional<CellPosition> parseCell(const QString &text)
{
    const QStringList coordinates = text.split(u',');
    if (coordinates.size() != 2)
        return std::nullopt;
    const std::optional<std::uint32_t> column = parseDecimal(coordinates[0], 0xFFFF);
    const std::optional<std::uint32_t> row = parseDecimal(coordinates[1], 0xFFFF);
    if (!column || !row)
        return std::nullopt;
    return CellPosition{std::uint16_t(*column), std::uint16_t(*row)};
}

constexpr const char *MapAndOut[] = {"MAP", "OUT"};
constexpr const char *MapArgument[] = {"MAP"};
constexpr CliOption FillOptions[] = {
    {"--at",
     {CliValueKind::Checked, 0, 0, nullptr, [](const QString &text) { return parseCell(text).has_value(); },
      "a cell as COLUMN,ROW (such as 12,7)"},
     "X,Y",
     "the cell whose region is filled",
     0,
     true},
    {"--terrain",
     {CliValueKind::Checked, 0, 0, nullptr, [](const QString &text) { return parseTerrainType(text).has_value(); },
      "a terrain type (0..9, or a name such as Grass or Water)"},
     "T",
     "the terrain to fill with: 0..9 or a name such as Water",
     0,
     true},
    LevelOption,
    RulesOption,
    {"--all", {}, nullptr, "fill every cell of the cell's type on the level, not only its region"},
};
constexpr CliOption StatsOptions[] = {
    LevelOption,
    {"--sides", {CliValueKind::Choice, 0, 0, symmetryWords}, "MODE",
     "the fairness figures of each players' side of the symmetry MODE instead"},
    JsonOption,
};
constexpr CliForm FillForms[] = {{nullptr, MapAndOut, FillOptions}};
constexpr CliForm StatsForms[] = {{nullptr, MapArgument, StatsOptions}};

constexpr std::array Commands = {
    CliCommand{"fill",
               "Turn the region of the terrain type of cell X,Y (with --all every cell of that type on the level) "
               "into terrain T (0..9 or a name such as Water), with plain pictures or those of the edge rules, "
               "and save the map to OUT",
               FillForms, runFill},
    CliCommand{"stats",
               "Print how many cells of the level (0 unless named) have each terrain, river and road type, as a "
               "table or as one line of JSON; with --sides, the fairness figures of each players' side of the "
               "symmetry MODE, the largest differences first",
               StatsForms, runStats},
};

int runFill(const CliArgs &args, CliContext &context)
{
    const CellPosition at = *parseCell(args.value("--at"));
    const std::uint8_t terrain = *parseTerrainType(args.value("--terrain"));
    CliMapAndRules inputs = cliOpenMapAndRules(args, context, DefaultRules::None);
    if (!inputs.ok())
        return cliFail(context, inputs.refusal());
    const CliRules &rules = inputs.rules;
    CliMap &map = inputs.map;
    MapDocument &document = map.document();
    if (at.column >= document.mapSize || at.row >= document.mapSize)
        return cliFail(context, QStringLiteral("cell %1,%2 is outside the map (columns and rows 0..%3)")
                                    .arg(at.column)
                                    .arg(at.row)
                                    .arg(document.mapSize - 1));

    // The terrain type with "n/c" as its picture, and every other part of the
    // cell left as it is.
    const BrushSettings brush = BrushSettings::fromSelectors(
        {.CBtertype = terrain, .CBterconf = maxTerrainSprite[terrain] + 1}, {});
    // Saved and never taken back: no undo records.
    CellEditor editor(document, map.level);
    const FillResult result = replaceFill(editor, brush, at.column, at.row, {args.has("--all"), rules.get()},
                                          cliProgressBar(context, QStringLiteral("Filling  ")));
    if (const int status = cliSaveMap(document, args.arguments[1], context))
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

int runStats(const CliArgs &args, CliContext &context)
{
    if (args.has("--sides"))
        return runSideStats(args, context);
    CliMap map = cliOpenMap(args, context);
    if (!map.ok())
        return cliFail(context, map.refusal);
    const MapDocument &document = map.document();
    const TerrainStats stats = TerrainStats::of(map.layer());

    if (args.has("--json")) {
        const QJsonObject object{{"level", map.level},
                                 {"size", qint64(document.mapSize)},
                                 {"cells", qint64(stats.cellCount())},
                                 {"terrain", jsonLines(stats.terrainLines())},
                                 {"rivers", jsonLines(stats.riverLines())},
                                 {"roads", jsonLines(stats.roadLines())}};
        context.out << QJsonDocument(object).toJson(QJsonDocument::Compact) << Qt::endl;
        return 0;
    }
    context.out << "Level " << map.level << ": " << document.mapSize << " x " << document.mapSize << " = "
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
