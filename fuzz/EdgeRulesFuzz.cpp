// Fuzz target for the edge rules reader, its terrain, river and road
// sections. Any input must be either refused with the line at fault (or, for
// a file with no rule, as a whole), or give rules that, applied to a small
// layer made from the input, change only the pictures and mirror bits of
// their own layer, leave every cell as the rules choose it, and change
// nothing when applied again; the editor's path, with undo records, must give
// the same layer and take it back exactly; and a path laid on the result
// leaves it as the whole level's rules would. Run with --write-seeds=DIR
// first to write a small seed corpus of rules files.
#include "FuzzSeeds.h"

#include "edit/CellEditor.h"
#include "edit/PathLaying.h"
#include "edit/PathPieces.h"
#include "edit/TerrainEdges.h"
#include "writers/LoadedMap.h"

#include <QDir>
#include <QFile>

#include <cstdio>
#include <cstdlib>
#include <random>

namespace {

void writeSeeds(const QString &folder)
{
    QDir().mkpath(folder);
    QFile sample(QStringLiteral(BRACKWEN_SAMPLE_RULES));
    if (!sample.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read the sample rules\n");
        std::exit(1);
    }
    const QByteArray seeds[] = {
        sample.readAll(),
        "[terrain 8]\nrule = sss s.s sss : 0 1 2 3\nrule = *o* s.s sss : 10\nrule = *ss o.s *ss : 13 : lr\n"
        "rule = *o* o.o *o* : 22 : lr ud\n",
        "[terrain 2]\nsame = 4 3\nrule = sso s.s sss : 4 : ud\nrule = *** *.* *** : 5 6\n[terrain 4]\nlike = 2\n"
        "rule = ooo o.o ooo : 7\n",
        "# comment\n[ Terrain 0 ] ; dirt\nrule = s s s  s . s  s s s : 45 :\n",
        "[road 1]\njoins = 2 3\nrule = j o j o : 1\nrule = o j o j : 0\nrule = jj** : 2 : lr\nrule = * * * * : 15 16\n"
        "[road 2]\nlike = 1\n[river 4]\nrule = o * o * : 12 : ud\n",
        "[river 1]\njoins = 4\nrule = j j j j : 5\nrule = o o o o : 8 : lr ud\n[terrain 8]\nrule = *** *.* *** : 3\n",
    };
    int index = 0;
    for (const QByteArray &seed : seeds) {
        QFile file(QDir(folder).filePath(QStringLiteral("seed-%1").arg(index++)));
        if (!file.open(QIODevice::WriteOnly) || file.write(seed) != seed.size()) {
            std::fprintf(stderr, "cannot write seeds into %s\n", qPrintable(folder));
            std::exit(1);
        }
    }
}

// A layer of side 1..12 drawn from the input's bytes: terrain types 0..11
// (two beyond the known ones), river and road types 0..7 (beyond the known
// ones too), any pictures and mirror bits.
TerrainLayer layerFor(const std::uint8_t *bytes, std::size_t size)
{
    std::uint32_t hash = 2166136261u;
    for (std::size_t i = 0; i < size; ++i)
        hash = (hash ^ bytes[i]) * 16777619u;
    std::mt19937 random(hash);
    const std::uint32_t side = 1 + random() % 12;
    TerrainLayer layer(side);
    for (std::size_t i = 0; i < layer.cellCount(); ++i) {
        const std::uint32_t value = random();
        layer.data()[i] = {std::uint8_t(value % 12),        std::uint8_t(value >> 4),  std::uint8_t(value >> 8 & 7),
                           std::uint8_t(value >> 10 & 15), std::uint8_t(value >> 13 & 7), std::uint8_t(value >> 16),
                           std::uint8_t(value >> 24)};
    }
    return layer;
}

// True when the cells differ at most in the picture byte and the mirror bits.
bool sameExcept(const TerrainCell &a, const TerrainCell &b, std::uint8_t TerrainCell::*picture, std::uint8_t mirrorBits)
{
    TerrainCell left = a;
    TerrainCell right = b;
    left.*picture = right.*picture;
    left.mirror &= std::uint8_t(~mirrorBits);
    right.mirror &= std::uint8_t(~mirrorBits);
    return left == right;
}


// Takes back every record of the list.
void undoAll(MapDocument &document, UndoList &undoList)
{
    while (!undoList.isEmpty()) {
        const UndoRecord record = undoList.takeLast();
        document.ground.at(record.row, record.column) = record.previous;
    }
}

// The river or road rules of one layer on the edged layer: the same checks as
// for the terrain, and a path laid along a line drawn from the input's
// bytes leaves the layer as the whole level's rules would.
void checkPath(const PathRules &rules, PathLayer path, const TerrainLayer &original, std::uint32_t seed)
{
    TerrainLayer pieced = original;
    const std::size_t changed = applyPathPiecesToLayer(pieced, rules, path);
    const std::uint32_t side = pieced.side();
    std::size_t differing = 0;
    for (std::uint32_t row = 0; row < side; ++row)
        for (std::uint32_t column = 0; column < side; ++column) {
            const TerrainCell &cell = pieced.at(row, column);
            differing += !(cell == original.at(row, column));
            if (!sameExcept(cell, original.at(row, column), pathPictureField(path), pathMirrorBits(path))
                || !(piecedCell(rules, path, pieced, column, row) == cell))
                std::abort();
        }
    TerrainLayer again = pieced;
    if (differing != changed || applyPathPiecesToLayer(again, rules, path) != 0 || !(again == pieced))
        std::abort();

    MapDocument document = loadedMap(original);
    UndoList undoList;
    CellEditor editor(document, 0, undoList);
    if (applyPathPiecesToLevel(editor, rules, path) != changed || undoList.count() != changed || !(document.ground == pieced))
        std::abort();
    undoAll(document, undoList);
    if (!(document.ground == original))
        std::abort();

    document.ground = pieced;
    const CellPosition from{std::uint16_t(seed % (side + 1)), std::uint16_t(seed / 7 % side)};
    const CellPosition to{std::uint16_t(seed / 131 % side), std::uint16_t(seed / 4099 % (side + 1))};
    const std::uint8_t type = std::uint8_t(seed / 65537 % (pathTypeCount(path) + 1));
    const std::vector<CellPosition> cells = pathCells(from, to);
    layPath(editor, rules, path, type, cells, std::uint8_t(seed >> 24));
    TerrainLayer whole = document.ground;
    if (applyPathPiecesToLayer(whole, rules, path) != 0)
        std::abort();
    undoAll(document, undoList);
    if (!(document.ground == pieced))
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    return writeSeedsIfAsked(argc, argv, writeSeeds);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size)
{
    const TerrainEdgeRulesResult read = parseTerrainEdgeRules(QByteArray(reinterpret_cast<const char *>(bytes), qsizetype(size)));
    if (!read.ok()) {
        if (!read.reason.startsWith(QStringLiteral("line ")) && !read.reason.startsWith(QStringLiteral("the file has no rule"))
            && !read.reason.startsWith(QStringLiteral("the file is larger")))
            std::abort();
        if (read.reason.contains(QLatin1Char('\n')))
            std::abort();
        return 0;
    }
    const TerrainEdgeRules &rules = *read.rules;
    for (int tertype = 0; tertype < TerrainTypeCount; ++tertype)
        if (rules.hasRules(std::uint8_t(tertype)) == rules.rules(std::uint8_t(tertype)).empty())
            std::abort();

    const TerrainLayer original = layerFor(bytes, size);
    TerrainLayer edged = original;
    const std::size_t changed = applyTerrainEdgesToLayer(edged, rules);
    const std::uint32_t side = edged.side();
    std::size_t differing = 0;
    for (std::uint32_t row = 0; row < side; ++row)
        for (std::uint32_t column = 0; column < side; ++column) {
            const TerrainCell &cell = edged.at(row, column);
            differing += !(cell == original.at(row, column));
            if (!sameExcept(cell, original.at(row, column), &TerrainCell::terconf,
                            MirrorBit::TerrainLeftRight | MirrorBit::TerrainUpsideDown)
                || !(edgedCell(rules, edged, column, row) == cell))
                std::abort();
        }
    TerrainLayer again = edged;
    if (differing != changed || applyTerrainEdgesToLayer(again, rules) != 0 || !(again == edged))
        std::abort();

    // The editor's path: the same cells, one record each, taken back exactly.
    MapDocument document = loadedMap(original);
    UndoList undoList;
    CellEditor editor(document, 0, undoList);
    if (applyTerrainEdgesToLevel(editor, rules) != changed || undoList.count() != changed || !(document.ground == edged))
        std::abort();
    undoAll(document, undoList);
    if (!(document.ground == original))
        std::abort();

    std::uint32_t seed = 0;
    for (std::size_t i = 0; i < size; ++i)
        seed = seed * 31 + bytes[i];
    for (const PathLayer path : PathLayers)
        checkPath(rules.paths(), path, edged, seed);
    return 0;
}
