// The archive, sprite and render commands of brackwen-cli, run as the built
// program: their output, the files they write, and one-line refusals.
#include "SampleSprites.h"

#include "gfx/CellRenderer.h"
#include "gfx/TileSprites.h"
#include "map/TerrainLayer.h"
#include "writers/DefWriter.h"
#include "writers/LodWriter.h"
#include "writers/MapWriter.h"
#include "map/Gzip.h"

#include "CliRefusal.h"
#include "TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

// A refusal whose reason says reasonPart somewhere.
void expectRefusalSaying(const CliRun &run, const char *reasonPart)
{
    expectRefusal(run, "brackwen-cli: ");
    EXPECT_TRUE(run.err.contains(reasonPart)) << run.err.toStdString();
}

DefFrame frame(char index)
{
    DefFrame f;
    f.fullWidth = f.fullHeight = f.spriteWidth = f.spriteHeight = 4;
    f.pixels = QByteArray(16, index);
    return f;
}

TEST(GraphicsCommands, LodListAndExtract)
{
    TempDir dir;
    const QByteArray packed(3000, 'p');
    const QString archive = dir.write("test.lod", LodWriter()
                                                      .add("alpha.def", "stored bytes")
                                                      .add("beta.def", packed, LodWriter::Packing::Packed)
                                                      .write());
    const CliRun list = runCli({"lod", "list", archive});
    ASSERT_EQ(list.exitCode, 0) << list.err.toStdString();
    const QList<QByteArray> lines = list.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 2);
    const QList<QByteArray> alpha = lines[0].split('\t');
    const QList<QByteArray> beta = lines[1].split('\t');
    ASSERT_EQ(alpha.size(), 4);
    ASSERT_EQ(beta.size(), 4);
    EXPECT_EQ(alpha[0], "alpha.def");
    EXPECT_EQ(alpha[2], "12");
    EXPECT_EQ(alpha[3], "0");
    EXPECT_EQ(beta[0], "beta.def");
    EXPECT_EQ(beta[2], "3000");
    EXPECT_NE(beta[3], "0");

    const QString out = dir.filePath("beta.out");
    EXPECT_EQ(runCli({"lod", "extract", archive, "BETA.DEF", out}).exitCode, 0);
    EXPECT_EQ(readFile(out), packed);

    expectRefusalSaying(runCli({"lod", "extract", archive, "gamma.def", dir.filePath("gamma.out")}),
                  "test.lod: no entry named \"gamma.def\"");
    EXPECT_FALSE(QFile::exists(dir.filePath("gamma.out")));
    ASSERT_TRUE(QDir().mkpath(dir.filePath("folder")));
    expectRefusalSaying(runCli({"lod", "extract", archive, "beta.def", dir.filePath("folder")}), "folder: it is a folder");
    expectRefusalSaying(runCli({"lod", "list", dir.write("short.lod", "LOD")}), "too short for a sprite archive");
    expectRefusalSaying(runCli({"lod", "list", dir.filePath("missing.lod")}), "missing.lod");
    expectRefusalSaying(runCli({"lod"}), "usage");
}

TEST(GraphicsCommands, LodListRefusesFilesThatAreNoArchive)
{
    // The reader checks no signature, so these open; none holds a file record.
    TempDir dir;
    const MapWriter map = MapWriter::patterned(36, false);
    struct Case {
        const char *name;
        QByteArray bytes;
        const char *reason;
    };
    const Case cases[] = {
        {"zeros.lod", QByteArray(4096, '\0'), "not a sprite archive (it holds no entries)"},
        // Whether its count fits or not, a map is refused as no archive.
        {"map.vdm", map.data(), "map.vdm"},
        {"text.lod", QByteArray(92, 'x') + QByteArray(64, '\0'), "not a sprite archive"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QByteArray bytes = c.bytes;
        if (QByteArrayView(c.name) == "text.lod")
            bytes.replace(8, 4, QByteArray("\x02\0\0\0", 4));  // two records of zero bytes
        const QString path = dir.write(c.name, bytes);
        expectRefusalSaying(runCli({"lod", "list", path}), c.reason);
        expectRefusalSaying(runCli({"lod", "list", path}), qPrintable(path));
    }
}

TEST(GraphicsCommands, DefExportWritesPalettePictures)
{
    TempDir dir;
    const QString def = dir.write("two.def", DefWriter().addGroup({frame(3)}).addGroup({frame(5)}).write());
    const CliRun run = runCli({"def", "export", def, dir.filePath("frames")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    for (const char *name : {"frames/000.png", "frames/001.png"}) {
        const QImage image(dir.filePath(name));
        EXPECT_EQ(image.format(), QImage::Format_Indexed8) << name;
        EXPECT_EQ(image.size(), QSize(4, 4)) << name;
    }
    EXPECT_EQ(QImage(dir.filePath("frames/001.png")).pixelIndex(1, 1), 5);
    expectRefusalSaying(runCli({"def", "export", dir.write("bad.def", "short"), dir.filePath("bad")}),
                  "bad.def: not a sprite file (Def file is invalid)");
}

// Files that are no sprite files, or damaged ones, are refused with the file's
// name and what is wrong; no picture is written.
TEST(GraphicsCommands, DefRefusesForeignAndDamagedFilesByName)
{
    TempDir dir;
    DefFrame unknown = frame(1);
    unknown.format = 6;
    unknown.rawData = QByteArray(16, '\0');
    const QString unknownDef = dir.write("unknown.def", DefWriter().addGroup({frame(3), unknown}).write());
    expectRefusalSaying(runCli({"def", "sheet", unknownDef, dir.filePath("x.png")}),
                  "unknown.def: frame 1 has the unknown pixel encoding 6");
    // A map is no sprite file: its bytes hold no table of pictures.
    const QString map = dir.write("map.vdm", MapWriter::patterned(36, false).data());
    expectRefusalSaying(runCli({"def", "sheet", map, dir.filePath("x.png")}), "map.vdm: not a sprite file");
    expectRefusalSaying(runCli({"def", "sheet", dir.path(), dir.filePath("x.png")}), "it is a folder");
    if (QFileInfo::exists("/dev/zero"))
        expectRefusalSaying(runCli({"def", "sheet", "/dev/zero", dir.filePath("x.png")}), "/dev/zero\": larger than");
    EXPECT_FALSE(QFile::exists(dir.filePath("x.png")));
}

// The top-left pixel of the first run of colour in reading order, or (-1, -1).
QPoint firstPixel(const QImage &image, QRgb colour)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == colour)
                return {x, y};
    return {-1, -1};
}

TEST(GraphicsCommands, DefSheetShowsEveryPictureWithItsNumber)
{
    TempDir dir;
    QList<QRgb> palette(256, qRgb(0, 0, 0));
    QList<DefFrame> frames;
    for (int k = 0; k < 12; ++k) {
        palette[10 + k] = qRgb(20 * k, 255 - 20 * k, 100);
        frames.append(frame(char(10 + k)));
    }
    const QString def = dir.write("twelve.def", DefWriter().setPalette(palette).addGroup(frames.mid(0, 5)).addGroup(frames.mid(5)).write());
    const QString out = dir.filePath("sheet.png");
    const CliRun run = runCli({"def", "sheet", def, out});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty());
    const QImage sheet = QImage(out).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(sheet.isNull());

    // Ten pictures a row in frame order, the 4 x 4 frames drawn 8 x 8, each
    // with white writing (its number) below it.
    std::vector<QPoint> corners;
    for (int k = 0; k < 12; ++k) {
        SCOPED_TRACE(k);
        const QPoint corner = firstPixel(sheet, palette[10 + k]);
        ASSERT_GE(corner.x(), 0);
        EXPECT_EQ(sheet.pixel(corner + QPoint(7, 7)), palette[10 + k]);
        EXPECT_NE(sheet.pixel(corner + QPoint(8, 8)), palette[10 + k]);
        bool written = false;
        for (int y = corner.y() + 8; y < corner.y() + 24 && y < sheet.height(); ++y)
            for (int x = std::max(0, corner.x() - 16); x < corner.x() + 24; ++x)
                written = written || qGray(sheet.pixel(x, y)) > 200;
        EXPECT_TRUE(written);
        corners.push_back(corner);
    }
    for (int k = 1; k < 10; ++k) {
        EXPECT_EQ(corners[k].y(), corners[0].y());
        EXPECT_GT(corners[k].x(), corners[k - 1].x());
    }
    EXPECT_GT(corners[10].y(), corners[9].y() + 8);
    EXPECT_EQ(corners[10].x(), corners[0].x());
    EXPECT_EQ(corners[11].x(), corners[1].x());

    expectRefusalSaying(runCli({"def", "sheet", dir.write("bad.def", "short"), dir.filePath("bad.png")}), "Def file is invalid");
    expectRefusalSaying(runCli({"def", "sheet", dir.filePath("none.def"), dir.filePath("bad.png")}), "cannot read");
    EXPECT_FALSE(QFile::exists(dir.filePath("bad.png")));
    expectRefusalSaying(runCli({"def", "sheet", def}), "usage");
}

// A one-level 36 x 36 map of dirt with water at column 1, row 2.
QByteArray oneWaterCellMap()
{
    MapWriter map = MapWriter::patterned(36, false);
    map.layers = {TerrainLayer(36)};
    map.layers[0].at(2, 1).tertype = 8;
    return map.data();
}

// Pictures and extracted files never replace what they are made from, by
// any of its names, nor a map.
TEST(GraphicsCommands, PictureOutputsRefuseTheirInputsAndMaps)
{
    TempDir dir;
    const QByteArray mapBytes = oneWaterCellMap();
    const QString map = dir.write("one.vdm", mapBytes);
    const QString otherMap = dir.write("other.vdm", gzipMember(MapWriter::patterned(36, true).data()));
    const QString symlink = dir.filePath("symlink.vdm");
    ASSERT_TRUE(QFile::link(map, symlink));
    const QString hardLink = dir.filePath("hard.png");
    ASSERT_EQ(::link(QFile::encodeName(map).constData(), QFile::encodeName(hardLink).constData()), 0);
    const QByteArray defBytes = DefWriter().addGroup({frame(3), frame(5)}).write();
    const QString def = dir.write("sprite.def", defBytes);
    const QByteArray archiveBytes = LodWriter().add("alpha.def", "stored bytes").write();
    const QString archive = dir.write("test.lod", archiveBytes);

    struct Case {
        QStringList arguments;
        const char *reason;
    };
    const Case cases[] = {
        {{"render", map, map}, "it is the input"},
        {{"render", map, symlink}, "it is the input"},
        {{"render", map, hardLink}, "it is the input"},
        {{"render", symlink, map}, "it is the input"},
        {{"render", map, otherMap}, "it is a map"},
        {{"def", "sheet", def, def}, "it is the input"},
        {{"def", "sheet", def, otherMap}, "it is a map"},
        {{"lod", "extract", archive, "alpha.def", archive}, "it is the input"},
        {{"lod", "extract", archive, "alpha.def", otherMap}, "it is a map"},
    };
    const QByteArray otherMapBytes = readFile(otherMap);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        expectRefusalSaying(runCli(c.arguments), c.reason);
        EXPECT_EQ(readFile(map), mapBytes);
        EXPECT_EQ(readFile(otherMap), otherMapBytes);
        EXPECT_EQ(readFile(def), defBytes);
        EXPECT_EQ(readFile(archive), archiveBytes);
    }
    // Any other existing file is replaced, as before.
    const QString oldPicture = dir.write("old.png", "an old picture");
    EXPECT_EQ(runCli({"render", map, oldPicture}).exitCode, 0);
    EXPECT_FALSE(QImage(oldPicture).isNull());
}

TEST(GraphicsCommands, RenderDrawsTheLevelAsTheGridDoes)
{
    TempDir dir;
    const QString path = dir.write("one.vdm", oneWaterCellMap());

    const CliRun plain = runCli({"render", path, dir.filePath("plain.png")});
    ASSERT_EQ(plain.exitCode, 0) << plain.err.toStdString();
    const QImage picture(dir.filePath("plain.png"));
    EXPECT_EQ(picture.size(), QSize(36 * 32, 36 * 32));
    EXPECT_EQ(picture.pixel(1 * 32 + 5, 2 * 32 + 5), TerrainColours[8]);
    EXPECT_EQ(picture.pixel(5, 5), TerrainColours[0]);

    // With the sprite files of a folder the cells show their tiles.
    for (const TileSpriteName &name : TileSpriteNames)
        dir.write(QStringLiteral("defs/%1.def").arg(QLatin1String(name.name)), sampleSpriteFile(name));
    const CliRun sprites = runCli({"render", path, dir.filePath("sprites.png"), "--defs", dir.filePath("defs")});
    ASSERT_EQ(sprites.exitCode, 0) << sprites.err.toStdString();
    EXPECT_NE(QImage(dir.filePath("sprites.png")).convertToFormat(QImage::Format_RGB32),
              picture.convertToFormat(QImage::Format_RGB32));

    expectRefusalSaying(runCli({"render", path, dir.filePath("x.png"), "--level", "1"}), "no level 1");
    expectRefusalSaying(runCli({"render", path, dir.filePath("x.png"), "--defs", dir.filePath("nowhere")}), "dirttl");
    expectRefusalSaying(runCli({"render", dir.write("bad.vdm", "bad"), dir.filePath("x.png")}), "bad.vdm");
    EXPECT_FALSE(QFile::exists(dir.filePath("x.png")));

    // A damaged sprite file, first or last, is named and nothing is drawn.
    for (const char *damaged : {"grastl", "cobbrd"}) {
        const QString name = QStringLiteral("defs/%1.def").arg(QLatin1String(damaged));
        const QByteArray whole = readFile(dir.filePath(name));
        dir.write(name, whole.first(whole.size() / 2));
        expectRefusalSaying(runCli({"render", path, dir.filePath("x.png"), "--defs", dir.filePath("defs")}),
                      qPrintable(QStringLiteral("%1.def: Def file is invalid").arg(QLatin1String(damaged))));
        dir.write(name, whole);
        EXPECT_FALSE(QFile::exists(dir.filePath("x.png")));
    }
}

TEST(GraphicsCommands, RenderDrawsAtTheChosenCellSize)
{
    TempDir dir;
    const QString path = dir.write("one.vdm", oneWaterCellMap());
    const struct {
        const char *cell;
        int size;
    } cases[] = {{"1", 1}, {"8", 8}, {"32", 32}, {"64", 64}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.cell);
        const QString out = dir.filePath(QStringLiteral("cell%1.png").arg(c.cell));
        const CliRun run = runCli({"render", path, out, "--cell", c.cell});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        const QImage picture(out);
        EXPECT_EQ(picture.size(), QSize(36 * c.size, 36 * c.size));
        EXPECT_EQ(picture.pixel(1 * c.size, 2 * c.size), TerrainColours[8]);
        EXPECT_EQ(picture.pixel(0, 0), TerrainColours[0]);
    }

    const struct {
        const char *cell;
        const char *reason;
    } refusals[] = {{"0", "from 1 to 64"}, {"65", "from 1 to 64"}, {"-3", "from 1 to 64"}, {"8px", "from 1 to 64"}};
    for (const auto &r : refusals) {
        SCOPED_TRACE(r.cell);
        expectRefusalSaying(runCli({"render", path, dir.filePath("x.png"), "--cell", r.cell}), r.reason);
    }
    expectRefusalSaying(runCli({"render", path, dir.filePath("x.png"), "--cell"}), "usage");
    EXPECT_FALSE(QFile::exists(dir.filePath("x.png")));
}

TEST(GraphicsCommands, RenderRefusesPicturesBeyondTheLimitsAndNamesACellSizeThatFits)
{
    TempDir dir;
    MapWriter map = MapWriter::patterned(1100, false);
    map.layers = {TerrainLayer(1100)};
    const QString path = dir.write("big.vdm", map.data());
    // 1100 cells at 32 pixels are 35,200 pixels a side; at 21, 23,100 pixels
    // a side take just under 2 GiB.
    const CliRun run = runCli({"render", path, dir.filePath("big.png")});
    expectRefusalSaying(run, "a picture of a 1100 x 1100 map at 32 pixels a cell is larger than 32767 x 32767 pixels or 2 GiB; "
                       "--cell 21 or smaller fits");
    expectRefusalSaying(runCli({"render", path, dir.filePath("big.png"), "--cell", "22"}), "--cell 21 or smaller fits");
    EXPECT_FALSE(QFile::exists(dir.filePath("big.png")));

    const CliRun fitting = runCli({"render", path, dir.filePath("small.png"), "--cell", "2"});
    ASSERT_EQ(fitting.exitCode, 0) << fitting.err.toStdString();
    EXPECT_EQ(QImage(dir.filePath("small.png")).size(), QSize(2200, 2200));
}

}  // namespace
