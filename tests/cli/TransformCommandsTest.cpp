// The transform command of brackwen-cli, run as the built program on a
// two-level patterned map: each operation on the chosen levels as the library
// does it, the rest of the file carried through, and one-line refusals that
// leave OUT alone.
#include "edit/TerrainEdges.h"
#include "edit/Transforms.h"
#include "map/MapFile.h"
#include "writers/MapWriter.h"

#include "CliRefusal.h"
#include "TempDir.h"

#include <QFile>

#include <gtest/gtest.h>

#include <functional>

namespace {

const QByteArray Rules = "[terrain 0]\n"
                         "rule = *s* s.s *s* : 1 2 3\n"
                         "rule = *o* *.* *** : 4 : ud\n"
                         "[terrain 2]\n"
                         "like = 0\n";

TEST(TransformCommands, TransformsTheChosenLevelsAndKeepsTheRestOfTheFile)
{
    TempDir dir;
    const MapWriter writer = MapWriter::patterned(36, true);
    const QString source = dir.write("map.vdm", writer.data());
    const QString rulesPath = dir.write("rules.ini", Rules);
    const TerrainEdgeRules rules = *parseTerrainEdgeRules(Rules).rules;

    using Change = std::function<void(TerrainLayer &)>;
    const auto by = [](Transform transform, const TerrainEdgeRules *edgeRules = nullptr) -> Change {
        return [=](TerrainLayer &layer) { transformLayer(layer, transform, edgeRules); };
    };
    const Change unchanged = [](TerrainLayer &) {};
    struct Case {
        QStringList options;
        Change ground;
        Change underground;
        QByteArray report;
    };
    const Case cases[] = {
        {{"--flip", "h"}, by(Transform::FlipHorizontal), unchanged, "level 0: 1296 cells changed\n"},
        {{"--turn", "180", "--level", "1"}, unchanged, by(Transform::Turn180), "level 1: 1296 cells changed\n"},
        {{"--all-levels", "--flip", "v"}, by(Transform::FlipVertical), by(Transform::FlipVertical),
         "level 0: 1296 cells changed\nlevel 1: 1296 cells changed\n"},
        {{"--turn", "90"}, by(Transform::Turn90), unchanged,
         "level 0: 1296 cells changed, terrain pictures moved but not turned (no --rules)\n"},
        {{"--turn", "270", "--rules", rulesPath}, by(Transform::Turn270, &rules), unchanged,
         "level 0: 1296 cells changed, terrain pictures from the edge rules\n"},
        {{"--mirror-half", "top", "--level", "1"}, unchanged, [](TerrainLayer &layer) { mirrorHalf(layer, LevelHalf::Top); },
         "level 1: 648 cells changed\n"},
        {{"--mirror-half", "right"}, [](TerrainLayer &layer) { mirrorHalf(layer, LevelHalf::Right); }, unchanged,
         "level 0: 648 cells changed\n"},
        {{"--mirror-half", "bottom", "--level", "1"}, unchanged,
         [](TerrainLayer &layer) { mirrorHalf(layer, LevelHalf::Bottom); }, "level 1: 648 cells changed\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.options.join(' ').toStdString());
        TerrainLayer ground = writer.layers[0];
        TerrainLayer underground = writer.layers[1];
        c.ground(ground);
        c.underground(underground);

        const QString out = dir.filePath("out.vdm");
        const CliRun run = runCli(QStringList{"transform", source, out} + c.options);
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(run.out.toStdString(), c.report.toStdString());
        EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
        MapLoadResult loaded = loadMapData(readFile(out));
        ASSERT_TRUE(loaded.ok()) << loaded.reason.toStdString();
        EXPECT_EQ(loaded.document->ground, ground);
        EXPECT_EQ(loaded.document->underground, underground);
        EXPECT_EQ(loaded.document->headerBytes, writer.data().left(writer.terrainOffset()));
        EXPECT_EQ(loaded.document->trailingBytes, writer.data().mid(writer.terrainEnd()));
    }
}

TEST(TransformCommands, RefusalsSayWhyAndLeaveOutAlone)
{
    TempDir dir;
    const QString oneLevel = dir.write("one.vdm", MapWriter::patterned(36, false).data());
    const QString broken = dir.write("broken.ini", "[terrain 0]\nrule = *s* s.s : 1\n");
    const QByteArray oldBytes = "old output";
    const QString out = dir.write("out.vdm", oldBytes);

    struct Case {
        QStringList arguments;
        QByteArray message;
    };
    const QByteArray prefix = "brackwen-cli: ";
    const QByteArray usage = prefix + "usage: brackwen-cli transform MAP OUT --flip h|v";
    const Case cases[] = {
        {{oneLevel, out, "--flip", "h", "--level", "1"}, prefix + "the map has no level 1\n"},
        {{oneLevel, out, "--turn", "45"}, prefix + "--turn takes 90, 180 or 270, not \"45\"\n"},
        {{oneLevel, out, "--flip", "d"}, prefix + "--flip takes h or v, not \"d\"\n"},
        {{oneLevel, out, "--mirror-half", "middle"}, prefix + "--mirror-half takes left, right, top or bottom, not \"middle\"\n"},
        {{oneLevel, out, "--flip", "h", "--turn", "90"}, prefix + "name only one of --flip, --turn and --mirror-half\n"},
        {{oneLevel, out, "--flip", "h", "--level", "x"}, prefix + "--level takes 0 or 1, not \"x\"\n"},
        {{oneLevel, out, "--flip", "h", "--level", "0", "--all-levels"},
         prefix + "name only one of --level and --all-levels\n"},
        {{oneLevel, out, "--turn", "90", "--rules", broken}, prefix + broken.toUtf8() + ": line 2: "},
        {{dir.write("bad.vdm", "bad"), out, "--flip", "h"}, prefix + dir.filePath("bad.vdm").toUtf8() + ": "},
        {{oneLevel, out}, usage},
        {{oneLevel, "--flip", "h"}, usage},
        {{oneLevel, out, "--flip"}, usage},
        {{oneLevel, out, "--flip", "h", "--mirror"}, usage},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const CliRun run = runCli(QStringList{"transform"} + c.arguments);
        expectRefusal(run, c.message);
        EXPECT_EQ(readFile(out), oldBytes);
    }
}

}  // namespace
