// Tests of the edit journal: random runs of every kind of step replayed on a
// fresh load of the map file give the same bytes; a journal cut at any byte of
// its last record keeps the records before it, and a damaged record with intact
// ones behind it is told apart from such a cut; refused headers and records;
// steps written in order and moves of the history; journals of version 1;
// only regular files read; a changed map file; the writer's clear, discard,
// failures, damaged journals moved aside and deleted journals written anew;
// journal names and listings.
#include "journal/EditJournal.h"

#include "base/Platform.h"
#include "edit/EditHistory.h"
#include "journal/JournalFolder.h"
#include "journal/JournalWriter.h"
#include "map/MapFile.h"
#include "map/MapSave.h"
#include "writers/MapWriter.h"

#include "MapFixture.h"
#include "TempDir.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QDir>
#include <QElapsedTimer>
#include <QtEndian>

#include <gtest/gtest.h>

#include <zlib.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <random>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#include <sys/stat.h>
#endif

namespace {

// The header bytes with another format version and a checksum that matches it:
// what a program of that version writes.
QByteArray withVersion(QByteArray header, std::uint32_t version)
{
    const qsizetype length = decodeJournalHeader(header).length;
    const std::uint32_t stored = qToLittleEndian(version);
    std::memcpy(header.data() + 8, &stored, 4);
    const std::uint32_t crc = qToLittleEndian(
        std::uint32_t(crc32_z(0, reinterpret_cast<const Bytef *>(header.constData()), z_size_t(length - 4))));
    std::memcpy(header.data() + length - 4, &crc, 4);
    return header;
}

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
    CellEditor editor(document, 0, undoList);
    for (std::size_t i = 0; i < journal.recordCount(); ++i) {
        const QString reason = applyJournalRecord(document, journal.record(i), throughEditor ? &editor : nullptr).english();
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
        CellEditor editor(document, level, history.undoList());
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
            level = document.hasLevel(1) ? int(random() % 2) : 0;
        }
    }

    int level = 0;  // the level the steps write
    QString mapPath;
    QString journalPath;
    MapDocument document;
    EditHistory history;
    std::atomic<int> rewrites = 0;  // journals written anew after a deletion
    JournalWriter writer{{}, JournalWriter::DefaultSyncDelay,
                         [this](JournalWriter::Event event, const QString &, const Reason &) {
                             rewrites += event == JournalWriter::Event::Rewritten;
                         }};
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
    session.level = 1;
    std::mt19937 random(7);
    session.stroke(random, 3, 3, false);
    session.writer.waitUntilWritten();

    MapDocument document = loadMap(session.mapPath);
    const MapDocument original = document;
    EditHistory history;
    history.openStep();
    CellEditor editor(document, 0, history.undoList());
    const JournalContents journal = readJournal(session.journalPath);
    ASSERT_EQ(journal.recordCount(), 1u);
    EXPECT_TRUE(applyJournalRecord(document, journal.record(0), &editor).isEmpty());
    history.closeStep();
    EXPECT_EQ(editor.level(), 0);
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

    const QByteArray newer = withVersion(good, 9);
    QByteArray versionFlipped = good;
    versionFlipped[8] = 9;  // the format version follows the 8 bytes of the magic
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
        {"newer format", newer, "format 9, newer than this program's 2; a newer Brackwen can recover it"},
        {"damaged format field", versionFlipped, "damaged (its format field reads 9)"},
        {"header cut off", good.first(good.size() - 1), "cut off"},
        {"header damaged", damaged, "damaged"},
        {"side zero", encodeJournalHeader({"/maps/a.vdm", {1, 2, 3}, 0, 1}), "a map of side 0 with 1 levels"},
        {"side too large", encodeJournalHeader({"/maps/a.vdm", {1, 2, 3}, 9001, 1}), "side 9001"},
        {"three levels", encodeJournalHeader({"/maps/a.vdm", {1, 2, 3}, 36, 3}), "with 3 levels"},
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
        const QString reason = applyJournalRecord(target, each.record).english();
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

// A write the system refuses is named in words of ours, which the windows
// word in their language, not in the system library's English: here the
// file-size limit, which a full disk meets in the same way.
TEST(EditJournal, ARefusedWriteIsNamedInOurWords)
{
#ifdef Q_OS_WIN
    GTEST_SKIP() << "no file-size limit to set";
#else
    TempDir dir;
    const QString mapPath = dir.write("map.vdm", MapWriter::patterned(36, false).data());
    const MapDocument document = loadMap(mapPath);
    const QString journalPath = journalPathFor(dir.filePath("journals"), mapPath);

    std::mutex mutex;
    Reason reported;
    {
        JournalWriter writer([&](const QString &, const Reason &reason) {
            const std::lock_guard lock(mutex);
            if (!reason.isEmpty())  // not the report that it works again, once the limit is gone
                reported = reason;
        });
        platform::ignoreFileSizeSignal();
        rlimit before{};
        ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
        rlimit small = before;
        small.rlim_cur = 16;  // less than a journal's header
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
        writer.open(journalPath, mapPath, document);
        writer.waitUntilWritten();
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &before), 0);
        EXPECT_EQ(writer.problem(), "file too large");
    }
    const std::lock_guard lock(mutex);
    ASSERT_NE(reported.kind(), nullptr) << reported.english().toStdString();
    EXPECT_STREQ(reported.kind()->key, "system.toolarge");
#endif
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
    JournalWriter writer([&](const QString &path, const Reason &reason) {
        const std::lock_guard lock(mutex);
        reports.emplace_back(path, reason.english());
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

// A stored record made by hand, with a matching checksum: what a damaged
// program, not a damaged disk, could write.
QByteArray framed(std::uint8_t kind, const QByteArray &content)
{
    QByteArray stored;
    stored.append(char(kind));
    const std::uint32_t length = qToLittleEndian(std::uint32_t(content.size()));
    stored.append(reinterpret_cast<const char *>(&length), 4);
    stored.append(content);
    const std::uint32_t crc = qToLittleEndian(
        std::uint32_t(crc32_z(0, reinterpret_cast<const Bytef *>(stored.constData()), z_size_t(stored.size()))));
    stored.append(reinterpret_cast<const char *>(&crc), 4);
    return stored;
}

TEST(EditJournal, StepsKeepTheOrderOfTheirWritesAndMovesRoundTrip)
{
    // A step writing (3, 2) twice, with (1, 5) between: replayed in order
    // through an editor, it makes the very undo records the step made.
    MapDocument document = openMap(8, true);
    document.ground.at(2, 3) = {1, 1};
    const MapDocument before = document;
    EditHistory history;
    history.openStep();
    {
        CellEditor editor(document, 0, history.undoList());
        editor.replaceCell(3, 2, {4, 4});
        editor.replaceCell(1, 5, {6, 0, 2});
        editor.replaceCell(3, 2, {7, 3});
    }
    {
        CellEditor editor(document, 1, history.undoList());
        editor.replaceCell(0, 0, {9});
    }
    history.closeStep();
    const JournalRecord step = journalStepOfUndoRecords(document, history.undoList(), 0, history.undoList().count());
    ASSERT_EQ(step.kind, JournalRecord::Kind::Step);
    ASSERT_EQ(step.parts.size(), 2u);
    const std::vector<JournalCell> ground = {{3, 2, {4, 4}}, {1, 5, {6, 0, 2}}, {3, 2, {7, 3}}};
    EXPECT_EQ(step.parts[0].cells, ground);
    EXPECT_EQ(step.parts[1].level, 1);

    const JournalRecord move = journalMove(JournalRecord::Move::UndoOneCell,
                                           {journalSizeChange(12), journalCellsInRectangle(document, 0, QRect(1, 1, 3, 5))});
    for (const JournalRecord &record : {step, move}) {
        const QByteArray stored = encodeJournalRecord(record);
        const JournalRecordRead read = decodeJournalRecord(stored);
        ASSERT_TRUE(read.ok()) << read.reason.toStdString();
        EXPECT_EQ(read.length, stored.size());
        EXPECT_EQ(read.record, record);
    }

    MapDocument replayed = before;
    UndoList records;
    CellEditor editor(replayed, 0, records);
    ASSERT_TRUE(applyJournalRecord(replayed, step, &editor).isEmpty());
    ASSERT_EQ(records.count(), history.undoList().count());
    for (std::size_t i = 0; i < records.count(); ++i)
        EXPECT_EQ(records.at(i), history.undoList().at(i)) << "record " << i;
    EXPECT_EQ(serializeMapData(replayed), serializeMapData(document));
    EXPECT_TRUE(documentHoldsRecord(replayed, step));
    EXPECT_FALSE(documentHoldsRecord(before, step));
}

TEST(EditJournal, EveryReaderOfASizeKeepsItWithinTheLargestMap)
{
    const auto sizeContent = [](std::uint32_t side) {
        const std::uint32_t stored = qToLittleEndian(side);
        return QByteArray(reinterpret_cast<const char *>(&stored), 4);
    };
    for (const std::uint32_t side : {0u, MapDocument::LargestSide + 1, 0xFFFFFFFFu}) {
        SCOPED_TRACE(side);
        const JournalRecordRead alone = decodeJournalRecord(framed(2, sizeContent(side)));
        EXPECT_TRUE(alone.reason.contains("outside 1..9000")) << alone.reason.toStdString();
        // Inside a step or a move (parts carry no checksum of their own).
        const QByteArray part = QByteArray(1, char(2)) + sizeContent(4) + sizeContent(side);  // kind, length, side
        const JournalRecordRead inStep = decodeJournalRecord(framed(3, part));
        EXPECT_TRUE(inStep.reason.contains("outside 1..9000")) << inStep.reason.toStdString();
    }
    EXPECT_TRUE(decodeJournalRecord(framed(2, sizeContent(MapDocument::LargestSide))).ok());
}

// A journal of two-level map with steps, an undone shrink and moves, as
// the session writes them.
QByteArray versionTwoJournal(const TempDir &dir, QString &mapPath)
{
    mapPath = dir.write("v2.vdm", MapWriter::patterned(12, true).data());
    MapDocument document = loadMap(mapPath);
    EditHistory history;
    QByteArray bytes = encodeJournalHeader(makeJournalHeader(mapPath, 12, 2));
    for (int i = 0; i < 3; ++i) {
        const std::size_t first = history.undoList().count();
        history.openStep();
        CellEditor editor(document, 0, history.undoList());
        for (std::uint16_t cell = 0; cell < 5; ++cell)
            editor.replaceCell(std::uint16_t(cell + i), std::uint16_t(2 * i), {std::uint8_t(i + 2), std::uint8_t(cell)});
        history.closeStep();
        bytes += encodeJournalRecord(journalStepOfUndoRecords(document, history.undoList(), first, history.undoList().count()));
    }
    history.resize(document, 6);
    bytes += encodeJournalRecord(journalSizeChange(6));
    history.undoStep(document);
    bytes += encodeJournalRecord(journalMove(JournalRecord::Move::UndoStep,
                                             {journalSizeChange(12), journalCellsInRectangle(document, 0, QRect(0, 0, 12, 12)),
                                              journalCellsInRectangle(document, 1, QRect(0, 0, 12, 12))}));
    const HistoryChange undone = history.undoStep(document);
    bytes += encodeJournalRecord(
        journalMove(JournalRecord::Move::UndoStep, {journalCellsInRectangle(document, 0, undone.changedCells[0])}));
    return bytes;
}

TEST(EditJournal, ADamagedRecordWithIntactOnesBehindIsNoCrashCut)
{
    TempDir dir;
    QString mapPath;
    const QByteArray whole = versionTwoJournal(dir, mapPath);
    const JournalContents intact = readJournal(dir.write("whole.journal", whole));
    ASSERT_TRUE(intact.ok()) << intact.reason.toStdString();
    ASSERT_EQ(intact.recordCount(), 6u);
    ASSERT_FALSE(intact.tailDropped());
    const std::vector<qsizetype> &at = intact.recordOffsets;

    // A cut anywhere is a crash's cut, never damage, though a cut step or move
    // holds parts framed like records.
    for (qsizetype cut = at[0]; cut < whole.size(); ++cut) {
        const JournalContents journal = readJournalBytes(whole.first(cut));
        ASSERT_TRUE(journal.ok());
        ASSERT_FALSE(journal.damaged()) << "cut at " << cut << ": " << journal.tailReason.toStdString();
    }

    struct Case {
        const char *name;
        qsizetype byte;  // flipped
        std::size_t kept;
        std::size_t intactBehind;
    };
    const Case cases[] = {
        {"content of the second record", at[1] + 12, 1, 4},
        {"length of the second record", at[1] + 3, 1, 4},
        {"kind of the fourth record", at[3], 3, 2},
        {"checksum of the fifth record", at[5] - 1, 4, 1},
        {"content of the last record", at[5] + 7, 5, 0},
    };
    for (const Case &each : cases) {
        SCOPED_TRACE(each.name);
        QByteArray damaged = whole;
        damaged[each.byte] = char(damaged[each.byte] ^ 0x40);
        const JournalContents journal = readJournalBytes(damaged);
        ASSERT_TRUE(journal.ok()) << journal.reason.toStdString();
        EXPECT_EQ(journal.recordCount(), each.kept);
        EXPECT_EQ(journal.intactAfterDamage, each.intactBehind);
        EXPECT_EQ(journal.damaged(), each.intactBehind > 0);
        if (journal.damaged())
            EXPECT_TRUE(journal.damage().startsWith(QStringLiteral("record %1 is damaged and %2 intact records follow")
                                                        .arg(each.kept + 1)
                                                        .arg(each.intactBehind)))
                << journal.damage().toStdString();
    }
}

TEST(EditJournal, AVersionOneJournalIsReadAsBefore)
{
    TempDir dir;
    const QString mapPath = dir.write("map.vdm", MapWriter::patterned(36, true).data());
    MapDocument document = loadMap(mapPath);
    QByteArray bytes = withVersion(encodeJournalHeader(makeJournalHeader(mapPath, 36, 2)), 1);
    for (std::uint16_t i = 0; i < 20; ++i)
        document.underground.at(i, i) = {9, std::uint8_t(i)};
    bytes += encodeJournalRecord(journalCellsInRectangle(document, 1, QRect(0, 0, 20, 20)));
    document.redimension(40);
    bytes += encodeJournalRecord(journalSizeChange(40));
    const QString journalPath = dir.write("old.journal", bytes);
    const JournalContents journal = readJournal(journalPath);
    ASSERT_TRUE(journal.ok()) << journal.reason.toStdString();
    EXPECT_EQ(journal.recordCount(), 2u);
    EXPECT_EQ(serializeMapData(replay(journalPath, false)), serializeMapData(document));
}

#ifdef Q_OS_UNIX
TEST(EditJournal, OnlyRegularFilesAreReadAsJournals)
{
    TempDir dir;
    const QString fifo = dir.filePath("pipe.journal");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QDir().mkpath(dir.filePath("folder.journal"));
    for (const QString &path : {QStringLiteral("/dev/zero"), fifo, dir.filePath("folder.journal")}) {
        SCOPED_TRACE(path.toStdString());
        // Refused without reading: a pipe with no writer would block, a device never end.
        const JournalContents journal = readJournal(path);
        EXPECT_FALSE(journal.ok());
        EXPECT_FALSE(journal.reason.isEmpty());
    }
}
#endif

TEST(EditJournal, ADamagedJournalIsMovedAsideNeverOverwritten)
{
    TempDir dir;
    QString mapPath;
    const QByteArray whole = versionTwoJournal(dir, mapPath);
    const QString folder = dir.filePath("journals");
    const QString journalPath = journalPathFor(folder, mapPath);
    QByteArray damaged = whole;
    damaged[decodeJournalHeader(whole).length + 10] ^= 0x08;
    QByteArray badHeader = whole;
    badHeader[30] ^= 0x01;
    const JournalContents read = readJournal(dir.write("probe.journal", whole));

    struct Case {
        const char *name;
        QByteArray bytes;
        bool movedAside;
    };
    const Case cases[] = {
        {"damaged record with intact ones behind", damaged, true},
        {"damaged header", badHeader, true},
        {"cut by a crash", whole.first(read.recordOffsets[3] + 5), false},
        {"newer program's", withVersion(whole, 7), false},
    };
    for (const Case &each : cases) {
        SCOPED_TRACE(each.name);
        QDir(folder).removeRecursively();
        dir.write("journals/" + QFileInfo(journalPath).fileName(), each.bytes);
        std::mutex mutex;
        QStringList moved;
        {
            JournalWriter writer({}, JournalWriter::DefaultSyncDelay,
                                 [&](JournalWriter::Event event, const QString &path, const Reason &detail) {
                                     const std::lock_guard lock(mutex);
                                     if (event == JournalWriter::Event::DamagedMoved)
                                         moved << path << detail.english();
                                 });
            writer.open(journalPath, mapPath, loadMap(mapPath));
        }
        const QStringList aside = QDir(folder).entryList({"*.damaged-*"}, QDir::Files);
        const std::lock_guard lock(mutex);
        if (!each.movedAside) {
            EXPECT_TRUE(aside.isEmpty());
            EXPECT_TRUE(moved.isEmpty());
            continue;
        }
        ASSERT_EQ(aside.size(), 1);
        EXPECT_EQ(readFile(QDir(folder).filePath(aside[0])), each.bytes);
        ASSERT_EQ(moved.size(), 2);
        EXPECT_EQ(moved[0], QDir(folder).filePath(aside[0]));
        EXPECT_TRUE(moved[1].contains("damaged")) << moved[1].toStdString();
        // The new journal is a fresh one, and listings pass over the damaged file.
        EXPECT_EQ(readJournal(journalPath).recordCount(), 0u);
        EXPECT_EQ(listJournals(folder).size(), 1u);
    }
}

TEST(EditJournal, AJournalDeletedWhileInUseIsWrittenAnewWithEveryRecord)
{
    TempDir dir;
    JournalledSession session(dir, 36, true);
    std::mt19937 random(3);
    session.stroke(random, 3, 3, false);
    session.stroke(random, 4, 2, false);
    session.writer.waitUntilWritten();
    ASSERT_TRUE(QDir(dir.filePath("journals")).removeRecursively());

    session.stroke(random, 2, 2, false);
    session.writer.waitUntilWritten();
    EXPECT_EQ(session.rewrites, 1);
    EXPECT_TRUE(session.writer.problem().isEmpty()) << session.writer.problem().toStdString();
    const JournalContents journal = readJournal(session.journalPath);
    ASSERT_TRUE(journal.ok()) << journal.reason.toStdString();
    EXPECT_EQ(journal.recordCount(), 3u);
    EXPECT_EQ(serializeMapData(replay(session.journalPath, false)), serializeMapData(session.document));
}

}  // namespace
