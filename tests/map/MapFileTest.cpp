// Map files: the container test, the header fields, the marker search, every
// refusal, the saved layout, and the file checks of opening and saving.
#include "base/Platform.h"
#include "edit/SizeChange.h"
#include "map/ChunkedBytes.h"
#include "map/Gzip.h"
#include "map/GzipMemberWriter.h"
#include "map/MapFile.h"
#include "map/MapSave.h"
#include "writers/ByteWriter.h"
#include "writers/MapWriter.h"

#include "TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <zlib.h>

#include <cerrno>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

MapDocument loadOrFail(QByteArrayView bytes)
{
    MapLoadResult loaded = loadMapData(bytes);
    EXPECT_TRUE(loaded.ok()) << loaded.reason.toStdString();
    return loaded.ok() ? std::move(*loaded.document) : MapDocument();
}

// The document must hold exactly what the writer wrote, with the terrain where
// the writer put it.
void expectDocumentOf(const MapDocument &document, const MapWriter &writer)
{
    const QByteArray data = writer.data();
    EXPECT_TRUE(document.isLoaded);
    EXPECT_EQ(document.version, writer.version);
    EXPECT_EQ(document.mapSize, writer.side);
    EXPECT_EQ(document.hasUnderground, writer.levelsByte == 1);
    EXPECT_EQ(document.headerBytes, data.first(writer.terrainOffset()));
    EXPECT_EQ(document.trailingBytes, data.sliced(writer.terrainEnd()));
    ASSERT_EQ(document.levelCount(), int(writer.layers.size()));
    EXPECT_EQ(document.ground, writer.layers[0]);
    if (document.hasUnderground)
        EXPECT_EQ(document.underground, writer.layers[1]);
    else
        EXPECT_TRUE(document.underground.isEmpty());
}

struct LoadCase {
    std::uint32_t side;
    bool twoLevels;
    std::uint8_t sizeStep;
    std::uint16_t sizeStepCount;
};

class MapLoad : public ::testing::TestWithParam<LoadCase> {};

TEST_P(MapLoad, GzipAndPlainGiveTheSameDocument)
{
    const LoadCase &c = GetParam();
    const MapWriter writer = MapWriter::patterned(c.side, c.twoLevels);
    const QByteArray data = writer.data();
    struct Container {
        const char *name;
        QByteArray bytes;
        bool compressed;
    };
    const Container containers[] = {
        {"plain", data, false},
        {"gzip 1F 8B 08 00", gzipMember(data), true},
        {"gzip 1F 8B 08 08 with a file name", gzipWithHeaderText(data, 0x08, "map.vdm"), true},
    };
    for (const Container &container : containers) {
        SCOPED_TRACE(container.name);
        const MapLoadResult loaded = loadMapData(container.bytes);
        ASSERT_TRUE(loaded.ok()) << loaded.reason.toStdString();
        expectDocumentOf(*loaded.document, writer);
        EXPECT_EQ(SizeSteps::forSide(loaded.document->mapSize).step, c.sizeStep);
        EXPECT_EQ(SizeSteps::forSide(loaded.document->mapSize).count, c.sizeStepCount);
        EXPECT_EQ(loaded.facts.compressed, container.compressed);
        EXPECT_EQ(loaded.facts.terrainOffset, writer.terrainOffset());
        EXPECT_EQ(loaded.facts.trailingLength, data.size() - writer.terrainEnd());
        EXPECT_EQ(loaded.facts.dataLength, data.size());
    }
}

INSTANTIATE_TEST_SUITE_P(Maps, MapLoad,
                         ::testing::Values(LoadCase{36, false, 36, 4}, LoadCase{72, true, 36, 4},
                                           LoadCase{50, true, 18, 500}, LoadCase{1, false, 18, 500}),
                         [](const ::testing::TestParamInfo<LoadCase> &info) {
                             return "Side" + std::to_string(info.param.side) + (info.param.twoLevels ? "TwoLevels" : "OneLevel");
                         });

TEST(MapLoad, LevelsByteOtherThanOneMeansOneLevel)
{
    MapWriter writer = MapWriter::patterned(20, false);
    writer.levelsByte = 2;
    const MapDocument document = loadOrFail(writer.data());
    EXPECT_FALSE(document.hasUnderground);
    EXPECT_EQ(document.ground, writer.layers[0]);
}

// A member of data whose header has the given flags, with the optional
// fields they announce: an extra field, a file name, a comment, a header CRC.
QByteArray gzipWithFlags(QByteArrayView data, std::uint8_t flags)
{
    const QByteArray member = gzipMember(data);
    QByteArray header = member.first(10);
    header[3] = char(flags);
    if (flags & 0x04)
        header += QByteArray::fromHex("0500") + "extra";
    if (flags & 0x08)
        header += QByteArray("map.vdm", 8);
    if (flags & 0x10)
        header += QByteArray("a comment", 10);
    if (flags & 0x02) {
        const uLong crc = crc32(0, reinterpret_cast<const Bytef *>(header.constData()), uInt(header.size()));
        header += char(crc & 0xFF);
        header += char((crc >> 8) & 0xFF);
    }
    return header + member.sliced(10);
}

TEST(MapLoad, EveryOptionalGzipHeaderFieldIsRead)
{
    const MapWriter writer = MapWriter::patterned(36, false);
    struct Case {
        const char *name;
        std::uint8_t flags;
    };
    const Case cases[] = {{"text", 0x01},    {"header CRC", 0x02}, {"extra field", 0x04},
                          {"comment", 0x10}, {"all of them", 0x1F}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const MapLoadResult loaded = loadMapData(gzipWithFlags(writer.data(), c.flags));
        ASSERT_TRUE(loaded.ok()) << loaded.reason.toStdString();
        EXPECT_TRUE(loaded.facts.compressed);
        expectDocumentOf(*loaded.document, writer);
    }
    // A reserved flag bit makes the header no gzip header: plain data.
    const MapLoadResult reserved = loadMapData(gzipWithFlags(writer.data(), 0x20));
    EXPECT_EQ(reserved.reason, QStringLiteral("unknown map version %1").arg(0x20088B1F));
}

TEST(MapMarkerSearch, StartsOneByteBehindTheSecondField)
{
    // A pair standing exactly at P0 is not seen; the real one is found.
    MapWriter writer = MapWriter::patterned(12, false);
    MapWriter::putMarker(writer.opaqueHeader, 0);
    const MapLoadResult loaded = loadMapData(writer.data());
    ASSERT_TRUE(loaded.ok()) << loaded.reason.toStdString();
    EXPECT_EQ(loaded.facts.terrainOffset, writer.terrainOffset());
}

TEST(MapMarkerSearch, FirstMatchWinsEvenInsideTheHeader)
{
    // A side-2 map (28 terrain bytes) with a pair 200 bytes into the opaque
    // header: the terrain is taken to end 8 bytes in front of that pair.
    MapWriter writer = MapWriter::patterned(2, false);
    MapWriter::putMarker(writer.opaqueHeader, 200);
    const QByteArray data = writer.data();
    const qsizetype marker = writer.terrainOffset() - writer.opaqueHeader.size() + 200;
    const MapLoadResult loaded = loadMapData(data);
    ASSERT_TRUE(loaded.ok()) << loaded.reason.toStdString();
    const qsizetype terrainOffset = marker - 8 - 28;
    EXPECT_EQ(loaded.facts.terrainOffset, terrainOffset);
    EXPECT_EQ(loaded.document->headerBytes, data.first(terrainOffset));
    EXPECT_EQ(loaded.document->trailingBytes, data.sliced(marker - 8));
    EXPECT_EQ(QByteArrayView(reinterpret_cast<const char *>(loaded.document->ground.data()), 28),
              data.sliced(terrainOffset, 28));
}

TEST(MapMarkerSearch, FindsThePairAtEveryByteOffset)
{
    // The search tests several positions at once; a pair must be found at its
    // exact place whatever the alignment, also among the last bytes of the data.
    const MapWriter writer = MapWriter::patterned(1, false);
    const qsizetype fieldsEnd = writer.terrainOffset() - writer.opaqueHeader.size();
    for (qsizetype offset = 100; offset < 140; ++offset) {
        MapWriter placed = writer;
        MapWriter::putMarker(placed.opaqueHeader, offset);
        const MapLoadResult loaded = loadMapData(placed.data());
        ASSERT_TRUE(loaded.ok()) << offset;
        EXPECT_EQ(loaded.facts.terrainOffset, fieldsEnd + offset - 8 - 7) << offset;
    }
    // A pair closing the data, behind zeros that shift where it stands.
    MapWriter atTheEnd = writer;
    for (qsizetype tail = 0; tail < 40; ++tail) {
        atTheEnd.trailingBytes = QByteArray(8 + tail, '\0');
        atTheEnd.trailingBytes.append(8, '\0');
        MapWriter::putMarker(atTheEnd.trailingBytes, 8 + tail);
        const MapLoadResult loaded = loadMapData(atTheEnd.data());
        ASSERT_TRUE(loaded.ok()) << tail;
        EXPECT_EQ(loaded.facts.terrainOffset, writer.terrainOffset() + tail) << tail;
        EXPECT_EQ(loaded.facts.trailingLength, 16) << tail;
    }
}

TEST(MapMarkerSearch, FindsThePairAcrossTheSeamsOfThePiecesRead)
{
    // Map data is read in pieces (64 KiB of a file, 256 KiB of inflated
    // content) and searched piece by piece; a pair whose eight bytes straddle
    // a seam must be found where it stands, by every way in, the summary of
    // `info` included.
    TempDir dir;
    for (const qsizetype seam : {qsizetype(64 * 1024), qsizetype(256 * 1024)}) {
        MapWriter writer = MapWriter::patterned(1, false);
        writer.opaqueHeader = QByteArray(seam + 64, '\0');
        const qsizetype fieldsEnd = writer.terrainOffset() - writer.opaqueHeader.size();
        for (qsizetype pair = seam - 9; pair <= seam + 1; ++pair) {
            SCOPED_TRACE(pair);
            MapWriter placed = writer;
            MapWriter::putMarker(placed.opaqueHeader, pair - fieldsEnd);
            const QByteArray data = placed.data();
            const QString plainFile = dir.write("map.vdm", data);
            const QString gzipFile = dir.write("map.vdw", gzipMember(data));
            const MapLoadResult results[] = {loadMapData(gzipMember(data)), readMapFile(plainFile), readMapFile(gzipFile)};
            for (const MapLoadResult &loaded : results) {
                ASSERT_TRUE(loaded.ok()) << loaded.reason.toStdString();
                EXPECT_EQ(loaded.facts.terrainOffset, pair - 8 - 7);
                EXPECT_EQ(loaded.document->trailingBytes, data.sliced(pair - 8));
            }
            for (const QString &path : {plainFile, gzipFile}) {
                const MapFileSummary summary = summarizeMapFile(path);
                ASSERT_TRUE(summary.ok()) << summary.reason.toStdString();
                EXPECT_EQ(summary.facts.terrainOffset, pair - 8 - 7);
                EXPECT_EQ(summary.facts.trailingLength, data.size() - (pair - 8));
            }
        }
    }
}

TEST(MapMarkerSearch, TerrainMayStartAtOffsetTenButNotBefore)
{
    // Side 1, one level, empty fields: P0 = 18, so a pair at p gives T = p - 15.
    MapWriter writer = MapWriter::patterned(1, false);
    writer.firstField.clear();
    writer.secondField.clear();
    writer.opaqueHeader.fill('\0');
    for (const qsizetype terrainOffset : {qsizetype(10), qsizetype(9)}) {
        SCOPED_TRACE(terrainOffset);
        MapWriter placed = writer;
        MapWriter::putMarker(placed.opaqueHeader, terrainOffset + 15 - 18);
        const MapLoadResult loaded = loadMapData(placed.data());
        EXPECT_EQ(loaded.ok(), terrainOffset == 10) << loaded.reason.toStdString();
        if (loaded.ok()) {
            EXPECT_EQ(loaded.facts.terrainOffset, 10);
        }
    }
}

struct Refusal {
    const char *name;
    QByteArray bytes;
    QString reason;
};

std::vector<Refusal> refusals()
{
    const MapWriter good = MapWriter::patterned(12, true);
    const QByteArray data = good.data();
    const auto changed = [&](auto change) {
        MapWriter writer = good;
        change(writer);
        return writer.data();
    };
    const auto withU32 = [&](qsizetype offset, std::uint32_t value) {
        ByteWriter bytes;
        bytes.bytes(data).patchU32(offset, value);
        return bytes.data();
    };
    // Long fields, so that cutting inside them leaves more than 1000 bytes.
    MapWriter longFields = good;
    longFields.firstField = QByteArray(1500, 'a');
    longFields.secondField = QByteArray(1500, 'b');
    const QByteArray longData = longFields.data();
    const QByteArray member = gzipMember(data);
    QByteArray corrupt = member;
    corrupt[member.size() / 2] = char(corrupt[member.size() / 2] ^ 0xFF);

    return {
        {"empty", QByteArray(), "map data shorter than 1000 bytes"},
        {"999 bytes", data.first(999), "map data shorter than 1000 bytes"},
        {"999 bytes inside gzip", gzipMember(data.first(999)), "map data shorter than 1000 bytes"},
        {"version 13", withU32(0, 13), "unknown map version 13"},
        {"version 0", withU32(0, 0), "unknown map version 0"},
        {"side 0", withU32(5, 0), "map size is 0"},
        {"no marker", changed([](MapWriter &w) { w.trailingBytes = QByteArray(64, 'x'); }), "terrain marker not found"},
        {"cut inside the first field", longData.first(14 + 1200),
         "first skipped field (1500 bytes) runs past the end of the data"},
        {"cut inside the second length", longData.first(14 + 1500 + 2),
         "first skipped field (1500 bytes) runs past the end of the data"},
        {"cut inside the second field", longData.first(18 + 1500 + 700),
         "second skipped field (1500 bytes) runs past the end of the data"},
        {"cut inside the terrain", data.first(good.terrainOffset() + 500), "terrain marker not found"},
        {"cut inside the marker pair", data.first(good.terrainEnd() + 12), "terrain marker not found"},
        {"first length beyond the data", withU32(10, 0xFFFFFFFF),
         "first skipped field (4294967295 bytes) runs past the end of the data"},
        {"second length beyond the data", withU32(14 + good.firstField.size(), 0xFFFFFFF0),
         "second skipped field (4294967280 bytes) runs past the end of the data"},
        {"side larger than the data", withU32(5, 20),
         QStringLiteral("terrain of side 20 does not fit in front of the marker at byte %1").arg(good.terrainEnd() + 8)},
        {"largest side", withU32(5, 0xFFFFFFFF),
         QStringLiteral("terrain of side 4294967295 does not fit in front of the marker at byte %1").arg(good.terrainEnd() + 8)},
        {"marker so early the terrain would start before offset 10",
         changed([](MapWriter &w) { MapWriter::putMarker(w.opaqueHeader, 100); }),
         QStringLiteral("terrain of side 12 does not fit in front of the marker at byte %1").arg(good.terrainOffset() - 1000 + 100)},
        {"gzip cut short", member.first(member.size() - 100), QStringLiteral("gzip data truncated at byte %1").arg(member.size() - 100)},
        {"gzip corrupt part-way", corrupt, "gzip data corrupt at byte"},
    };
}

TEST(MapLoadRefusal, EveryMalformedMapIsRefusedWithItsReason)
{
    // Loading and the summary of `info`, which reads past the terrain, refuse
    // alike.
    TempDir dir;
    for (const Refusal &refusal : refusals()) {
        SCOPED_TRACE(refusal.name);
        const MapLoadResult loaded = loadMapData(refusal.bytes);
        EXPECT_FALSE(loaded.ok());
        EXPECT_TRUE(loaded.reason.startsWith(refusal.reason)) << loaded.reason.toStdString();
        const QString path = dir.write("refused.vdm", refusal.bytes);
        EXPECT_EQ(summarizeMapFile(path).reason, readMapFile(path).reason);
        EXPECT_TRUE(summarizeMapFile(path).reason.startsWith(refusal.reason));
    }
}

TEST(MapLoadRefusal, DecompressedDataAboveTheLimit)
{
    const QByteArray data = MapWriter::patterned(72, true).data();
    const QByteArray member = gzipMember(data);
    EXPECT_TRUE(loadMapData(member, data.size()).ok());
    const MapLoadResult loaded = loadMapData(member, data.size() - 1);
    EXPECT_FALSE(loaded.ok());
    EXPECT_EQ(loaded.reason, QStringLiteral("decompressed map data larger than %1 bytes").arg(data.size() - 1));
    // The default limit leaves room for the largest map the editor makes.
    EXPECT_GE(MaximumMapDataLength, qsizetype(7) * 2 * 9000 * 9000 + 1024 * 1024);
}

TEST(MapSave, UneditedMapSavesToItsOriginalData)
{
    const QByteArray data = MapWriter::patterned(72, true).data();
    TempDir dir;
    // An existing larger file is replaced entirely.
    const QString target = dir.write("saved.vdm", QByteArray(2 * 1024 * 1024, 'z'));
    for (const QByteArray &opened : {data, gzipMember(data)}) {
        const MapDocument document = loadOrFail(opened);
        EXPECT_EQ(serializeMapData(document), data);
        const MapSaveResult saved = saveMapFile(document, target);
        ASSERT_TRUE(saved.ok()) << saved.reason.toStdString();
        const QByteArray file = readFile(target);
        EXPECT_EQ(file.first(10), QByteArray::fromHex("1f8b0800000000000000"));
        const GzipInflateResult inflated = inflateGzip(file, MaximumMapDataLength);
        ASSERT_TRUE(inflated.ok());
        EXPECT_EQ(inflated.data, data);
        EXPECT_EQ(file, gzipMember(data));
    }
}

TEST(MapSave, ABigMapSavedInManyPiecesReadsBackEqual)
{
    // 6.9 MB of map data: several pieces deflated on two threads, one member.
    const MapWriter writer = MapWriter::patterned(700, true);
    const QByteArray data = writer.data();
    const MapDocument document = loadOrFail(data);
    TempDir dir;
    const QString target = dir.filePath("big.vdm");
    const MapSaveResult saved = saveMapFile(document, target);
    ASSERT_TRUE(saved.ok()) << saved.reason.toStdString();
    const QByteArray file = readFile(target);
    EXPECT_EQ(file.first(10), QByteArray::fromHex("1f8b0800000000000000"));

    // zlib's gzip stream reads it as exactly one member.
    QByteArray inflated(data.size() + 1, '\0');
    z_stream z{};
    ASSERT_EQ(inflateInit2(&z, MAX_WBITS + 16), Z_OK);
    z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(file.data()));
    z.avail_in = uInt(file.size());
    z.next_out = reinterpret_cast<Bytef *>(inflated.data());
    z.avail_out = uInt(inflated.size());
    EXPECT_EQ(inflate(&z, Z_FINISH), Z_STREAM_END);
    EXPECT_EQ(z.avail_in, 0u);
    inflated.truncate(qsizetype(z.total_out));
    inflateEnd(&z);
    EXPECT_EQ(inflated, data);

    const MapLoadResult reloaded = readMapFile(target);
    ASSERT_TRUE(reloaded.ok()) << reloaded.reason.toStdString();
    expectDocumentOf(*reloaded.document, writer);
}

TEST(MapSave, AHugeMapIsOneGzipMemberThatEveryReaderReadsBack)
{
    // 67 MB of map data, deflated in many pieces on two threads.
    const MapWriter writer = MapWriter::patterned(2190, true);
    const QByteArray data = writer.data();
    TempDir dir;
    const QString target = dir.filePath("huge.vdm");
    {
        const MapDocument document = loadOrFail(data);
        const MapSaveResult saved = saveMapFile(document, target);
        ASSERT_TRUE(saved.ok()) << saved.reason.toStdString();
    }
    const QByteArray file = readFile(target);
    EXPECT_EQ(file.first(10), QByteArray::fromHex("1f8b0800000000000000"));
    // The bytes are the writer's at zlib's default level, from the layers as loaded.
    const QByteArrayView segments[] = {data};
    QByteArray expected;
    ASSERT_TRUE(writeGzipMember(segments, [&](QByteArrayView bytes) {
        expected.append(bytes);
        return true;
    }, GzipWriteOptions()));
    EXPECT_EQ(file, expected);

    // zlib's plain gzip file reader, as the game reads maps: the whole data,
    // then the end of the file.
    {
        gzFile gz = gzopen(QFile::encodeName(target).constData(), "rb");
        ASSERT_NE(gz, nullptr);
        QByteArray read(data.size() + 1, '\0');
        const int got = gzread(gz, read.data(), unsigned(read.size()));
        EXPECT_TRUE(gzeof(gz));
        EXPECT_EQ(gzclose(gz), Z_OK);
        ASSERT_EQ(got, data.size());
        read.truncate(got);
        EXPECT_TRUE(read == data);
    }
    const MapLoadResult reloaded = readMapFile(target);
    ASSERT_TRUE(reloaded.ok()) << reloaded.reason.toStdString();
    expectDocumentOf(*reloaded.document, writer);

    const QString gzip = QStandardPaths::findExecutable(QStringLiteral("gzip"));
    if (gzip.isEmpty())
        GTEST_SKIP() << "no gzip program";
    QProcess test;
    test.start(gzip, {QStringLiteral("-t"), target});
    ASSERT_TRUE(test.waitForFinished(60000));
    EXPECT_EQ(test.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(test.exitCode(), 0) << test.readAllStandardError().toStdString();
}

TEST(MapSave, ShrunkMapHasTheNewSideAndEverythingElseAsLoaded)
{
    const MapWriter writer = MapWriter::patterned(72, true);
    const QByteArray original = writer.data();
    MapDocument document = loadOrFail(original);
    ASSERT_TRUE(document.redimension(36));

    const QByteArray saved = serializeMapData(document);
    const qsizetype terrainOffset = writer.terrainOffset();
    const qsizetype layerBytes = 7 * 36 * 36;
    ASSERT_EQ(saved.size(), terrainOffset + 2 * layerBytes + document.trailingBytes.size());
    EXPECT_EQ(saved.sliced(5, 4), QByteArray::fromHex("24000000"));
    EXPECT_EQ(saved.first(5), original.first(5));
    EXPECT_EQ(saved.sliced(9, terrainOffset - 9), original.sliced(9, terrainOffset - 9));
    EXPECT_EQ(saved.sliced(terrainOffset + 2 * layerBytes), original.sliced(writer.terrainEnd()));

    // The saved data is a well-formed 36 x 36 map holding the old corner.
    const MapDocument reloaded = loadOrFail(saved);
    EXPECT_EQ(reloaded.mapSize, 36u);
    EXPECT_EQ(reloaded.ground, writer.layers[0].resized(36));
    EXPECT_EQ(reloaded.underground, writer.layers[1].resized(36));
    // The header keeps its loaded size; only the saved bytes carry the new one.
    EXPECT_EQ(document.headerBytes, original.first(terrainOffset));
}

TEST(MapSave, FailureIsReportedAndNothingIsWritten)
{
    const MapDocument document = loadOrFail(MapWriter::patterned(36, false).data());
    TempDir dir;
    const QString folder = dir.filePath("existing-folder.vdm");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString targets[] = {folder, dir.filePath("missing/saved.vdm")};
    for (const QString &target : targets) {
        SCOPED_TRACE(target.toStdString());
        const MapSaveResult saved = saveMapFile(document, target);
        EXPECT_FALSE(saved.ok());
        EXPECT_FALSE(saved.reason.isEmpty());
    }
    EXPECT_TRUE(QFileInfo(folder).isDir());

    MapDocument notLoaded;
    EXPECT_EQ(saveMapFile(notLoaded, dir.filePath("none.vdm")).reason, QStringLiteral("no map is loaded"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot), QStringList{"existing-folder.vdm"});

    // A map of side 0 opens nowhere: the file it would replace keeps its bytes.
    const QByteArray existing = MapWriter::patterned(36, false).data();
    const QString map = dir.write("map.vdm", existing);
    MapDocument noCells = document;
    noCells.ground = TerrainLayer(0);
    noCells.mapSize = 0;
    for (const bool inPlace : {false, true}) {
        MapSaveOptions options;
        options.inPlace = inPlace;
        const MapSaveResult saved = saveMapFile(noCells, map, options);
        EXPECT_TRUE(saved.reason.contains("a map of side 0 cannot be saved")) << saved.reason.toStdString();
        EXPECT_EQ(readFile(map), existing);
    }
}

// In a folder that cannot be written, a writable file is written in place;
// a read-only one is refused and keeps its bytes.
TEST(MapSave, InAFolderThatMayNotBeWrittenOnlyTheFileCounts)
{
    const MapDocument document = loadOrFail(MapWriter::patterned(36, false).data());
    TempDir dir;
    const QByteArray oldBytes = "the old file";
    const QString writable = dir.write("locked/map.vdm", oldBytes);
    const QString readOnly = dir.write("locked/kept.vdm", oldBytes);
    QFile::setPermissions(readOnly, QFile::ReadOwner);
    const QString lockedFolder = QFileInfo(writable).absolutePath();
    QFile::setPermissions(lockedFolder, QFile::ReadOwner | QFile::ExeOwner);
    QFile probe(lockedFolder + "/probe");
    const bool enforced = !probe.open(QIODevice::WriteOnly);
    probe.remove();
    MapSaveResult savedWritable, savedReadOnly;
    if (enforced) {
        savedWritable = saveMapFile(document, writable);
        savedReadOnly = saveMapFile(document, readOnly);
    }
    QFile::setPermissions(lockedFolder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::WriteOwner);
    if (!enforced)
        GTEST_SKIP() << "folder permissions are not enforced for this user";
    EXPECT_TRUE(savedWritable.ok()) << savedWritable.reason.toStdString();
    const MapLoadResult reread = readMapFile(writable);
    ASSERT_TRUE(reread.ok()) << reread.reason.toStdString();
    EXPECT_EQ(reread.document->ground, document.ground);
    EXPECT_FALSE(savedReadOnly.ok());
    // The file exists: the cause is that it may not be written.
    EXPECT_EQ(savedReadOnly.reason, QStringLiteral("cannot write the file: it is read-only"));
    EXPECT_EQ(readFile(readOnly), oldBytes);
}

TEST(MapSave, AFileOfSeveralNamesIsSavedInPlaceForEveryName)
{
    // A hard link names the same file: the save writes that file, so both
    // names hold the new map and stay one file.
    const MapDocument document = loadOrFail(MapWriter::patterned(36, true).data());
    TempDir dir;
    const QString first = dir.write("first.vdm", gzipMember(MapWriter::patterned(72, false).data()));
    const QString second = dir.filePath("second.vdm");
    ASSERT_EQ(::link(QFile::encodeName(first).constData(), QFile::encodeName(second).constData()), 0);
    MapSaveOptions options;
    options.backupFolder = dir.filePath("backups");
    ASSERT_TRUE(saveMapFile(document, first, options).ok());
    for (const QString &name : {first, second}) {
        SCOPED_TRACE(name.toStdString());
        const MapLoadResult reread = readMapFile(name);
        ASSERT_TRUE(reread.ok()) << reread.reason.toStdString();
        EXPECT_EQ(reread.document->ground, document.ground);
        EXPECT_EQ(reread.document->underground, document.underground);
    }
    EXPECT_TRUE(platform::isSameFile(first, second));
    EXPECT_EQ(platform::hardLinkCount(first), 2);
    // The guarding copy of the original is gone once the save is done.
    EXPECT_TRUE(keptOriginals(options.backupFolder).empty());
}

TEST(MapSave, TargetsThatAreNoRegularFilesAreRefusedAndLeftAlone)
{
    const MapDocument document = loadOrFail(MapWriter::patterned(36, false).data());
    TempDir dir;
    const QString fifo = dir.filePath("pipe.vdm");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_TRUE(QDir().mkpath(dir.filePath("folder.vdm")));
    for (const bool inPlace : {false, true}) {
        MapSaveOptions options;
        options.inPlace = inPlace;
        EXPECT_EQ(saveMapFile(document, fifo, options).reason, QStringLiteral("it is not a regular file"));
        EXPECT_EQ(saveMapFile(document, dir.filePath("folder.vdm"), options).reason, QStringLiteral("it is a folder"));
    }
    struct stat status {};
    ASSERT_EQ(stat(QFile::encodeName(fifo).constData(), &status), 0);
    EXPECT_TRUE(S_ISFIFO(status.st_mode));
    EXPECT_TRUE(QFileInfo(dir.filePath("folder.vdm")).isDir());
}

// A disk that fills (or a file-size limit that is reached) part-way through
// the write: whichever way the file is written, the original keeps every
// byte, the reason says what happened, and no copy is left behind.
TEST(MapSave, AWriteThatFailsLeavesTheOriginalWhole)
{
    const MapDocument document = loadOrFail(MapWriter::patterned(400, true).data());
    const QByteArray original = gzipMember(MapWriter::patterned(300, false).data());
    struct Case {
        const char *name;
        bool inPlace;
        qint64 failAt;  // bytes written before the failing write
        int error;
        const char *reason;
    };
    const Case cases[] = {
        {"beside, first write", false, 0, ENOSPC, "cannot write the file: no space left on the device"},
        {"beside, later write", false, 20000, EFBIG, "cannot write the file: file too large"},
        {"in place, first write", true, 0, ENOSPC,
         "cannot write the file: no space left on the device; the original was put back"},
        {"in place, later write", true, 20000, EIO,
         "cannot write the file: input/output error; the original was put back"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const QString target = dir.write("maps/map.vdm", original);
        MapSaveOptions options;
        options.inPlace = c.inPlace;
        options.backupFolder = dir.filePath("backups");
        options.writeFault = [&](qint64 written) { return written >= c.failAt ? c.error : 0; };
        const MapSaveResult saved = saveMapFile(document, target, options);
        EXPECT_EQ(saved.reason, QString::fromLatin1(c.reason));
        EXPECT_EQ(readFile(target), original);
        EXPECT_EQ(QDir(dir.filePath("maps")).entryList(QDir::Files | QDir::Hidden), QStringList{"map.vdm"});
        EXPECT_TRUE(QDir(dir.filePath("backups")).isEmpty());
    }
}

// While a save in place overwrites the file, a kill would leave it part
// written: the original's whole copy must then be in the backup folder under
// a name of its own, not in an unnamed file that dies with the process.
TEST(MapSave, InPlaceTheOriginalsCopyHasANameWhileTheFileIsWritten)
{
    const MapDocument document = loadOrFail(MapWriter::patterned(400, true).data());
    const QByteArray original = gzipMember(MapWriter::patterned(300, false).data());
    TempDir dir;
    const QString target = dir.write("maps/map.vdm", original);
    MapSaveOptions options;
    options.inPlace = true;
    options.backupFolder = dir.filePath("backups");
    QStringList copies;
    QByteArray copied;
    options.writeFault = [&](qint64 written) {
        if (written >= 20000 && copies.isEmpty()) {
            copies = QDir(options.backupFolder).entryList(QDir::Files | QDir::Hidden);
            if (copies.size() == 1)
                copied = readFile(QDir(options.backupFolder).filePath(copies.front()));
        }
        return 0;
    };
    ASSERT_TRUE(saveMapFile(document, target, options).ok());
    ASSERT_EQ(copies.size(), 1);
    EXPECT_TRUE(copies.front().startsWith("map.vdm.") && copies.front().endsWith(".original")) << copies.front().toStdString();
    EXPECT_EQ(copied, original);
    EXPECT_TRUE(QDir(options.backupFolder).isEmpty()) << "the copy goes once the new file is written";
}

TEST(MapSave, InPlaceKeepsTheFileItselfAndRemovesItsCopy)
{
    const MapWriter writer = MapWriter::patterned(72, true);
    const MapDocument document = loadOrFail(writer.data());
    TempDir dir;
    // A longer old file: the new one is cut to its own length.
    const QString target = dir.write("map.vdm", QByteArray(3 * 1024 * 1024, 'o'));
    const QString otherName = dir.filePath("link.vdm");
    ASSERT_EQ(link(QFile::encodeName(target).constData(), QFile::encodeName(otherName).constData()), 0);
    MapSaveOptions options;
    options.inPlace = true;
    options.backupFolder = dir.filePath("backups");
    const MapSaveResult saved = saveMapFile(document, target, options);
    ASSERT_TRUE(saved.ok()) << saved.reason.toStdString();
    EXPECT_EQ(readFile(target), gzipMember(writer.data()));
    EXPECT_EQ(readFile(otherName), readFile(target));  // the same file, not a new one
    EXPECT_TRUE(QDir(dir.filePath("backups")).isEmpty());
}

TEST(MapSave, ThePreviousVersionIsKeptOnlyWhenAsked)
{
    const MapWriter writer = MapWriter::patterned(36, false);
    const MapDocument document = loadOrFail(writer.data());
    for (const bool inPlace : {false, true}) {
        SCOPED_TRACE(inPlace ? "in place" : "beside");
        TempDir dir;
        const QString target = dir.write("map.vdm", "version one");
        MapSaveOptions options;
        options.inPlace = inPlace;
        options.backupFolder = dir.filePath("backups");
        ASSERT_TRUE(saveMapFile(document, target, options).ok());
        EXPECT_FALSE(QFile::exists(target + ".bak"));

        options.keepPrevious = true;
        dir.write("map.vdm", "version two");
        dir.write("map.vdm.bak", "an older backup");
        ASSERT_TRUE(saveMapFile(document, target, options).ok());
        EXPECT_EQ(readFile(target + ".bak"), "version two");
        EXPECT_EQ(readFile(target), gzipMember(writer.data()));
    }
    // A new file has no previous version.
    TempDir dir;
    MapSaveOptions options;
    options.keepPrevious = true;
    ASSERT_TRUE(saveMapFile(document, dir.filePath("new.vdm"), options).ok());
    EXPECT_FALSE(QFile::exists(dir.filePath("new.vdm.bak")));
}

TEST(MapFileRead, ChecksExistenceAndExactExtension)
{
    const QByteArray data = gzipMember(MapWriter::patterned(36, false).data());
    TempDir dir;
    struct Case {
        const char *name;
        bool accepted;
    };
    const Case cases[] = {
        {"map.vdm", true},      {"map.vdw", true},        {"map.VDM", false}, {"map.Vdw", false},
        {"map.vdm.bak", false}, {"map", false},           {"map.vdx", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const MapLoadResult loaded = readMapFile(dir.write(c.name, data));
        EXPECT_EQ(loaded.ok(), c.accepted) << loaded.reason.toStdString();
        if (!c.accepted) {
            EXPECT_EQ(loaded.reason, QStringLiteral("extension is neither \".vdm\" nor \".vdw\""));
        }
    }
    EXPECT_EQ(readMapFile(dir.filePath("missing.vdm")).reason, QStringLiteral("no such file"));
    ASSERT_TRUE(QDir().mkpath(dir.filePath("folder.vdm")));
    EXPECT_EQ(readMapFile(dir.filePath("folder.vdm")).reason, QStringLiteral("it is a folder"));
    const QString fifo = dir.filePath("pipe.vdm");
    if (mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0)
        EXPECT_EQ(readMapFile(fifo).reason, QStringLiteral("it is not a regular file"));
}

TEST(MapFileRead, MapsOfManyBlocksAndPiecesLoadAsWritten)
{
    // 2.2 MB of map data: the file is read in several pieces, the content
    // gathered in blocks of growing size, and cells straddle their seams.
    const MapWriter writer = MapWriter::patterned(400, true);
    const QByteArray data = writer.data();
    const QByteArray member = gzipMember(data);
    TempDir dir;
    // Two members in a row, whose last trailer gives only the second one's
    // length: the content outgrows the room made for it.
    const QByteArray twoMembers = gzipMember(data.first(100000)) + gzipMember(data.sliced(100000));
    for (const QByteArray &bytes : {data, member, twoMembers}) {
        const MapLoadResult fromFile = readMapFile(dir.write("large.vdm", bytes));
        ASSERT_TRUE(fromFile.ok()) << fromFile.reason.toStdString();
        expectDocumentOf(*fromFile.document, writer);
        EXPECT_EQ(fromFile.facts.dataLength, data.size());
        expectDocumentOf(loadOrFail(bytes), writer);
        // The summary of `info` gives the facts of the loaded map.
        const MapFileSummary summary = summarizeMapFile(dir.filePath("large.vdm"));
        ASSERT_TRUE(summary.ok()) << summary.reason.toStdString();
        EXPECT_EQ(summary.version, writer.version);
        EXPECT_EQ(summary.mapSize, writer.side);
        EXPECT_EQ(summary.levelCount, 2);
        EXPECT_EQ(summary.facts.compressed, fromFile.facts.compressed);
        EXPECT_EQ(summary.facts.terrainOffset, fromFile.facts.terrainOffset);
        EXPECT_EQ(summary.facts.trailingLength, fromFile.facts.trailingLength);
        EXPECT_EQ(summary.facts.dataLength, fromFile.facts.dataLength);
    }
    // Opening reports the bytes of the file read, from none to all of them.
    std::vector<qint64> done;
    const QString path = dir.write("large.vdm", member);
    ASSERT_TRUE(readMapFile(path, [&](qint64 read, qint64 total) {
                    EXPECT_EQ(total, member.size());
                    done.push_back(read);
                }).ok());
    ASSERT_GE(done.size(), 2u);
    EXPECT_EQ(done.front(), 0);
    EXPECT_EQ(done.back(), member.size());

    // A file cut short is refused as the same bytes in memory are.
    const QByteArray cut = member.first(member.size() - 5000);
    EXPECT_EQ(readMapFile(dir.write("cut.vdm", cut)).reason, loadMapData(cut).reason);
    EXPECT_EQ(readMapFile(dir.write("cut.vdm", cut)).reason, QStringLiteral("gzip data truncated at byte %1").arg(cut.size()));
    const QByteArray plainCut = data.first(writer.terrainEnd() + 12);  // inside the marker pair
    EXPECT_EQ(readMapFile(dir.write("plaincut.vdm", plainCut)).reason, QStringLiteral("terrain marker not found"));
}

TEST(MapLoad, LevelsOfALoadedMapOutliveEachOther)
{
    // Both levels of a loaded map lie in the memory they were read into; a
    // level that is replaced gives its pages back, and must take none of the
    // other level's with it. Large levels, so that each spans whole pages.
    const MapWriter writer = MapWriter::patterned(400, true);
    for (const int replaced : {0, 1}) {
        SCOPED_TRACE(replaced);
        MapDocument document = loadOrFail(gzipMember(writer.data()));
        const TerrainLayer copy = document.layer(replaced);
        document.layer(replaced) = TerrainLayer(400);
        EXPECT_EQ(document.layer(1 - replaced), writer.layers[std::size_t(1 - replaced)]);
        EXPECT_EQ(copy, writer.layers[std::size_t(replaced)]);
        // A copy owns its cells: writing it leaves the map alone.
        TerrainLayer other = document.layer(1 - replaced);
        other.at(0, 0).tertype ^= 1;
        EXPECT_EQ(document.layer(1 - replaced), writer.layers[std::size_t(1 - replaced)]);
        document = MapDocument();
        EXPECT_EQ(copy, writer.layers[std::size_t(replaced)]);
    }
}

TEST(MapAdopt, TakesTheWholeLoadedMap)
{
    MapDocument open = loadOrFail(MapWriter::patterned(36, true).data());
    const MapDocument loaded = loadOrFail(MapWriter::patterned(50, false).data());
    adoptLoadedMap(open, MapDocument(loaded));
    EXPECT_EQ(open.mapSize, 50u);
    EXPECT_FALSE(open.hasLevel(1));
    EXPECT_EQ(serializeMapData(open), serializeMapData(loaded));
}

}  // namespace
