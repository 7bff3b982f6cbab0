// Fuzz target of the edit journal reader: any bytes read as a journal are
// refused or give records that were checked; each record decodes again to
// itself after encoding, and those that fit a small map replay on it without
// fault, all or none, leaving the map holding what they say. The intact
// records counted behind a damaged one are never more than the bytes allow.
// With --write-seeds=FOLDER it writes a seed corpus there and exits: journals
// of a few steps, moves and size changes written by the journal's writer.
#include "FuzzSeeds.h"

#include "edit/CellEditor.h"
#include "edit/EditHistory.h"
#include "journal/EditJournal.h"
#include "journal/JournalRecord.h"
#include "journal/JournalWriter.h"
#include "map/MapFile.h"
#include "writers/LoadedMap.h"
#include "writers/MapWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <random>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

// The largest side a record changes the map to, 0 when it changes none.
std::uint32_t largestSide(const JournalRecord &record)
{
    std::uint32_t side = record.kind == JournalRecord::Kind::Size ? record.side : 0;
    for (const JournalRecord &part : record.parts)
        side = std::max(side, largestSide(part));
    return side;
}

// A journal written by the writer for a session of random steps on a map of
// the given side: strokes (some painting a cell twice), undo and redo of
// steps and of single cells, and size changes with their undo.
QByteArray writtenJournal(std::uint32_t seed, std::uint32_t side, bool twoLevels)
{
    QTemporaryDir scratch;
    const QString mapPath = scratch.filePath(QStringLiteral("map.vdm"));
    QFile map(mapPath);
    if (!map.open(QIODevice::WriteOnly))
        std::abort();
    map.write(MapWriter::patterned(side, twoLevels).data());
    map.close();
    MapDocument document = *readMapFile(mapPath).document;
    EditHistory history;
    const QString journalPath = scratch.filePath(QStringLiteral("map.journal"));
    {
        JournalWriter writer;
        writer.open(journalPath, mapPath, document);
        std::mt19937 random(seed);
        for (int step = 0; step < 12; ++step) {
            const auto moved = [&](JournalRecord::Move move, const HistoryChange &change) {
                std::vector<JournalRecord> parts;
                if (change.newSide)
                    parts.push_back(journalSizeChange(*change.newSide));
                for (int level = 0; level < 2; ++level)
                    if (!change.changedCells[level].isEmpty())
                        parts.push_back(journalCellsInRectangle(document, level, change.changedCells[level]));
                if (!parts.empty())
                    writer.append(journalMove(move, std::move(parts)));
            };
            switch (random() % 6) {
            case 0:
                moved(JournalRecord::Move::UndoStep, history.undoStep(document));
                break;
            case 1:
                moved(JournalRecord::Move::RedoStep, history.redoStep(document));
                break;
            case 2:
                moved(JournalRecord::Move::UndoOneCell, history.undoOneCell(document));
                break;
            case 3:
                if (history.resize(document, document.mapSize == side ? side / 2 : side).newSide)
                    writer.append(journalSizeChange(document.mapSize));
                break;
            default: {
                const std::size_t first = history.undoList().count();
                history.openStep();
                CellEditor editor(document, 0, history.undoList());
                for (int cell = 0; cell < 6; ++cell)
                    editor.replaceCell(std::uint16_t(random() % document.mapSize), std::uint16_t(random() % document.mapSize),
                                       {std::uint8_t(random() % 10), std::uint8_t(random() % 20), std::uint8_t(random() % 4)});
                history.closeStep();
                writer.append(journalStepOfUndoRecords(document, history.undoList(), first, history.undoList().count()));
            }
            }
        }
    }
    QFile journal(journalPath);
    if (!journal.open(QIODevice::ReadOnly))
        std::abort();
    return journal.readAll();
}

void writeSeeds(const QString &path)
{
    QDir().mkpath(path);
    const QDir folder(path);
    const auto write = [&](const QString &name, const QByteArray &bytes) {
        QFile file(folder.filePath(name));
        if (!file.open(QIODevice::WriteOnly))
            std::abort();
        file.write(bytes);
    };
    write(QStringLiteral("one-level"), writtenJournal(1, 12, false));
    write(QStringLiteral("two-levels"), writtenJournal(2, 9, true));
    const QByteArray longer = writtenJournal(3, 16, true);
    write(QStringLiteral("two-levels-cut"), longer.first(longer.size() - 7));
    QByteArray damaged = longer;
    damaged[damaged.size() / 2] = char(damaged[damaged.size() / 2] ^ 0x10);
    write(QStringLiteral("two-levels-damaged"), damaged);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    return writeSeedsIfAsked(argc, argv, writeSeeds);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const JournalContents journal = readJournalBytes(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    // A refusal, and a dropped tail, say why in a line.
    check(journal.ok() || !journal.reason.isEmpty());
    if (!journal.ok())
        return 0;
    check(journal.tailDropped() == !journal.tailReason.isEmpty());
    check(journal.intactAfterDamage * 9 <= std::size_t(journal.tailLength));
    check(!journal.damaged() || journal.tailDropped());
    // A small map of the header's size to replay on; larger ones are only read.
    const bool replayable = journal.header.side <= 64;
    MapDocument document = replayable ? loadedMap(TerrainLayer(journal.header.side),
                                                  journal.header.levelCount == 2 ? std::optional(TerrainLayer(journal.header.side))
                                                                                 : std::nullopt)
                                      : MapDocument();
    UndoList undoList;
    for (std::size_t i = 0; i < journal.recordCount(); ++i) {
        const JournalRecord record = journal.record(i);
        const JournalRecordRead again = decodeJournalRecord(encodeJournalRecord(record));
        check(again.ok());
        // Cells records are stored sorted and once each: compare what they hold.
        if (record.kind != JournalRecord::Kind::Cells)
            check(again.record == record);
        if (!replayable || largestSide(record) > 64)
            continue;
        const QByteArray before = serializeMapData(document);
        CellEditor editor(document, 0, undoList);
        const Reason reason = applyJournalRecord(document, record, i % 2 ? &editor : nullptr);
        if (!reason.isEmpty()) {
            check(!reason.english().isEmpty());
            // Refused as a whole: nothing written.
            check(serializeMapData(document) == before);
            continue;
        }
        // A step's parts may write a cell twice or cut it away; a record
        // of cells or a size alone holds after it is applied.
        if (record.kind == JournalRecord::Kind::Cells || record.kind == JournalRecord::Kind::Size)
            check(documentHoldsRecord(document, record));
    }
    return 0;
}
