// Tests of the edit journal: random runs of every kind of step replayed on a
// fresh load of the map file give the same bytes; a journal cut at any byte of
// its last record keeps the records before it; refused headers and records;
// a changed map file; the writer's clear, discard and failures; journal names
// and listings.
#include "edit/EditJournal.h"

#include "edit/EditHistory.h"
#include "edit/JournalFolder.h"
#include "edit/JournalWriter.h"
#include "map/MapFile.h"
#include "writers/MapWriter.h"

#include "MapFixture.h"
#include "TempDir.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <mutex>
#include <random>

namespace {

MapDocument loadMap(const QString &path)
{
    MapLoadResult loaded = readMapFile(path);
    EXPECT_TRUE(loaded.ok()) << loaded.reason.toStdString();
    return loaded.ok() ? std::move(*loaded.document) : MapDocument();
}

// Replays every record of the journal on a fresh load of its map file, through
// an editor when asked; the document, or a failure.
MapDocument replay(const QString &journalPath, bool throughEditor)
{
    const JournalContents journal = readJournal(journalPath);
    EXPECT_TRUE(journal.ok()) << journal.reason.toStdString();
    EXPECT_FALSE(journal.tailDropped()) << journal.tailReason.toStdString();
    MapDocument document = loadMap(journal.header.mapPath);
    UndoList undoList;
    CellEditor editor(document, undoList);
    for (std::size_t i = 0; i < journal.recordCount(); ++i) {
        const QString reason = applyJournalRecord(document, journal.record(i), throughEditor ? &editor : nullptr);
        EXPECT_TRUE(reason.isEmpty()) << "record " << i << ": " << reason.toStdString();
    }
    return document;
}

// A session on a map file: edits are steps of an edit history, and after each
// one the session journals what it changed, as the editor does.
struct JournalledSession {
    JournalledSession(const TempDir &dir, std::uint32_t side, bool twoLevels)
        : mapPath(dir.write("map.vdm", MapWriter::patterned(side, twoLevels).data()))
        , journalPath(journalPathFor(dir.filePath("journals"), mapPath))
        , document(loadMap(mapPath))
    {
        writer.open(journalPath, mapPath, document);
    }

    void journalChange(const HistoryChange &change)
    {
        for (int level = 0; level < 2; ++level)
            if (!change.changedCells[level].isEmpty())
                writer.append(journalCellsInRectangle(document, level, change.changedCells[level]));
    }

    // One step writing random values over a rectangle of the shown level.
    void stroke(std::mt19937 &random, int width, int height, bool alike)
    {
        const std::size_t first = history.undoList().count();
        history.openStep();
        CellEditor editor(document, history.undoList());
        const int left = int(random() % document.mapSize), top = int(random() % document.mapSize);
        const TerrainCell same{std::uint8_t(random() % 10), std::uint8_t(random() % 20)};
        for (int row = top; row < std::min<int>(top + height, int(document.mapSize)); ++row)
            for (int column = left; column < std::min<int>(left + width, int(document.mapSize)); ++column)
                editor.replaceCell(std::uint16_t(column), std::uint16_t(row),
                                   alike ? same
                                         : TerrainCell{std::uint8_t(random() % 10), std::uint8_t(random() % 79),
                                                       std::uint8_t(random() % 5), 0, 0, 0,
                                                       std::uint8_t(random())});
        history.closeStep();
        writer.append(journalCellsOfUndoRecords(document, history.undoList(), first, history.undoList().count()));
    }

    // A size change, and its undo bringing back the cells the cut dropped.
    void resize(std::uint32_t side)
    {
        const MapDocument before = document;
        ASSERT_TRUE(document.redimension(side));
        writer.append(journalSizeChange(side));
        if (side < before.mapSize) {
            document = before;
            writer.append(journalSizeChange(before.mapSize));
            for (int level = 0; level < document.levelCount(); ++level)
                writer.append(journalCellsInRectangle(document, level, QRect(0, 0, int(before.mapSize), int(before.mapSize))));
        }
    }

    void randomStep(std::mt19937 &random)
    {
        switch (random() % 8) {
        case 0:
        case 1:
            return stroke(random, 3, 3, false);
        case 2:
            return stroke(random, 40, 40, true);  // a fill
        case 3:
            return journalChange(history.undoStep(document));
        case 4:
            return journalChange(history.redoStep(document));
        case 5: {
            const HistoryChange change = history.undoOneCell(document);
            if (change.firstCell.outcome == UndoStep::Outcome::Restored) {
                const CellPosition cell{change.firstCell.column, change.firstCell.row};
                writer.append(journalCellsAt(document, change.firstCell.level, {&cell, 1}));
            }
            return;
        }
        case 6:
            return resize(document.mapSize + 5 - random() % 10);
        default:
            chooseLevel(document, int(random() % 2));
        }
    }

    QString mapPath;
    QString journalPath;
    MapDocument document;
    EditHistory history;
    JournalWriter writer;
};

TEST(EditJournal, RandomStepsReplayToTheSameBytes)
{
    for (const std::uint32_t seed : {1u, 2u, 3u, 4u}) {
        SCOPED_TRACE(seed);
        TempDir dir;
        JournalledSession session(dir, 36, seed != 4);
        std::mt19937 random(seed);
        for (int step = 0; step < 60; ++step)
            session.randomStep(random);
        session.writer.waitUntilWritten();
        EXPECT_TRUE(session.writer.problem().isEmpty()) << session.writer.problem().toStdString();

        for (const bool throughEditor : {false, true}) {
            const MapDocument replayed = replay(session.journalPath, throughEditor);
            EXPECT_EQ(replayed.mapSize, session.document.mapSize);
            EXPECT_EQ(serializeMapData(replayed), serializeMapData(session.document));
        }
    }
}

TEST(EditJournal, ReplayThroughAnEditorIsUndoableAndKeepsTheShownLevel)
{
    TempDir dir;
    JournalledSession session(dir, 36, true);
    chooseLevel(session.document, 1);
    std::mt19937 random(7);
    session.stroke(random, 3, 3, false);
    session.writer.waitUntilWritten();

    MapDocument document = loadMap(session.mapPath);
    const MapDocument original = document;
    EditHistory history;
    history.openStep();
    CellEditor editor(document, history.undoList());
    const JournalContents journal = readJournal(session.journalPath);
    ASSERT_EQ(journal.recordCount(), 1u);
    EXPECT_TRUE(applyJournalRecord(document, journal.record(0), &editor).isEmpty());
    history.closeStep();
    EXPECT_EQ(document.currentLayerLevel(), 0);
    EXPECT_EQ(document.underground, session.document.underground);
    history.undoStep(document);
    EXPECT_EQ(serializeMapData(document), serializeMapData(original));
}

TEST(EditJournal, ATornLastRecordIsDroppedAndTheRestKept)
{
    TempDir dir;
    JournalledSession session(dir, 36, false);
    std::mt19937 random(11);
    session.stroke(random, 3, 3, false);
    session.stroke(random, 5, 2, false);
    session.writer.waitUntilWritten();
    const QByteArray twoSteps = readFile(session.journalPath);
    const MapDocument afterTwo = session.document;
    session.stroke(random, 4, 4, false);
    session.writer.waitUntilWritten();
    const QByteArray whole = readFile(session.journalPath);
    ASSERT_GT(whole.size(), twoSteps.size());

    for (qsizetype cut = twoSteps.size(); cut < whole.size(); ++cut) {
        SCOPED_TRACE(cut);
        const QString torn = dir.write("torn.journal", whole.first(cut));
        const JournalContents journal = readJournal(torn);
        ASSERT_TRUE(journal.ok()) << journal.reason.toStdString();
        EXPECT_EQ(journal.recordCount(), 2u);
        EXPECT_EQ(journal.tailDropped(), cut > twoSteps.size());
        EXPECT_EQ(journal.tailLength, cut - twoSteps.size());
    }
    const MapDocument replayed = replay(dir.write("two.journal", twoSteps), false);
    EXPECT_EQ(replayed.ground, afterTwo.ground);

    // A flipped byte inside the last record fails its checksum the same way.
    QByteArray damaged = whole;
    damaged[damaged.size() - 6] = char(damaged[damaged.size() - 6] ^ 0x10);
    const JournalContents journal = readJournal(dir.write("damaged.journal", damaged));
    EXPECT_EQ(journal.recordCount(), 2u);
    EXPECT_TRUE(journal.tailReason.contains("checksum")) << journal.tailReason.toStdString();
}

TEST(EditJournal, HeadersThatAreNoJournalOfOursAreRefusedAndLeftAlone)
{
    const JournalHeader header{"/maps/a.vdm", {1234, 5678, 0xABCD}, 72, 2};
    const QByteArray good = encodeJournalHeader(header);
    const JournalHeaderRead read = decodeJournalHeader(good);
    ASSERT_TRUE(read.ok()) << read.reason.toStdString();
    EXPECT_EQ(read.header, header);
    EXPECT_EQ(read.length, good.size());

    QByteArray newer = good;
    newer[8] = 2;  // the format version follows the 8 bytes of the magic
    QByteArray damaged = good;
    damaged[20] = char(damaged[20] ^ 1);
    struct Case {
        const char *name;
        QByteArray bytes;
        const char *reason;
    };
    const Case cases[] = {
        {"a map file", MapWriter::patterned(36, false).data(), "not an edit journal"},
        {"empty", QByteArray(), "not an edit journal"},
        {"newer format", newer, "newer than this program's 1"},
        {"header cut off", good.first(good.size() - 1), "cut off"},
        {"header damaged", damaged, "damaged"},
    };
    TempDir dir;
    for (const Case &each : cases) {
        SCOPED_TRACE(each.name);
        const QString path = dir.write("refused.journal", each.bytes);
        const JournalContents journal = readJournal(path);
        EXPECT_FALSE(journal.ok());
        EXPECT_TRUE(journal.reason.contains(each.reason)) << journal.reason.toStdString();
        EXPECT_EQ(readFile(path), each.bytes);
    }

    // Nor does a writer replace a newer program's journal.
    const QString newerPath = dir.write("newer.journal", newer);
    JournalWriter writer;
    writer.open(newerPath, dir.write("a.vdm", MapWriter::patterned(36, false).data()), openMap(36));
    writer.waitUntilWritten();
    EXPECT_TRUE(writer.problem().contains("left alone")) << writer.problem().toStdString();
    EXPECT_EQ(readFile(newerPath), newer);
}

TEST(EditJournal, RecordsRoundTripSortedOnceEachAndRefuseWhatDoesNotFit)
{
    MapDocument document = openMap(8);
    document.ground.at(2, 3) = {9, 8, 7, 6, 5, 4, 0xC3};
    const CellPosition positions[] = {{5, 7}, {3, 2}, {4, 2}, {3, 2}, {9, 9}};
    const JournalRecord record = journalCellsAt(document, 0, positions);
    ASSERT_EQ(record.cells.size(), 4u);  // (9, 9) lies outside the map

    const QByteArray stored = encodeJournalRecord(record);
    const JournalRecordRead read = decodeJournalRecord(stored);
    ASSERT_TRUE(read.ok()) << read.reason.toStdString();
    EXPECT_EQ(read.length, stored.size());
    const std::vector<JournalCell> expected = {{3, 2, {9, 8, 7, 6, 5, 4, 0xC3}}, {4, 2, {}}, {5, 7, {}}};
    EXPECT_EQ(read.record.cells, expected);
    const JournalRecordRead size = decodeJournalRecord(encodeJournalRecord(journalSizeChange(50)));
    EXPECT_EQ(size.record, journalSizeChange(50));

    JournalRecord underground = record;
    underground.level = 1;
    JournalRecord outside = record;
    outside.cells.push_back({8, 0, {}});
    struct Case {
        const char *name;
        JournalRecord record;
        const char *reason;
    };
    const Case cases[] = {
        {"level the map lacks", underground, "level 1"},
        {"cell beyond the side", outside, "column 8, row 0"},
        {"side zero", journalSizeChange(0), "side 0"},
        {"side too large", journalSizeChange(MapDocument::LargestSide + 1), "outside 1..9000"},
    };
    for (const Case &each : cases) {
        SCOPED_TRACE(each.name);
        MapDocument target = openMap(8);
        const QString reason = applyJournalRecord(target, each.record);
        EXPECT_TRUE(reason.contains(each.reason)) << reason.toStdString();
        EXPECT_EQ(serializeMapData(target), serializeMapData(openMap(8)));
    }
}

TEST(EditJournal, AChangedMapFileIsTold)
{
    TempDir dir;
    const QByteArray bytes = MapWriter::patterned(36, false).data();
    const QString path = dir.write("map.vdm", bytes);
    const JournalHeader header = makeJournalHeader(path, 36, 1);
    EXPECT_TRUE(journalMatchesFile(header, path).matches());
    const QDateTime written = QFileInfo(path).lastModified();

    // Other bytes of the same length, with the old time put back.
    QByteArray other = bytes;
    other[100] = char(other[100] ^ 1);
    dir.write("map.vdm", other);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite) && file.setFileTime(written, QFileDevice::FileModificationTime));
    file.close();
    const JournalFileCheck changed = journalMatchesFile(header, path);
    EXPECT_FALSE(changed.matches());
    EXPECT_TRUE(changed.difference.contains("its bytes differ")) << changed.difference.toStdString();
    EXPECT_FALSE(changed.difference.contains("size")) << changed.difference.toStdString();

    EXPECT_FALSE(journalMatchesFile(header, dir.filePath("gone.vdm")).matches());
}

TEST(EditJournal, ClearAfterSaveAndDiscard)
{
    TempDir dir;
    JournalledSession session(dir, 36, true);
    std::mt19937 random(5);
    session.stroke(random, 3, 3, false);
    session.resize(40);
    ASSERT_TRUE(saveMapFile(session.document, session.mapPath).ok());
    session.writer.clear(session.document);
    session.writer.waitUntilWritten();

    const JournalContents cleared = readJournal(session.journalPath);
    ASSERT_TRUE(cleared.ok()) << cleared.reason.toStdString();
    EXPECT_EQ(cleared.recordCount(), 0u);
    EXPECT_EQ(cleared.header.side, 40u);
    EXPECT_EQ(cleared.header.levelCount, 2);
    EXPECT_TRUE(journalMatchesFile(cleared.header, session.mapPath).matches());

    session.stroke(random, 2, 2, false);
    session.writer.waitUntilWritten();
    EXPECT_EQ(serializeMapData(replay(session.journalPath, false)), serializeMapData(session.document));

    session.writer.discard();
    session.writer.waitUntilWritten();
    EXPECT_FALSE(QFileInfo::exists(session.journalPath));
    session.stroke(random, 2, 2, false);  // nothing to journal into until the next open
    session.writer.waitUntilWritten();
    EXPECT_FALSE(QFileInfo::exists(session.journalPath));
}

TEST(EditJournal, AFailedWriteIsReportedAndWrittenWhenItCanBe)
{
    TempDir dir;
    const QString mapPath = dir.write("map.vdm", MapWriter::patterned(36, false).data());
    MapDocument document = loadMap(mapPath);
    // A file where the journal's folder should be.
    const QString blocker = dir.write("journals", "in the way");
    const QString journalPath = journalPathFor(dir.filePath("journals"), mapPath);

    std::mutex mutex;
    std::vector<std::pair<QString, QString>> reports;
    JournalWriter writer([&](const QString &path, const QString &reason) {
        const std::lock_guard lock(mutex);
        reports.emplace_back(path, reason);
    });
    writer.open(journalPath, mapPath, document);
    document.ground.at(1, 1) = {5};
    const CellPosition cell{1, 1};
    writer.append(journalCellsAt(document, 0, {&cell, 1}));
    writer.waitUntilWritten();
    EXPECT_FALSE(writer.problem().isEmpty());
    {
        const std::lock_guard lock(mutex);
        ASSERT_EQ(reports.size(), 1u);
        EXPECT_EQ(reports[0].first, journalPath);
        EXPECT_TRUE(reports[0].second.contains("cannot be made")) << reports[0].second.toStdString();
    }

    ASSERT_TRUE(QFile::remove(blocker));
    document.ground.at(2, 1) = {6};
    const CellPosition next{1, 2};
    writer.append(journalCellsAt(document, 0, {&next, 1}));
    writer.waitUntilWritten();
    EXPECT_TRUE(writer.problem().isEmpty());
    {
        const std::lock_guard lock(mutex);
        ASSERT_EQ(reports.size(), 2u);
        EXPECT_TRUE(reports[1].second.isEmpty());
    }
    EXPECT_EQ(replay(journalPath, false).ground, document.ground);
}

TEST(EditJournal, JournalNamesAndListings)
{
    TempDir dir;
    const QString folder = dir.filePath("journals");
    const QString first = dir.write("a.vdm", MapWriter::patterned(36, false).data());
    const QString second = dir.write("b.vdm", MapWriter::patterned(36, true).data());
    EXPECT_EQ(journalPathFor(folder, first), journalPathFor(folder, dir.path() + "/./a.vdm"));
    EXPECT_NE(journalPathFor(folder, first), journalPathFor(folder, second));
    EXPECT_TRUE(journalPathFor(folder, first).endsWith(".journal"));

    {
        JournalWriter writer;
        for (const QString &map : {first, second})
            writer.open(journalPathFor(folder, map), map, loadMap(map));
    }
    dir.write("journals/stray.journal", "not ours");
    dir.write("journals/notes.txt", "not listed");

    const std::vector<JournalListing> journals = listJournals(folder);
    ASSERT_EQ(journals.size(), 3u);
    QStringList maps;
    for (const JournalListing &each : journals) {
        if (!each.ok()) {
            EXPECT_TRUE(each.journalPath.endsWith("stray.journal"));
            EXPECT_EQ(each.reason, "not an edit journal");
            continue;
        }
        maps << each.header.mapPath;
        EXPECT_EQ(each.recordBytes, 0);
        EXPECT_TRUE(each.lastWritten.isValid());
    }
    maps.sort();
    EXPECT_EQ(maps, QStringList({first, second}));
}

}  // namespace
