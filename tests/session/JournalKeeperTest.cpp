// The edit journal kept beside the editor session: whatever sequence of edits,
// undos and size changes the session goes through, replaying its journal on
// the map file gives the session's cells exactly.
#include "session/JournalKeeper.h"

#include "edit/BrushSettings.h"
#include "journal/EditJournal.h"
#include "journal/JournalFolder.h"
#include "journal/JournalRecord.h"
#include "map/MapFile.h"
#include "session/EditorSession.h"
#include "session/JournalReplay.h"
#include "writers/MapWriter.h"

#include "TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <random>

namespace {

// A two-level 36 x 36 map with a pattern on both levels.
QByteArray patternedMap()
{
    return MapWriter::patterned(36, true).data();
}

BrushSettings brushOf(std::mt19937 &random)
{
    BrushSettings brush;
    brush.terrainType = std::uint8_t(random() % 10);
    brush.terrainConfig = std::uint8_t(random() % 4);
    brush.paintRiver = random() % 3 == 0;
    brush.riverType = std::uint8_t(random() % 5);
    brush.brushWidth = std::uint8_t(1 + random() % 4);
    brush.brushHeight = std::uint8_t(1 + random() % 4);
    return brush;
}

// One random operation of the session, as a user could run it.
void randomOperation(EditorSession &session, std::mt19937 &random)
{
    const int side = int(session.document().mapSize);
    const auto cell = [&] { return int(random() % std::uint32_t(side)); };
    switch (random() % 10) {
    case 0:
    case 1: {  // a stroke
        const BrushSettings brush = brushOf(random);
        session.beginStep();
        for (int i = 0, n = 1 + int(random() % 6); i < n; ++i)
            session.paint(brush, cell(), cell());
        session.endStep();
        break;
    }
    case 2:
        session.replaceFill(brushOf(random), cell(), cell(), random() % 4 == 0);
        break;
    case 3: {
        const int left = cell(), top = cell();
        if (session.copy(QRect(left, top, 1 + int(random() % 8), 1 + int(random() % 8))))
            session.paste(cell(), cell());
        break;
    }
    case 4:
        session.undoStep();
        break;
    case 5:
        session.redoStep();
        break;
    case 6:
        session.undoLast();
        break;
    case 7:  // a size change: smaller cuts cells away, larger adds zero cells
        session.resize(side == 36 ? (random() % 2 ? 72 : 18) : 36);
        break;
    case 8:
        session.selectLevel(int(random() % 2));
        break;
    default:
        session.fillSelection(brushOf(random), QRect(cell(), cell(), 5, 3));
        break;
    }
}

void expectSameCells(const MapDocument &replayed, const MapDocument &expected)
{
    ASSERT_EQ(replayed.mapSize, expected.mapSize);
    ASSERT_EQ(replayed.levelCount(), expected.levelCount());
    for (int level = 0; level < expected.levelCount(); ++level)
        EXPECT_TRUE(replayed.layer(level) == expected.layer(level)) << "level " << level;
}

// The recovered session has the live one's steps to undo and redo: the same
// counts, and undoing (then redoing) every step, and single cells, gives the
// same cells in both after each move. Moves both sessions.
void expectSameHistory(EditorSession &recovered, EditorSession &live)
{
    ASSERT_EQ(recovered.undoList().count(), live.undoList().count());
    ASSERT_EQ(recovered.history().undoStepCount(), live.history().undoStepCount());
    ASSERT_EQ(recovered.history().redoStepCount(), live.history().redoStepCount());
    for (int i = 0; i < 3 && live.history().canUndo(); ++i) {
        live.undoLast();
        recovered.undoLast();
        ASSERT_NO_FATAL_FAILURE(expectSameCells(recovered.document(), live.document())) << "undo of cell " << i;
    }
    for (std::size_t step = 0; live.history().canUndo(); ++step) {
        live.undoStep();
        recovered.undoStep();
        ASSERT_NO_FATAL_FAILURE(expectSameCells(recovered.document(), live.document())) << "undo of step " << step;
    }
    EXPECT_FALSE(recovered.history().canUndo());
    for (std::size_t step = 0; live.history().canRedo(); ++step) {
        live.redoStep();
        recovered.redoStep();
        ASSERT_NO_FATAL_FAILURE(expectSameCells(recovered.document(), live.document())) << "redo of step " << step;
    }
    EXPECT_FALSE(recovered.history().canRedo());
}

class JournalKeeperTest : public testing::Test {
protected:
    void SetUp() override
    {
        mapPath = dir.write("map.vdm", patternedMap());
        ASSERT_TRUE(session.open(mapPath).ok());
    }

    JournalContents written()
    {
        keeper.waitUntilWritten();
        return readJournal(keeper.journalPath());
    }

    // A fresh session on the map file with the journal replayed, as Recover
    // makes it; it holds the session's cells.
    std::unique_ptr<EditorSession> recoveredFrom(const JournalContents &journal)
    {
        auto recovered = std::make_unique<EditorSession>();
        EXPECT_TRUE(recovered->open(mapPath).ok());
        const QString reason = replayJournal(*recovered, journal).reason;
        EXPECT_TRUE(reason.isEmpty()) << reason.toStdString();
        expectSameCells(recovered->document(), session.document());
        return recovered;
    }

    TempDir dir;
    QString mapPath;
    EditorSession session;
    JournalKeeper keeper{session, dir.filePath("journals")};
};

TEST_F(JournalKeeperTest, ReplayingTheJournalGivesTheSessionsCells)
{
    for (const unsigned seed : {1u, 2u, 3u, 4u, 5u, 6u}) {
        SCOPED_TRACE(seed);
        ASSERT_TRUE(session.open(mapPath).ok());
        std::mt19937 random(seed);
        for (int i = 0; i < 40; ++i)
            randomOperation(session, random);

        const JournalContents journal = written();
        ASSERT_TRUE(journal.ok()) << journal.reason.toStdString();
        EXPECT_FALSE(journal.tailDropped());
        EXPECT_TRUE(journalMatchesFile(journal.header, mapPath).matches());

        // The recovery: the file opened fresh, the journal replayed as steps.
        EditorSession recovered;
        ASSERT_TRUE(recovered.open(mapPath).ok());
        const JournalReplay replay = replayJournal(recovered, journal);
        EXPECT_TRUE(replay.reason.isEmpty()) << replay.reason.toStdString();
        EXPECT_EQ(replay.steps, journal.recordCount());
        expectSameCells(recovered.document(), session.document());
        EXPECT_EQ(recovered.hasUnsavedChanges(), journal.recordCount() > 0);
        expectSameHistory(recovered, session);
    }
}

TEST_F(JournalKeeperTest, UndoAndRedoBeforeACrashAreReplayedAsMovesOfTheHistory)
{
    BrushSettings water;
    water.terrainType = 8;
    for (const int column : {3, 30}) {
        session.beginStep();
        session.paint(water, column, 7);
        session.endStep();
    }
    session.undoStep();
    session.redoStep();
    const std::unique_ptr<EditorSession> recovered = recoveredFrom(written());
    // Two undos give the map as it was opened.
    recovered->undoStep();
    recovered->undoStep();
    expectSameCells(recovered->document(), *readMapFile(mapPath).document);
    EXPECT_FALSE(recovered->history().canUndo());
}

// A journal cut by a crash at any byte recovers the map as it was after a
// whole step: here around the undo of a shrink, which brings back a side and
// the cells the cut took away at once.
TEST_F(JournalKeeperTest, AJournalCutAnywhereRecoversTheMapAfterAWholeStep)
{
    std::vector<MapDocument> afterRecords = {session.document()};
    const auto recorded = [&] {
        ASSERT_EQ(written().recordCount(), afterRecords.size());
        afterRecords.push_back(session.document());
    };
    BrushSettings road;
    road.terrainType = 3;
    road.brushWidth = 2;
    session.beginStep();
    session.paint(road, 30, 30);
    session.paint(road, 2, 3);
    session.endStep();
    recorded();
    ASSERT_TRUE(session.resize(12));
    recorded();
    session.undoStep();  // the shrink taken back: side 36 and its cells again
    recorded();
    session.redoStep();
    recorded();
    session.undoStep();
    recorded();
    session.undoLast();
    recorded();

    keeper.waitUntilWritten();
    const QByteArray whole = readFile(keeper.journalPath());
    const JournalContents full = readJournal(keeper.journalPath());
    ASSERT_EQ(full.recordCount() + 1, afterRecords.size());
    const MapDocument opened = *readMapFile(mapPath).document;
    std::size_t replayedUpTo = 0;  // the window's replay, once for each number of whole records
    for (qsizetype cut = full.recordOffsets[0]; cut <= whole.size(); ++cut) {
        SCOPED_TRACE(cut);
        const JournalContents journal = readJournalBytes(whole.first(cut));
        ASSERT_TRUE(journal.ok()) << journal.reason.toStdString();
        ASSERT_FALSE(journal.damaged());
        const MapDocument &expected = afterRecords[journal.recordCount()];
        // As the command-line tool replays it, and as the window does.
        MapDocument document = opened;
        for (std::size_t i = 0; i < journal.recordCount(); ++i)
            ASSERT_TRUE(applyJournalRecord(document, journal.record(i)).isEmpty());
        ASSERT_NO_FATAL_FAILURE(expectSameCells(document, expected));
        if (cut > full.recordOffsets[0] && journal.recordCount() == replayedUpTo)
            continue;
        replayedUpTo = journal.recordCount();
        EditorSession recovered;
        ASSERT_TRUE(recovered.open(mapPath).ok());
        ASSERT_TRUE(replayJournal(recovered, journal).reason.isEmpty());
        ASSERT_NO_FATAL_FAILURE(expectSameCells(recovered.document(), expected));
    }
}

TEST_F(JournalKeeperTest, AnUndoReachingBehindASaveIsReplayedAsTheCellsItWrote)
{
    BrushSettings sand;
    sand.terrainType = 2;
    for (const int row : {4, 9}) {
        session.beginStep();
        session.paint(sand, 6, row);
        session.endStep();
    }
    ASSERT_TRUE(session.save(mapPath).ok());
    const QByteArray saved = readFile(mapPath);
    session.undoStep();  // behind the journal's start: the saved file holds the step
    session.beginStep();
    session.paint(sand, 20, 20);
    session.endStep();
    session.undoStep();
    session.undoStep();  // the cells written in place of the first undo
    session.redoStep();
    const JournalContents journal = written();
    ASSERT_EQ(journal.recordCount(), 5u);
    EXPECT_EQ(journal.record(0).kind, JournalRecord::Kind::Step);
    EXPECT_EQ(journal.record(1).kind, JournalRecord::Kind::Step);
    EXPECT_EQ(journal.record(2).kind, JournalRecord::Kind::Move);

    const std::unique_ptr<EditorSession> recovered = recoveredFrom(journal);
    recovered->undoStep();
    session.undoStep();
    expectSameCells(recovered->document(), session.document());
    EXPECT_EQ(readFile(mapPath), saved);
}

TEST_F(JournalKeeperTest, ASecondEditorOfTheMapKeepsAJournalOfItsOwn)
{
    BrushSettings lava;
    lava.terrainType = 7;
    session.paint(lava, 1, 1);
    session.endStep();
    const QString firstJournal = keeper.journalPath();

    EditorSession second;
    JournalKeeper secondKeeper{second, dir.filePath("journals")};
    QSignalSpy notices(&secondKeeper, &JournalKeeper::notice);
    ASSERT_TRUE(second.open(mapPath).ok());
    EXPECT_TRUE(secondKeeper.openElsewhere(mapPath));
    EXPECT_FALSE(keeper.openElsewhere(mapPath));
    ASSERT_EQ(notices.count(), 1);
    EXPECT_EQ(notices.at(0).at(0).value<JournalKeeper::Notice>(), JournalKeeper::Notice::OpenElsewhere);
    EXPECT_NE(secondKeeper.journalPath(), firstJournal);
    EXPECT_EQ(notices.at(0).at(1).toString(), secondKeeper.journalPath());
    second.paint(lava, 5, 5);
    second.endStep();
    secondKeeper.waitUntilWritten();
    EXPECT_EQ(readJournal(secondKeeper.journalPath()).recordCount(), 1u);

    // The second editor quits: its own journal goes, the first one's stays whole.
    secondKeeper.discard();
    EXPECT_FALSE(QFileInfo::exists(secondKeeper.journalPath()));
    session.paint(lava, 2, 2);
    session.endStep();
    const JournalContents first = written();
    EXPECT_EQ(first.recordCount(), 2u);
    recoveredFrom(first);
}

TEST_F(JournalKeeperTest, AJournalWhoseFolderDisappearsIsWrittenAnewAndSaid)
{
    QSignalSpy notices(&keeper, &JournalKeeper::notice);
    BrushSettings snow;
    snow.terrainType = 5;
    session.paint(snow, 1, 2);
    session.endStep();
    written();
    ASSERT_TRUE(QDir(keeper.folder()).removeRecursively());
    session.paint(snow, 3, 4);
    session.endStep();
    const JournalContents journal = written();
    ASSERT_TRUE(journal.ok()) << journal.reason.toStdString();
    EXPECT_EQ(journal.recordCount(), 2u);
    ASSERT_TRUE(notices.wait(2000) || notices.count() > 0);
    EXPECT_EQ(notices.at(0).at(0).value<JournalKeeper::Notice>(), JournalKeeper::Notice::Rewritten);
    recoveredFrom(journal);
}

TEST_F(JournalKeeperTest, RecoveredStepsAreUndoneOneByOne)
{
    BrushSettings water;
    water.terrainType = 8;
    for (const int column : {2, 20}) {
        session.beginStep();
        session.paint(water, column, 5);
        session.paint(water, column, 6);
        session.endStep();
    }
    const JournalContents journal = written();
    ASSERT_EQ(journal.recordCount(), 2u);

    // The recovering session journals what it replays, as it would any edit.
    EditorSession recovered;
    JournalKeeper recoveredKeeper{recovered, dir.filePath("journals")};
    ASSERT_TRUE(recovered.open(mapPath).ok());
    QSignalSpy steps(&recovered, &EditorSession::stepRecorded);
    QSignalSpy changed(&recovered, &EditorSession::cellsChanged);
    EXPECT_EQ(replayJournal(recovered, journal).steps, 2u);
    EXPECT_EQ(steps.count(), 2);
    EXPECT_EQ(changed.count(), 2);
    expectSameCells(recovered.document(), session.document());
    recoveredKeeper.waitUntilWritten();
    EXPECT_EQ(readJournal(recoveredKeeper.journalPath()).recordCount(), 2u);

    recovered.undoStep();
    EXPECT_EQ(recovered.document().ground.at(5, 20), MapWriter::patternLayer(36, 0).at(5, 20));
    EXPECT_EQ(recovered.document().ground.at(5, 2).tertype, 8);
}

TEST_F(JournalKeeperTest, ARecordThatDoesNotFitStopsTheReplay)
{
    JournalContents journal;
    journal.header.side = 36;
    journal.header.levelCount = 2;
    JournalRecord beyond;
    beyond.cells = {{40, 40, TerrainCell{}}};
    journal.bytes = encodeJournalRecord(journalSizeChange(72)) + encodeJournalRecord(beyond);
    journal.recordOffsets = {0, encodeJournalRecord(journalSizeChange(72)).size()};
    // Written for a larger map: the size record fits, the cell then does too.
    EXPECT_TRUE(replayJournal(session, journal).reason.isEmpty());

    ASSERT_TRUE(session.open(mapPath).ok());
    journal.bytes = encodeJournalRecord(beyond);
    journal.recordOffsets = {0};
    const JournalReplay replay = replayJournal(session, journal);
    EXPECT_EQ(replay.steps, 0u);
    EXPECT_TRUE(replay.reason.contains("outside the map")) << replay.reason.toStdString();
    EXPECT_FALSE(session.hasUnsavedChanges());

    // A journal of a map of another size replays nothing, naming both sizes.
    journal.header.side = 40;
    const JournalReplay other = replayJournal(session, journal);
    EXPECT_EQ(other.steps, 0u);
    EXPECT_TRUE(other.reason.contains("side 40 with 2 level(s), the map is of side 36 with 2 level(s)"))
        << other.reason.toStdString();
}

TEST_F(JournalKeeperTest, SavingEmptiesDiscardingDeletesAndAnotherFileMovesTheJournal)
{
    BrushSettings sand;
    sand.terrainType = 2;
    session.paint(sand, 1, 1);
    session.endStep();
    EXPECT_EQ(written().recordCount(), 1u);

    // A save to the map's own file leaves the header, naming the file as saved.
    ASSERT_TRUE(session.save(mapPath).ok());
    JournalContents journal = written();
    EXPECT_EQ(journal.recordCount(), 0u);
    EXPECT_TRUE(journalMatchesFile(journal.header, mapPath).matches());
    const std::vector<JournalListing> listed = listJournals(keeper.folder());
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].recordBytes, 0);

    // Saved elsewhere: the old journal goes, the new file's starts.
    session.paint(sand, 2, 2);
    session.endStep();
    const QString oldJournal = keeper.journalPath();
    const QString otherPath = dir.filePath("other.vdm");
    ASSERT_TRUE(session.save(otherPath).ok());
    journal = written();
    EXPECT_FALSE(QFileInfo::exists(oldJournal));
    EXPECT_EQ(keeper.journalPath(), journalPathFor(keeper.folder(), otherPath));
    EXPECT_EQ(journal.header.mapPath, journalMapPath(otherPath));

    session.paint(sand, 3, 3);
    session.endStep();
    keeper.discard();
    keeper.waitUntilWritten();
    EXPECT_TRUE(listJournals(keeper.folder()).empty());
}

TEST_F(JournalKeeperTest, OpeningAnotherMapDeletesTheOldJournal)
{
    BrushSettings sand;
    sand.terrainType = 2;
    session.paint(sand, 1, 1);
    session.endStep();
    const QString oldJournal = keeper.journalPath();
    ASSERT_TRUE(session.open(dir.write("second.vdm", patternedMap())).ok());
    keeper.waitUntilWritten();
    EXPECT_FALSE(QFileInfo::exists(oldJournal));
    EXPECT_TRUE(QFileInfo::exists(keeper.journalPath()));
}

TEST_F(JournalKeeperTest, AChangedFileIsDetected)
{
    BrushSettings sand;
    sand.terrainType = 2;
    session.paint(sand, 1, 1);
    session.endStep();
    const JournalContents journal = written();
    QFile file(mapPath);
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("x");
    file.close();
    EXPECT_FALSE(journalMatchesFile(journal.header, mapPath).matches());

    // The recovered map then has no file: the next save asks for a name.
    QSignalSpy named(&session, &EditorSession::fileNameChanged);
    session.forgetFileName();
    EXPECT_TRUE(session.fileName().isEmpty());
    ASSERT_EQ(named.count(), 1);
    EXPECT_TRUE(named.at(0).at(0).toString().isEmpty());
}

TEST_F(JournalKeeperTest, WritingProblemsAreReported)
{
    // The journal folder is a file: no journal can be written in it.
    EditorSession other;
    const QString blocked = dir.write("blocked", "not a folder");
    JournalKeeper blockedKeeper{other, blocked};
    QSignalSpy problems(&blockedKeeper, &JournalKeeper::problem);
    ASSERT_TRUE(other.open(mapPath).ok());
    blockedKeeper.waitUntilWritten();
    ASSERT_TRUE(problems.wait(2000));
    EXPECT_TRUE(problems.at(0).at(1).value<Reason>().english().contains("cannot be made"))
        << problems.at(0).at(1).value<Reason>().english().toStdString();
}

}  // namespace
