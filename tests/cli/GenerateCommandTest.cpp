// The generate command of brackwen-cli, run as the built program: the level
// the library makes, the other bytes of the map as they were, output that the
// edges command leaves alone, and refusals that write nothing.
#include "generate/TerrainGenerator.h"
#include "map/MapFile.h"
#include "writers/MapWriter.h"

#include "CliRefusal.h"
#include "TempDir.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

MapDocument loadOutput(const QString &path)
{
    MapLoadResult loaded = loadMapData(readFile(path));
    EXPECT_TRUE(loaded.ok()) << loaded.reason.toStdString();
    return loaded.ok() ? std::move(*loaded.document) : MapDocument();
}

const QString RulesPath = QStringLiteral(BRACKWEN_SAMPLE_RULES);

TEST(GenerateCommand, WritesTheLevelTheLibraryMakesWhichTheEdgesCommandLeavesAlone)
{
    TempDir dir;
    const MapWriter writer = MapWriter::patterned(40, true);
    const QString source = dir.write("map.vdm", writer.data());
    const TerrainEdgeRules rules = *readTerrainEdgeRules(RulesPath).rules;

    struct Case {
        QStringList arguments;
        GenerateOptions options;
        bool withRules;
    };
    const Case cases[] = {
        {{"--seed", "9", "--symmetry", "four-way", "--style", "islands", "--water", "50", "--mix", "marsh", "--rivers",
          "2", "--roads", "centre", "--level", "1", "--rules", RulesPath},
         {9, SymmetryMode::FourWay, LandStyle::Islands, 50, 3, 10, 2, RoadPlan::Centre, 1},
         true},
        {{"--seed", "4294967295", "--symmetry", "quarter-turn", "--style", "coast", "--water", "20", "--mix", "volcanic",
          "--rough", "30", "--rivers", "0", "--roads", "players", "--rules", RulesPath},
         {4294967295u, SymmetryMode::QuarterTurn, LandStyle::Coast, 20, 4, 30, 0, RoadPlan::Players, 0},
         true},
        // The defaults: no symmetry, a continent, and plain pictures without rules.
        {{"--seed", "3", "--roads", "centre"}, {3, SymmetryMode::Off, LandStyle::Continent, 30, 0, 10, 1, RoadPlan::Centre, 0}, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        MapLoadResult expected = loadMapData(writer.data());
        ASSERT_TRUE(expected.ok());
        const GenerateResult made = generateTerrain(expected.document->layer(c.options.level), c.options,
                                                    c.withRules ? &rules : nullptr);
        ASSERT_TRUE(made.ok());

        const QString out = dir.filePath("generated.vdm");
        const CliRun run = runCli(QStringList{"generate", source, out} + c.arguments);
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(run.out.toStdString(), QStringLiteral("level %1 generated: %2 sides, %3 of 1600 cells water\n")
                                             .arg(c.options.level)
                                             .arg(sideCount(c.options.symmetry))
                                             .arg(made.waterCells)
                                             .toStdString());
        const MapDocument generated = loadOutput(out);
        EXPECT_EQ(generated.ground, expected.document->ground);
        EXPECT_EQ(generated.underground, expected.document->underground);
        EXPECT_EQ(generated.headerBytes, expected.document->headerBytes);
        EXPECT_EQ(generated.trailingBytes, expected.document->trailingBytes);

        if (c.withRules) {
            const QString again = dir.filePath("edged.vdm");
            const CliRun edges =
                runCli({"edges", out, again, "--rules", RulesPath, "--level", QString::number(c.options.level)});
            ASSERT_EQ(edges.exitCode, 0) << edges.err.toStdString();
            EXPECT_EQ(edges.out, "0 terrain, 0 river and 0 road pictures changed\n");
            EXPECT_EQ(readFile(again), readFile(out));
        }
    }
}

TEST(GenerateCommand, UnknownValuesAndOptionsThatCannotBeMetAreRefusedAndNothingIsWritten)
{
    TempDir dir;
    const QString source = dir.write("map.vdm", MapWriter::patterned(36, false).data());
    const QString out = dir.filePath("out.vdm");
    struct Case {
        QStringList arguments;
        QByteArray refusal;
    };
    const Case cases[] = {
        {{"--seed", "1", "--symmetry", "sideways"}, "brackwen-cli: --symmetry takes none, left-right, "},
        {{"--seed", "1", "--style", "archipelago"}, "brackwen-cli: --style takes continent, islands, lakes or coast, not \"archipelago\""},
        {{"--seed", "1", "--roads", "all"}, "brackwen-cli: --roads takes none, players or centre, not \"all\""},
        {{"--seed", "1", "--mix", "tundra"}, "brackwen-cli: --mix takes temperate, northern, "},
        {{"--seed", "-4"}, "brackwen-cli: --seed takes a whole number from 0 to 4294967295, not \"-4\""},
        {{"--seed", "4294967296"}, "brackwen-cli: --seed takes a whole number from 0 to 4294967295, not \"4294967296\""},
        {{"--seed", "1", "--water", "ten"}, "brackwen-cli: --water takes a whole number from 0 to 100, not \"ten\""},
        {{"--seed", "1", "--roads", "players"}, "brackwen-cli: --roads players: with symmetry none"},
        {{"--seed", "1", "--symmetry", "left-right", "--water", "70"}, "brackwen-cli: --water 70: continent allows"},
        {{"--seed", "1", "--symmetry", "left-right", "--water", "90", "--style", "islands"}, "brackwen-cli: --water 90: at most 80 %"},
        {{"--seed", "1", "--symmetry", "left-right", "--rivers", "9"}, "brackwen-cli: --rivers 9: at most 8"},
        {{"--seed", "1", "--symmetry", "left-right", "--level", "1"}, "brackwen-cli: the map has no level 1"},
        {{"--symmetry", "left-right"}, "brackwen-cli: usage: brackwen-cli generate MAP OUT --seed N"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        expectRefusal(runCli(QStringList{"generate", source, out} + c.arguments), c.refusal);
        EXPECT_FALSE(QFile::exists(out));
    }
}

}  // namespace
