// The edges command of brackwen-cli, run as the built program: every cell of
// the chosen levels edged as the library edges them, its own output left as it
// is, and one-line refusals that leave OUT alone.
#include "edit/TerrainEdges.h"
#include "map/MapFile.h"
#include "writers/MapWriter.h"

#include "CliRunner.h"
#include "TempDir.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Types 0..2 have rules; the patterned map holds every type and more.
const QByteArray Rules = "[terrain 0]\n"
                         "rule = *s* s.s *s* : 1 2 3\n"
                         "rule = *o* *.* *** : 4 : ud\n"
                         "rule = *** *.* *** : 5 : lr\n"
                         "[terrain 1]\n"
                         "same = 0 2\n"
                         "like = 0\n"
                         "[terrain 2]\n"
                         "like = 0\n";

TerrainEdgeRules parsedRules()
{
    return *parseTerrainEdgeRules(Rules).rules;
}

MapDocument loadOutput(const QString &path)
{
    MapLoadResult loaded = loadMapData(readFile(path));
    EXPECT_TRUE(loaded.ok()) << loaded.reason.toStdString();
    return loaded.ok() ? std::move(*loaded.document) : MapDocument();
}

TEST(EdgeCommands, EdgesEveryCellOfTheChosenLevelsAndChangesNothingTheSecondTime)
{
    TempDir dir;
    const MapWriter writer = MapWriter::patterned(36, true);
    const QString source = dir.write("map.vdm", writer.data());
    const QString rules = dir.write("rules.ini", Rules);

    struct Case {
        QStringList options;
        bool ground;
        bool underground;
    };
    const Case cases[] = {{{}, true, true}, {{"--level", "0"}, true, false}, {{"--level", "1"}, false, true}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.options.join(' ').toStdString());
        TerrainLayer ground = writer.layers[0];
        TerrainLayer underground = writer.layers[1];
        std::size_t expectedChanges = 0;
        if (c.ground)
            expectedChanges += applyTerrainEdgesToLayer(ground, parsedRules());
        if (c.underground)
            expectedChanges += applyTerrainEdgesToLayer(underground, parsedRules());
        ASSERT_GT(expectedChanges, 0u);

        const QString out = dir.filePath("edged.vdm");
        const CliRun run = runCli(QStringList{"edges", source, out, "--rules", rules} + c.options);
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(run.out.toStdString(), std::to_string(expectedChanges) + " cells changed\n");
        EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
        const MapDocument edged = loadOutput(out);
        EXPECT_EQ(edged.ground, ground);
        EXPECT_EQ(edged.underground, underground);
        EXPECT_EQ(edged.trailingBytes, writer.data().mid(writer.terrainEnd()));

        // Its own output comes back unchanged.
        const QString again = dir.filePath("again.vdm");
        const CliRun second = runCli(QStringList{"edges", out, again, "--rules", rules} + c.options);
        ASSERT_EQ(second.exitCode, 0) << second.err.toStdString();
        EXPECT_EQ(second.out, "0 cells changed\n");
        EXPECT_EQ(readFile(again), readFile(out));
    }
}

TEST(EdgeCommands, ReadsTheRulesFileOfTheCurrentFolder)
{
    TempDir dir;
    const CurrentDirGuard inside(dir.path());
    const MapWriter writer = MapWriter::patterned(36, false);
    const QString source = dir.write("map.vdm", writer.data());
    dir.write(TerrainEdgeRulesFileName, Rules);
    const CliRun run = runCli({"edges", source, dir.filePath("out.vdm")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    TerrainLayer expected = writer.layers[0];
    applyTerrainEdgesToLayer(expected, parsedRules());
    EXPECT_EQ(loadOutput(dir.filePath("out.vdm")).ground, expected);
}

TEST(EdgeCommands, RefusalsSayWhyAndLeaveOutAlone)
{
    TempDir dir;
    const CurrentDirGuard inside(dir.path());
    const QString oneLevel = dir.write("one.vdm", MapWriter::patterned(36, false).data());
    const QString rules = dir.write("rules.ini", Rules);
    const QString broken = dir.write("broken.ini", "[terrain 0]\nrule = *s* s.s *s* : 1\nrule = *s* s.s : 2\n");
    const QByteArray oldBytes = "old output";
    const QString out = dir.write("out.vdm", oldBytes);

    struct Case {
        QStringList arguments;
        QByteArray message;
    };
    const QByteArray prefix = "brackwen-cli: ";
    const Case cases[] = {
        {{"edges", oneLevel, out, "--rules", broken},
         prefix + broken.toUtf8() + ": line 3: a neighbourhood is nine marks, the row above, the cell's row with \".\" "
                                    "in the middle, the row below, not \"*s* s.s\"\n"},
        {{"edges", oneLevel, out},
         prefix + "terrain-edges.ini: cannot read terrain-edges.ini: No such file or directory\n"},
        {{"edges", oneLevel, out, "--rules", rules, "--level", "1"}, prefix + "the map has no level 1\n"},
        {{"edges", dir.write("bad.vdm", "bad"), out, "--rules", rules}, prefix + dir.filePath("bad.vdm").toUtf8() + ": "},
        {{"edges", oneLevel, out, "--level", "2"}, prefix + "usage: brackwen-cli edges MAP OUT [--rules FILE] [--level 0|1]\n"},
        {{"edges", oneLevel}, prefix + "usage: brackwen-cli edges"},
        {{"edges", oneLevel, out, "--rules"}, prefix + "usage: brackwen-cli edges"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const CliRun run = runCli(c.arguments);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.startsWith(c.message)) << run.err.toStdString();
        EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
        EXPECT_EQ(readFile(out), oldBytes);
    }
}

}  // namespace
