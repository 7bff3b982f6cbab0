// The map commands of brackwen-cli, run as the built program: the JSON line of
// info, saving through resave and resize, and refusals that leave OUT alone.
#include "map/Gzip.h"
#include "map/MapFile.h"
#include "writers/MapWriter.h"

#include "CliRunner.h"
#include "TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

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

TEST(MapCommands, AReadOnlyOutputIsRefusedAsReadOnly)
{
    TempDir dir;
    const QString source = dir.write("map.vdm", gzipMember(MapWriter::patterned(36, false).data()));
    const QByteArray oldBytes = "old output";
    const QString out = dir.write("out.vdm", oldBytes);
    QFile::setPermissions(out, QFile::ReadOwner);
    QFile probe(out);
    const bool enforced = !probe.open(QIODevice::ReadWrite);
    const CliRun run = enforced ? runCli({"resave", source, out}) : CliRun();
    QFile::setPermissions(out, QFile::ReadOwner | QFile::WriteOwner);
    if (!enforced)
        GTEST_SKIP() << "file permissions are not enforced for this user";
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, QStringLiteral("brackwen-cli: %1: cannot write the file: it is read-only\n").arg(out).toUtf8());
    EXPECT_EQ(readFile(out), oldBytes);
}

// Targets that are no files and sources that are folders are named as such;
// nothing is replaced.
TEST(MapCommands, FoldersAndDevicesAreRefusedForWhatTheyAre)
{
    TempDir dir;
    const QString source = dir.write("map.vdm", gzipMember(MapWriter::patterned(36, false).data()));
    // A fault here would replace the device by a file; as root that would
    // take /dev/null from the whole machine, so root tries a pipe alone.
    QStringList targets;
    const QString fifo = dir.filePath("pipe.vdm");
    if (mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0)
        targets << fifo;
    if (geteuid() != 0 && QFileInfo::exists("/dev/null"))
        targets << QStringLiteral("/dev/null");
    ASSERT_FALSE(targets.isEmpty());
    for (const QString &target : targets) {
        const CliRun toDevice = runCli({"resave", source, target});
        EXPECT_EQ(toDevice.exitCode, 1);
        EXPECT_EQ(toDevice.err, QStringLiteral("brackwen-cli: %1: it is not a regular file\n").arg(target).toUtf8());
        EXPECT_FALSE(QFileInfo(target).isFile());
    }
    ASSERT_TRUE(QDir().mkpath(dir.filePath("folder.vdm")));
    const CliRun info = runCli({"info", dir.filePath("folder.vdm")});
    EXPECT_EQ(info.exitCode, 1);
    EXPECT_TRUE(info.err.endsWith("folder.vdm: it is a folder\n")) << info.err.toStdString();
    const CliRun toFolder = runCli({"resave", source, dir.filePath("folder.vdm")});
    EXPECT_TRUE(toFolder.err.endsWith("folder.vdm: it is a folder\n")) << toFolder.err.toStdString();
}

// Beyond the file-size limit the write fails and says so; the tool is not
// ended by the system's signal, and the old file stays.
TEST(MapCommands, AFileSizeLimitIsReportedAsFileTooLarge)
{
    TempDir dir;
    const QString source = dir.write("map.vdm", MapWriter::patterned(400, true).data());
    const QString target = dir.write("out.vdm", "old");
    const CliRun run = runCliWithFileSizeLimit({"resave", source, target}, 4096);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.endsWith(": cannot write the file: file too large\n")) << run.err.toStdString();
    EXPECT_EQ(readFile(target), "old");
}

}  // namespace
