// The map commands of brackwen-cli, run as the built program: the JSON line of
// info, saving through resave and resize, and refusals that leave OUT alone.
#include "map/Gzip.h"
#include "map/MapFile.h"
#include "writers/MapWriter.h"

#include "CliRunner.h"
#include "TempDir.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(MapCommands, InfoPrintsOneJsonLine)
{
    const MapWriter writer = MapWriter::patterned(72, true);
    const QByteArray data = writer.data();
    TempDir dir;
    const CliRun gzip = runCli({"info", dir.write("map.vdm", gzipMember(data))});
    EXPECT_EQ(gzip.exitCode, 0);
    EXPECT_EQ(gzip.out.toStdString(), QStringLiteral("{\"version\":28,\"size\":72,\"levels\":2,\"compressed\":true,"
                                       "\"terrainOffset\":%1,\"trailingBytes\":%2,\"dataLength\":%3}\n")
                            .arg(writer.terrainOffset())
                            .arg(data.size() - writer.terrainEnd())
                                          .arg(data.size())
                                          .toStdString());
    EXPECT_TRUE(gzip.err.isEmpty()) << gzip.err.toStdString();

    const CliRun plain = runCli({"info", dir.write("map.vdw", data)});
    EXPECT_EQ(plain.exitCode, 0);
    EXPECT_TRUE(plain.out.contains("\"compressed\":false,")) << plain.out.toStdString();
}

TEST(MapCommands, ResaveAndResizeWriteTheMap)
{
    const MapWriter writer = MapWriter::patterned(72, true);
    const QByteArray data = writer.data();
    TempDir dir;
    const QString source = dir.write("map-plain.vdm", data);

    // Standard error is no terminal here, so no progress bar is drawn.
    const CliRun resave = runCli({"resave", source, dir.filePath("resaved.vdm")});
    EXPECT_EQ(resave.exitCode, 0);
    EXPECT_TRUE(resave.err.isEmpty()) << resave.err.toStdString();
    const GzipInflateResult resaved = inflateGzip(readFile(dir.filePath("resaved.vdm")), MaximumMapDataLength);
    ASSERT_TRUE(resaved.ok()) << resaved.error.toStdString();
    EXPECT_EQ(resaved.data, data);

    const CliRun resize = runCli({"resize", source, "36", dir.filePath("small.vdm")});
    EXPECT_EQ(resize.exitCode, 0);
    EXPECT_TRUE(resize.err.isEmpty()) << resize.err.toStdString();
    const MapLoadResult small = loadMapData(readFile(dir.filePath("small.vdm")));
    ASSERT_TRUE(small.ok()) << small.reason.toStdString();
    EXPECT_EQ(small.document->mapSize, 36u);
    EXPECT_EQ(small.document->ground, writer.layers[0].resized(36));
}

TEST(MapCommands, FailuresSayWhyAndLeaveOutAlone)
{
    TempDir dir;
    const QString good = dir.write("good.vdm", MapWriter::patterned(36, false).data());
    MapWriter noMarker = MapWriter::patterned(36, false);
    noMarker.trailingBytes = QByteArray(64, 'x');
    const QString bad = dir.write("bad.vdm", noMarker.data());
    const QByteArray oldBytes = "old output";
    const QString out = dir.write("out.vdm", oldBytes);

    struct Case {
        QStringList arguments;
        QByteArray message;
    };
    const Case cases[] = {
        {{"info", bad}, "brackwen-cli: " + bad.toUtf8() + ": terrain marker not found\n"},
        {{"info"}, "brackwen-cli: usage: brackwen-cli info MAP\n"},
        {{"resave", bad, out}, "brackwen-cli: " + bad.toUtf8() + ": terrain marker not found\n"},
        {{"resave", good}, "brackwen-cli: usage: brackwen-cli resave MAP OUT\n"},
        {{"resize", good, "0", out}, "brackwen-cli: map side must be a whole number from 1 to 9000, not \"0\"\n"},
        {{"resize", good, "9001", out}, "brackwen-cli: map side must be a whole number from 1 to 9000, not \"9001\"\n"},
        {{"resize", good, "36.5", out}, "brackwen-cli: map side must be a whole number from 1 to 9000, not \"36.5\"\n"},
        {{"resize", good, "+36", out}, "brackwen-cli: map side must be a whole number from 1 to 9000, not \"+36\"\n"},
        {{"resize", good, "36"}, "brackwen-cli: usage: brackwen-cli resize MAP N OUT\n"},
        {{"resize", dir.filePath("good.VDM"), "36", out},
         "brackwen-cli: " + dir.filePath("good.VDM").toUtf8() + ": no such file\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const CliRun run = runCli(c.arguments);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_EQ(run.err.toStdString(), c.message.toStdString());
        EXPECT_EQ(readFile(out), oldBytes);
    }
}

}  // namespace
