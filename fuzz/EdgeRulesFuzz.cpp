// Fuzz target for the terrain edge rules reader. Any input must be either
// refused with the line at fault, or give rules that, applied to a small
// layer made from the input, change only pictures and terrain mirror bits,
// leave every cell as the rules choose it for its neighbourhood, and change
// nothing when applied again; the editor's path, with undo records, must give
// the same layer and take it back exactly. Run with --write-seeds=DIR first to
// write a small seed corpus of rules files.
#include "FuzzSeeds.h"

#include "edit/CellEditor.h"
#include "edit/TerrainEdges.h"

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
// (two beyond the known ones), any pictures, rivers, roads and mirror bits.
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
        layer.data()[i] = {std::uint8_t(value % 12),        std::uint8_t(value >> 4),  std::uint8_t(value >> 8 & 3),
                           std::uint8_t(value >> 10 & 15), std::uint8_t(value >> 14 & 3), std::uint8_t(value >> 16),
                           std::uint8_t(value >> 24)};
    }
    return layer;
}

bool sameExceptPictures(const TerrainCell &a, const TerrainCell &b)
{
    constexpr std::uint8_t terrainBits = MirrorBit::TerrainLeftRight | MirrorBit::TerrainUpsideDown;
    return a.tertype == b.tertype && a.rivtype == b.rivtype && a.rivconf == b.rivconf && a.roadtype == b.roadtype
        && a.roadconf == b.roadconf && (a.mirror & ~terrainBits) == (b.mirror & ~terrainBits);
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
        if (!read.reason.startsWith(QStringLiteral("line ")))
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
            if (!sameExceptPictures(cell, original.at(row, column)) || !(edgedCell(rules, edged, column, row) == cell))
                std::abort();
        }
    TerrainLayer again = edged;
    if (differing != changed || applyTerrainEdgesToLayer(again, rules) != 0 || !(again == edged))
        std::abort();

    // The editor's path: the same cells, one record each, taken back exactly.
    MapDocument document;
    document.mapSize = side;
    document.ground = original;
    document.isLoaded = true;
    UndoList undoList;
    CellEditor editor(document, undoList);
    if (applyTerrainEdgesToLevel(editor, rules) != changed || undoList.count() != changed || !(document.ground == edged))
        std::abort();
    while (!undoList.isEmpty()) {
        const UndoRecord record = undoList.takeLast();
        document.ground.at(record.row, record.column) = record.previous;
    }
    if (!(document.ground == original))
        std::abort();
    return 0;
}
