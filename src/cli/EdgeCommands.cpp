// brackwen-cli edges: the terrain, river and road rules applied to every cell
// of a map.
#include "cli/Commands.h"

#include "edit/PathPieces.h"
#include "edit/TerrainEdges.h"
#include "map/MapFile.h"
#include "rules/TerrainEdgeRules.h"

#include <array>
#include <future>
#include <optional>

namespace {

int runEdges(const CliArgs &args, CliContext &context);

constexpr const char *MapAndOut[] = {"MAP", "OUT"};
constexpr CliOption Options[] = {
    RulesOption,
    {"--level", {CliValueKind::Level}, nullptr, "the level to give the pictures (both unless one is named)"},
    {"--only",
     {CliValueKind::Choice, 0, 0, [] { return QStringList{"terrain", "rivers", "roads"}; }},
     nullptr,
     "apply only the terrain rules, or only the pieces of rivers or of roads"},
};
constexpr CliForm Forms[] = {{nullptr, MapAndOut, Options}};

constexpr std::array Commands = {
    CliCommand{"edges",
               "Give every cell of the map (of both levels unless one is named) the terrain picture, river piece and "
               "road piece of the edge rules (default terrain-edges.ini in the current folder; one of the three with "
               "--only), and save it to OUT",
               Forms, runEdges},
};

// What --only leaves to do: the terrain, or one of the two paths.
enum class Only { Terrain, Rivers, Roads };

std::optional<Only> onlyFrom(const QString &word)
{
    if (word == QLatin1String("terrain"))
        return Only::Terrain;
    if (word == QLatin1String("rivers"))
        return Only::Rivers;
    if (word == QLatin1String("roads"))
        return Only::Roads;
    return std::nullopt;
}

// How many pictures of each kind the rules changed; a cell may have all three.
struct Changes {
    std::size_t terrain = 0;
    std::size_t rivers = 0;
    std::size_t roads = 0;
};

// Applies the rules the choice asks for to a whole layer.
void applyRules(TerrainLayer &layer, const TerrainEdgeRules &rules, const std::optional<Only> &only, Changes &changes)
{
    if (!only || *only == Only::Terrain)
        changes.terrain += applyTerrainEdgesToLayer(layer, rules);
    if (!only || *only == Only::Rivers)
        changes.rivers += applyPathPiecesToLayer(layer, rules.paths(), PathLayer::River);
    if (!only || *only == Only::Roads)
        changes.roads += applyPathPiecesToLayer(layer, rules.paths(), PathLayer::Road);
}

// "12 terrain, 3 river and 4 road pictures changed", or the one kind asked for.
QString summary(const Changes &changes, const std::optional<Only> &only)
{
    if (!only)
        return QStringLiteral("%1 terrain, %2 river and %3 road pictures changed").arg(changes.terrain).arg(changes.rivers).arg(changes.roads);
    const std::size_t count = *only == Only::Terrain ? changes.terrain : *only == Only::Rivers ? changes.rivers : changes.roads;
    const char *kind = *only == Only::Terrain ? "terrain" : *only == Only::Rivers ? "river" : "road";
    return QStringLiteral("%1 %2 pictures changed").arg(count).arg(QLatin1String(kind));
}

int runEdges(const CliArgs &args, CliContext &context)
{
    const std::optional<Only> only = args.has("--only") ? onlyFrom(args.value("--only")) : std::nullopt;
    CliMapAndRules inputs = cliOpenMapAndRules(args, context, DefaultRules::Required);
    if (!inputs.ok())
        return cliFail(context, inputs.refusal());
    const CliRules &rules = inputs.rules;
    CliMap &map = inputs.map;
    MapDocument &document = map.document();

    const int firstLevel = map.level;
    const int lastLevel = args.has("--level") ? map.level : document.levelCount() - 1;
    // The levels share nothing but the rules, which are only read: the
    // underground is worked out on a thread of its own beside the surface.
    Changes changes;
    Changes secondChanges;
    std::future<void> second;
    if (lastLevel > firstLevel)
        second = std::async(std::launch::async,
                            [&] { applyRules(document.layer(lastLevel), *rules.rules, only, secondChanges); });
    applyRules(document.layer(firstLevel), *rules.rules, only, changes);
    if (second.valid()) {
        second.get();
        changes.terrain += secondChanges.terrain;
        changes.rivers += secondChanges.rivers;
        changes.roads += secondChanges.roads;
    }
    if (const int status = cliSaveMap(document, args.arguments[1], context))
        return status;
    context.out << summary(changes, only) << Qt::endl;
    return 0;
}

}  // namespace

std::span<const CliCommand> edgeCommands()
{
    return Commands;
}
