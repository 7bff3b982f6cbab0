// The journal commands of brackwen-cli, run as the built program: recover
// replays a journal into OUT (also on a changed map, with a warning), refuses
// what it cannot replay and leaves OUT alone, and lists the journals of a
// folder or of the editor's data folder.
#include "journal/EditJournal.h"
#include "journal/JournalFolder.h"
#include "journal/JournalWriter.h"
#include "map/MapFile.h"
#include "writers/MapWriter.h"

#include "CliRunner.h"
#include "TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

// A two-level map file and a journal of a few steps on it in folder, and the
// document as the steps left it.
struct JournalledMap {
    JournalledMap(const TempDir &dir, const QString &folder)
        : mapPath(dir.write("map.vdm", MapWriter::patterned(36, true).data()))
        , journalPath(journalPathFor(folder, mapPath))
        , document(*readMapFile(mapPath).document)
    {
        JournalWriter writer;
        writer.open(journalPath, mapPath, document);
        for (std::uint16_t i = 0; i < 20; ++i)
            document.underground.at(i, i) = {9, std::uint8_t(i)};
        writer.append(journalCellsInRectangle(document, 1, QRect(0, 0, 20, 20)));
        document.redimension(40);
        writer.append(journalSizeChange(40));
        document.ground.at(39, 39) = {4, 4, 1, 1, 1, 1, 0xFF};
        const CellPosition corner{39, 39};
        writer.append(journalCellsAt(document, 0, {&corner, 1}));
    }

    QString mapPath;
    QString journalPath;
    MapDocument document;
};

TEST(JournalCommands, RecoverReplaysTheJournalIntoOut)
{
    TempDir dir;
    const JournalledMap map(dir, dir.filePath("journals"));
    const CliRun run = runCli({"recover", map.journalPath, dir.filePath("out.vdm")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    EXPECT_TRUE(run.out.startsWith("Replayed 3 edits on ")) << run.out.toStdString();
    const MapLoadResult out = readMapFile(dir.filePath("out.vdm"));
    ASSERT_TRUE(out.ok()) << out.reason.toStdString();
    EXPECT_EQ(serializeMapData(*out.document), serializeMapData(map.document));

    // The map file changed since: said on standard error, replayed all the same.
    MapWriter changed = MapWriter::patterned(36, true);
    changed.layers[0].at(5, 5) = {7};
    dir.write("map.vdm", changed.data());
    const CliRun again = runCli({"recover", map.journalPath, dir.filePath("again.vdm")});
    EXPECT_EQ(again.exitCode, 0) << again.err.toStdString();
    EXPECT_TRUE(again.err.contains("warning: " + map.mapPath.toUtf8() + " changed since the journal began"))
        << again.err.toStdString();
    const MapLoadResult replayed = readMapFile(dir.filePath("again.vdm"));
    ASSERT_TRUE(replayed.ok()) << replayed.reason.toStdString();
    EXPECT_EQ(replayed.document->ground.at(5, 5), TerrainCell{7});
    EXPECT_EQ(replayed.document->ground.at(39, 39), map.document.ground.at(39, 39));
}

TEST(JournalCommands, RecoverRefusesWhatItCannotReplayAndLeavesOutAlone)
{
    TempDir dir;
    const JournalledMap map(dir, dir.filePath("journals"));
    QByteArray newer = readFile(map.journalPath);
    newer[8] = 9;  // the format version behind the magic, changed alone: damage, not a newer program
    const QString newerPath = dir.write("newer.journal", newer);
    const QString notJournal = dir.write("map.journal", readFile(map.mapPath));
    const QByteArray oldBytes = "old output";
    const QString out = dir.write("out.vdm", oldBytes);
#ifdef Q_OS_UNIX
    const QString fifo = dir.filePath("pipe.journal");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
#endif

    struct Case {
        const char *name;
        QStringList arguments;
        QByteArray message;
    };
    const Case cases[] = {
        {"damaged format field", {"recover", newerPath, out}, "damaged (its format field reads 9)"},
#ifdef Q_OS_UNIX
        {"a device", {"recover", "/dev/zero", out}, "/dev/zero: "},
        {"a pipe", {"recover", fifo, out}, "pipe.journal: "},
#endif
        {"a folder", {"recover", dir.path(), out}, "folder"},
        {"not a journal", {"recover", notJournal, out}, "map.journal: not an edit journal"},
        {"missing journal", {"recover", dir.filePath("none.journal"), out}, "none.journal: "},
        {"no arguments", {"recover"}, "usage: brackwen-cli recover JOURNAL OUT [--until-damage] | --list [--folder DIR]"},
        {"unknown option", {"recover", map.journalPath, out, "--until"}, "usage: "},
        {"folder without --list", {"recover", "--folder", dir.path()}, "usage: "},
    };
    for (const Case &each : cases) {
        SCOPED_TRACE(each.name);
        const CliRun run = runCli(each.arguments);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.err.contains(each.message)) << run.err.toStdString();
        EXPECT_EQ(readFile(out), oldBytes);
    }
    EXPECT_EQ(readFile(newerPath), newer);

    ASSERT_TRUE(QFile::remove(map.mapPath));
    const CliRun missingMap = runCli({"recover", map.journalPath, out});
    EXPECT_EQ(missingMap.exitCode, 1);
    EXPECT_TRUE(missingMap.err.contains("the journal's map " + map.mapPath.toUtf8() + " cannot be opened"))
        << missingMap.err.toStdString();
    EXPECT_EQ(readFile(out), oldBytes);
}

TEST(JournalCommands, ListShowsTheJournalsOfAFolder)
{
    TempDir dir;
    const QString folder = dir.filePath("journals");
    const JournalledMap map(dir, folder);
    dir.write("journals/stray.journal", "something else");

    const CliRun run = runCli({"recover", "--list", "--folder", folder});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(map.journalPath.toUtf8() + ": " + map.mapPath.toUtf8() + ", last written "))
        << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(", edits to recover\n")) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains("stray.journal: refused: not an edit journal\n")) << run.out.toStdString();

    const CliRun empty = runCli({"recover", "--list", "--folder", dir.filePath("journals/stray.journal")});
    EXPECT_EQ(empty.exitCode, 1);
    EXPECT_TRUE(empty.err.contains("stray.journal: not a folder")) << empty.err.toStdString();
    const CliRun missing = runCli({"recover", "--list", "--folder", dir.filePath("nothing")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains("nothing: no such folder")) << missing.err.toStdString();
    EXPECT_TRUE(missing.out.isEmpty());
    QDir().mkpath(dir.filePath("empty"));
    const CliRun none = runCli({"recover", "--list", "--folder", dir.filePath("empty")});
    EXPECT_EQ(none.exitCode, 0);
    EXPECT_EQ(none.out, "No journals in " + dir.filePath("empty").toUtf8() + "\n");
}

TEST(JournalCommands, ADamagedRecordWithIntactOnesBehindIsRefusedUnlessTheMapBeforeItIsAskedFor)
{
    TempDir dir;
    const JournalledMap map(dir, dir.filePath("journals"));
    const JournalContents journal = readJournal(map.journalPath);
    ASSERT_EQ(journal.recordCount(), 3u);
    QByteArray damaged = readFile(map.journalPath);
    damaged[journal.recordOffsets[1] + 7] ^= 0x20;  // the size record: the cells of 20 x 20 come before it
    const QString damagedPath = dir.write("damaged.journal", damaged);
    const QString out = dir.filePath("out.vdm");

    const CliRun refused = runCli({"recover", damagedPath, out});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains("record 2 is damaged and 1 intact records follow it")) << refused.err.toStdString();
    EXPECT_TRUE(refused.err.contains("--until-damage")) << refused.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(out));

    const CliRun before = runCli({"recover", damagedPath, out, "--until-damage"});
    EXPECT_EQ(before.exitCode, 0) << before.err.toStdString();
    EXPECT_TRUE(before.err.contains("warning: ")) << before.err.toStdString();
    EXPECT_TRUE(before.out.startsWith("Replayed 1 edits")) << before.out.toStdString();
    const MapLoadResult recovered = readMapFile(out);
    ASSERT_TRUE(recovered.ok()) << recovered.reason.toStdString();
    EXPECT_EQ(recovered.document->mapSize, 36u);
    EXPECT_EQ(recovered.document->underground, map.document.underground.resized(36));
    EXPECT_EQ(readFile(damagedPath), damaged);
}

TEST(JournalCommands, RecoverRefusesAMapOfAnotherSizeThanTheJournalsNamingBoth)
{
    TempDir dir;
    const JournalledMap map(dir, dir.filePath("journals"));
    const QString out = dir.write("out.vdm", "old output");
    struct Case {
        const char *name;
        QByteArray mapFile;
        const char *message;
    };
    const Case cases[] = {
        {"another side", MapWriter::patterned(40, true).data(), "side 36 with 2 level(s), the map is of side 40 with 2 level(s)"},
        {"one level", MapWriter::patterned(36, false).data(), "side 36 with 2 level(s), the map is of side 36 with 1 level(s)"},
    };
    for (const Case &each : cases) {
        SCOPED_TRACE(each.name);
        dir.write("map.vdm", each.mapFile);
        const CliRun run = runCli({"recover", map.journalPath, out});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.err.contains(each.message)) << run.err.toStdString();
        EXPECT_EQ(readFile(out), "old output");
    }
}

#ifdef Q_OS_LINUX
TEST(JournalCommands, ListWithoutAFolderLooksWhereTheEditorKeepsItsJournals)
{
    TempDir dir;
    const QByteArray previous = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", dir.filePath("data").toUtf8());
    const QString folder = dir.filePath("data/Brackwen/Brackwen/journals");
    EXPECT_EQ(standardJournalFolder(), folder);
    const JournalledMap map(dir, folder);
    const CliRun run = runCli({"recover", "--list"});
    if (previous.isEmpty())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", previous);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.startsWith(map.journalPath.toUtf8() + ": ")) << run.out.toStdString();
}
#endif

}  // namespace
