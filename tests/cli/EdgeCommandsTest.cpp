// The edges command of brackwen-cli, run as the built program: every cell of
// the chosen levels edged and pieced as the library does it (or only the kind
// asked for), its own output left as it is, and one-line refusals that leave
// OUT alone.
#include "edit/PathPieces.h"
#include "edit/TerrainEdges.h"
#include "map/Gzip.h"
#include "map/MapFile.h"
#include "writers/MapWriter.h"

#include "CliRefusal.h"
#include "TempDir.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

// Terrain types 0..2, river 1 and roads 1 and 2 have rules; the patterned
// map holds every type and more.
const QByteArray Rules = "[terrain 0]\n"
                         "rule = *s* s.s *s* : 1 2 3\n"
                         "rule = *o* *.* *** : 4 : ud\n"
                         "rule = *** *.* *** : 5 : lr\n"
                         "[terrain 1]\n"
                         "same = 0 2\n"
                         "like = 0\n"
                         "[terrain 2]\n"
                         "like = 0\n"
                         "[river 1]\n"
                         "rule = j * * * : 7 8\n"
                         "rule = * * * * : 12 : ud\n"
                         "[road 1]\n"
                         "joins = 2\n"
                         "rule = o * o * : 3 : lr\n"
                         "rule = * * * * : 16\n"
                         "[road 2]\n"
                         "like = 1\n";

// What the command does to a layer: the pictures of each kind it changes.
struct Changes {
    std::size_t terrain = 0;
    std::size_t rivers = 0;
    std::size_t roads = 0;
};

Changes applyRules(TerrainLayer &layer, const TerrainEdgeRules &rules, const QString &only)
{
    Changes changes;
    if (only.isEmpty() || only == "terrain")
        changes.terrain = applyTerrainEdgesToLayer(layer, rules);
    if (only.isEmpty() || only == "rivers")
        changes.rivers = applyPathPiecesToLayer(layer, rules.paths(), PathLayer::River);
    if (only.isEmpty() || only == "roads")
        changes.roads = applyPathPiecesToLayer(layer, rules.paths(), PathLayer::Road);
    return changes;
}

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
        QString only;
    };
    const Case cases[] = {
        {{}, true, true, {}},
        {{"--level", "0"}, true, false, {}},
        {{"--level", "1"}, false, true, {}},
        {{"--only", "terrain"}, true, true, "terrain"},
        {{"--only", "rivers", "--level", "1"}, false, true, "rivers"},
        {{"--only", "roads"}, true, true, "roads"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.options.join(' ').toStdString());
        TerrainLayer ground = writer.layers[0];
        TerrainLayer underground = writer.layers[1];
        Changes expected;
        for (const auto &[chosen, layer] : {std::pair{c.ground, &ground}, std::pair{c.underground, &underground}}) {
            if (!chosen)
                continue;
            const Changes changes = applyRules(*layer, parsedRules(), c.only);
            expected.terrain += changes.terrain;
            expected.rivers += changes.rivers;
            expected.roads += changes.roads;
        }
        const std::size_t chosenChanges = c.only == "terrain" ? expected.terrain
            : c.only == "rivers"                              ? expected.rivers
                                                              : expected.roads;
        ASSERT_GT(c.only.isEmpty() ? expected.terrain * expected.rivers * expected.roads : chosenChanges, 0u);
        const std::string summary = c.only.isEmpty()
            ? std::to_string(expected.terrain) + " terrain, " + std::to_string(expected.rivers) + " river and "
                + std::to_string(expected.roads) + " road pictures changed\n"
            : std::to_string(chosenChanges) + " " + (c.only == "rivers" ? "river" : c.only == "roads" ? "road" : "terrain")
                + " pictures changed\n";

        const QString out = dir.filePath("edged.vdm");
        const CliRun run = runCli(QStringList{"edges", source, out, "--rules", rules} + c.options);
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(run.out.toStdString(), summary);
        EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
        const MapDocument edged = loadOutput(out);
        EXPECT_EQ(edged.ground, ground);
        EXPECT_EQ(edged.underground, underground);
        EXPECT_EQ(edged.trailingBytes, writer.data().mid(writer.terrainEnd()));

        // Its own output comes back unchanged.
        const QString again = dir.filePath("again.vdm");
        const CliRun second = runCli(QStringList{"edges", out, again, "--rules", rules} + c.options);
        ASSERT_EQ(second.exitCode, 0) << second.err.toStdString();
        EXPECT_TRUE(second.out.startsWith(c.only.isEmpty() ? "0 terrain, 0 river and 0 road" : "0 ")) << second.out.toStdString();
        EXPECT_EQ(readFile(again), readFile(out));
    }
}

TEST(EdgeCommands, WritesOverItsOwnInputAndEveryNameOfIt)
{
    // The map is read whole before it is saved, so OUT may be MAP; a file of
    // several names (a hard link) is written where it is, and every name
    // then holds the edged map.
    TempDir dir;
    const QByteArray original = gzipMember(MapWriter::patterned(36, true).data());
    const QString rules = dir.write("rules.ini", Rules);
    const QString elsewhere = dir.filePath("elsewhere.vdm");
    ASSERT_EQ(runCli({"edges", dir.write("source.vdm", original), elsewhere, "--rules", rules}).exitCode, 0);
    const QByteArray edged = readFile(elsewhere);
    ASSERT_NE(edged, original);

    const QString map = dir.write("map.vdm", original);
    const QString alias = dir.filePath("alias.vdm");
    ASSERT_EQ(::link(QFile::encodeName(map).constData(), QFile::encodeName(alias).constData()), 0);
    for (const QString &name : {map, alias}) {
        SCOPED_TRACE(name.toStdString());
        dir.write("map.vdm", original);  // rewritten in place: both names keep one file
        const CliRun run = runCli({"edges", name, name, "--rules", rules});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(readFile(map), edged);
        EXPECT_EQ(readFile(alias), edged);
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
    applyRules(expected, parsedRules(), {});
    EXPECT_EQ(loadOutput(dir.filePath("out.vdm")).ground, expected);
}

TEST(EdgeCommands, RefusalsSayWhyAndLeaveOutAlone)
{
    TempDir dir;
    const CurrentDirGuard inside(dir.path());
    const QString oneLevel = dir.write("one.vdm", MapWriter::patterned(36, false).data());
    const QString rules = dir.write("rules.ini", Rules);
    const QString broken = dir.write("broken.ini", "[terrain 0]\nrule = *s* s.s *s* : 1\nrule = *s* s.s : 2\n");
    const QString repeated = dir.write("repeated.ini", "[road 2]\nrule = j o j o : 1\n; straight\nrule = jojo : 2\n");
    const QString empty = dir.write("empty.ini", "; no rules yet\n");
    const QString large = dir.write("large.ini", Rules + QByteArray(MaxTerrainEdgeRulesBytes, ';'));
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
        {{"edges", oneLevel, out, "--rules", repeated}, prefix + repeated.toUtf8() + ": line 4: rule repeats line 2\n"},
        {{"edges", oneLevel, out, "--rules", empty}, prefix + empty.toUtf8() + ": the file has no rule: "},
        {{"edges", oneLevel, out, "--rules", large},
         prefix + large.toUtf8() + ": the file is larger than 1048576 bytes, far too large for a rules file\n"},
        {{"edges", oneLevel, out, "--level", "2"}, prefix + "--level takes 0 or 1, not \"2\"\n"},
        {{"edges", oneLevel, out, "--rules", rules, "--only", "bridges"},
         prefix + "--only takes terrain, rivers or roads, not \"bridges\"\n"},
        {{"edges", oneLevel, out, "--rules", rules, "--bridges"},
         prefix + "usage: brackwen-cli edges MAP OUT [--rules FILE] [--level 0|1] [--only terrain|rivers|roads]\n"},
        {{"edges", oneLevel, out, "--rules", rules, "--only"}, prefix + "usage: brackwen-cli edges"},
        {{"edges", oneLevel}, prefix + "usage: brackwen-cli edges"},
        {{"edges", oneLevel, out, "--rules"}, prefix + "usage: brackwen-cli edges"},
    };
    std::vector<Case> all(std::begin(cases), std::end(cases));
    // A device without end is refused, not read until memory runs out.
    if (QFile::exists("/dev/zero"))
        all.push_back({{"edges", oneLevel, out, "--rules", "/dev/zero"},
                       prefix + "/dev/zero: the file is larger than 1048576 bytes, far too large for a rules file\n"});
    for (const Case &c : all) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const CliRun run = runCli(c.arguments);
        expectRefusal(run, c.message);
        EXPECT_EQ(readFile(out), oldBytes);
    }
}

}  // namespace
