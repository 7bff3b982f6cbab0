// The driver of the soak script's journal runs:
//   brackwen-journal-soak map OUT SIDE         an asymmetric two-level map of the side
//   brackwen-journal-soak drive MAP JOURNALS LOG SEED
//                                              edits MAP in an editor session keeping its
//                                              journal in JOURNALS until killed; every state
//                                              the journal is given is first appended to LOG
//                                              as the hash of the map's cells
//   brackwen-journal-soak hash MAP             prints that hash of a map file's cells
//   brackwen-journal-soak mutate SEED IN OUT   writes a mutated copy of the file IN
#include "edit/BrushSettings.h"
#include "edit/EditHistory.h"
#include "map/MapFile.h"
#include "session/EditorSession.h"
#include "session/JournalKeeper.h"
#include "writers/MapWriter.h"

#include <QCoreApplication>
#include <QFile>
#include <QRect>

#include <zlib.h>

#include <cstdio>
#include <random>

namespace {

// The side, level count and every cell of both levels, as one CRC-32.
QString cellsHash(const MapDocument &document)
{
    std::uint32_t crc = crc32_z(0, nullptr, 0);
    const std::uint32_t head[2] = {document.mapSize, std::uint32_t(document.levelCount())};
    crc = std::uint32_t(crc32_z(crc, reinterpret_cast<const Bytef *>(head), sizeof head));
    for (int level = 0; level < document.levelCount(); ++level) {
        const TerrainLayer &layer = document.layer(level);
        for (std::uint32_t row = 0; row < layer.side(); ++row)
            crc = std::uint32_t(crc32_z(crc, reinterpret_cast<const Bytef *>(&layer.at(row, 0)),
                                        z_size_t(layer.side() * sizeof(TerrainCell))));
    }
    return QStringLiteral("%1").arg(crc, 8, 16, QLatin1Char('0'));
}

int fail(const char *what)
{
    std::fprintf(stderr, "brackwen-journal-soak: %s\n", what);
    return 1;
}

BrushSettings brushOf(std::mt19937 &random)
{
    BrushSettings brush;
    brush.terrainType = std::uint8_t(random() % 10);
    brush.terrainConfig = std::uint8_t(random() % 4);
    brush.paintRiver = random() % 3 == 0;
    brush.riverType = std::uint8_t(random() % 5);
    brush.brushWidth = std::uint8_t(1 + random() % 6);
    brush.brushHeight = std::uint8_t(1 + random() % 6);
    return brush;
}

int drive(const QString &mapPath, const QString &journals, const QString &logPath, std::uint32_t seed)
{
    EditorSession session;
    QFile log(logPath);
    if (!log.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return fail("the log cannot be written");
    // Connected before the keeper's own: each state is in the log before the
    // journal gets it.
    const auto logState = [&] { log.write((cellsHash(session.document()) + QLatin1Char('\n')).toLatin1()); };
    QObject::connect(&session, &EditorSession::mapOpened, logState);
    QObject::connect(&session, &EditorSession::stepRecorded, logState);
    QObject::connect(&session, &EditorSession::historyMoved, logState);
    JournalKeeper keeper(session, journals);
    if (!session.open(mapPath).ok())
        return fail("the map does not open");
    const std::uint32_t side = session.document().mapSize;
    std::mt19937 random(seed);
    const auto cell = [&] { return int(random() % session.document().mapSize); };
    for (;;) {
        switch (random() % 12) {
        case 0:
        case 1: {  // a stroke
            const BrushSettings brush = brushOf(random);
            session.beginStep();
            for (int i = 0, n = 1 + int(random() % 20); i < n; ++i)
                session.paint(brush, cell(), cell());
            session.endStep();
            break;
        }
        case 2:
            session.replaceFill(brushOf(random), cell(), cell(), random() % 3 == 0);
            break;
        case 3:
            session.fillSelection(brushOf(random), QRect(cell(), cell(), 1 + cell() / 2, 1 + cell() / 3));
            break;
        case 4:
            if (session.copy(QRect(cell(), cell(), 1 + int(random() % 40), 1 + int(random() % 40))))
                session.paste(cell(), cell());
            break;
        case 5:  // a size change: smaller cuts cells away, larger adds zero cells
            session.resize(session.document().mapSize == side ? (random() % 2 ? side + side / 2 : side / 3) : side);
            break;
        case 6:
            session.transform(Transform(random() % 6), TransformTarget{});
            break;
        case 7:
            session.undoStep();
            break;
        case 8:
            session.redoStep();
            break;
        case 9:
            session.undoLast();
            break;
        case 10:
            session.selectLevel(int(random() % 2));
            break;
        default:
            {
            constexpr LevelHalf Halves[] = {LevelHalf::Left, LevelHalf::Right, LevelHalf::Top, LevelHalf::Bottom};
            session.mirrorHalf(Halves[random() % 4]);
            break;
        }
            break;
        }
    }
}

QByteArray mutated(QByteArray bytes, std::uint32_t seed)
{
    std::mt19937 random(seed);
    const auto at = [&] { return bytes.isEmpty() ? 0 : qsizetype(random() % std::uint32_t(bytes.size())); };
    for (int i = 0, n = 1 + int(random() % 4); i < n && !bytes.isEmpty(); ++i) {
        switch (random() % 7) {
        case 0: {  // a bit flipped
            const qsizetype byte = at();
            bytes[byte] = char(bytes[byte] ^ (1 << (random() % 8)));
            break;
        }
        case 1:  // a byte set
            bytes[at()] = char(random());
            break;
        case 2:  // cut off
            bytes.truncate(at());
            break;
        case 3: {  // a run zeroed
            const qsizetype from = at();
            const qsizetype length = std::min<qsizetype>(1 + random() % 64, bytes.size() - from);
            bytes.replace(from, length, QByteArray(length, '\0'));
            break;
        }
        case 4: {  // a run repeated
            const qsizetype from = at();
            bytes.insert(at(), bytes.mid(from, 1 + random() % 200));
            break;
        }
        case 5: {  // bytes inserted
            QByteArray noise(1 + int(random() % 16), Qt::Uninitialized);
            for (char &byte : noise)
                byte = char(random());
            bytes.insert(at(), noise);
            break;
        }
        default:  // a run removed
            bytes.remove(at(), 1 + random() % 32);
            break;
        }
    }
    return bytes;
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    const QStringList args = application.arguments().mid(1);
    if (args.size() == 3 && args[0] == QLatin1String("map")) {
        MapWriter map = MapWriter::patterned(args[2].toUInt(), true);
        QFile file(args[1]);
        if (!file.open(QIODevice::WriteOnly) || file.write(map.data()) < 0)
            return fail("the map cannot be written");
        return 0;
    }
    if (args.size() == 5 && args[0] == QLatin1String("drive"))
        return drive(args[1], args[2], args[3], args[4].toUInt());
    if (args.size() == 2 && args[0] == QLatin1String("hash")) {
        const MapLoadResult loaded = readMapFile(args[1]);
        if (!loaded.ok())
            return fail("the map does not open");
        std::printf("%s\n", qPrintable(cellsHash(*loaded.document)));
        return 0;
    }
    if (args.size() == 4 && args[0] == QLatin1String("mutate")) {
        QFile in(args[2]);
        QFile out(args[3]);
        if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
            return fail("the files cannot be opened");
        out.write(mutated(in.readAll(), args[1].toUInt()));
        return 0;
    }
    return fail("usage: map OUT SIDE | drive MAP JOURNALS LOG SEED | hash MAP | mutate SEED IN OUT");
}
