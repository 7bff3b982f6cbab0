// Tests of TileSprites: loading the 17 tile sprite files in each graphics mode,
// the tables' rules and the prepared pictures.
#include "gfx/TileSprites.h"

#include "SpriteFixtures.h"
#include "TempDir.h"
#include "writers/LodWriter.h"

#include <QDir>

#include <gtest/gtest.h>

#include <functional>

namespace {

using Rename = std::function<QString(const QString &fileName)>;

QString asIs(const QString &fileName)
{
    return fileName;
}

// Writes the 17 fixture files to "defs/", letting a test drop or replace one
// or change the letter case of names on disk.
void writeDefsFolder(const TempDir &dir, const QString &folder = "defs", const Rename &rename = asIs,
                     const std::function<QByteArray(const TileSpriteName &)> &contents =
                         [](const TileSpriteName &name) { return fixtureSpriteFile(name); })
{
    for (const TileSpriteName &name : TileSpriteNames) {
        const QByteArray bytes = contents(name);
        if (!bytes.isNull())
            dir.write(folder + '/' + rename(QString::fromLatin1(name.name) + ".def"), bytes);
    }
}

QByteArray fixtureArchive()
{
    LodWriter archive;
    for (const TileSpriteName &name : TileSpriteNames)
        archive.add(QByteArray(name.name) + ".def", fixtureSpriteFile(name),
                    name.index % 2 ? LodWriter::Packing::Packed : LodWriter::Packing::Stored);
    return archive.write();
}

// The colour of pixel (1, 0) of the picture, which names the file it came from
// and the frame (fixturePixels gives index 1 + (7 + frame) % 50 there).
bool holdsFrame(const QImage &picture, TileKind kind, int index, int frame)
{
    const QRgb expected = fixtureColour(fixtureFileNumber(kind, index), 1 + (7 + frame) % 50);
    return !picture.isNull() && picture.pixel(1, 0) == expected;
}

bool everyRowFilled(const TileSprites &sprites)
{
    for (int t = 0; t < TileSprites::TerrainRows; ++t)
        if (!holdsFrame(sprites.TerrainSprites(t, 78), TileKind::Terrain, t, 78))
            return false;
    for (int t = 1; t <= TileSprites::RiverRows; ++t)
        if (!holdsFrame(sprites.RiverSprites(t - 1, 12), TileKind::River, t, 12))
            return false;
    for (int t = 1; t <= TileSprites::RoadRows; ++t)
        if (!holdsFrame(sprites.RoadSprites(t - 1, 16), TileKind::Road, t, 16))
            return false;
    return true;
}

TEST(LoadTileSprites, GraphicsTwoLoadsNothing)
{
    TempDir dir;
    writeDefsFolder(dir);
    const CurrentDirGuard guard(dir.path());
    TileSpriteSource settings;
    settings.graphics = 2;
    TileSprites sprites;
    EXPECT_EQ(sprites.LoadTileSprites(settings), TileLoadResult::Finished);
    EXPECT_FALSE(sprites.spritesLoaded());
    EXPECT_TRUE(sprites.TerrainSprites(0, 0).isNull());
    EXPECT_EQ(settings.graphics, 2);
}

TEST(LoadTileSprites, ReadsTheArchiveWhateverTheLetterCaseOnDisk)
{
    TempDir dir;
    dir.write("Game/Data/VDSPRITE.LOD", fixtureArchive());
    TileSpriteSource settings;
    settings.graphics = 0;
    settings.gameFolder = dir.filePath("Game") + '/';
    TileSprites sprites;
    EXPECT_EQ(sprites.LoadTileSprites(settings), TileLoadResult::Finished);
    EXPECT_TRUE(sprites.spritesLoaded());
    EXPECT_TRUE(everyRowFilled(sprites));
    EXPECT_FALSE(sprites.spriteScratch().isNull());
    EXPECT_EQ(settings.graphics, 0);
}

TEST(LoadTileSprites, MissingGameFolderFallsBackToTheDefsFolderForGood)
{
    TempDir dir;
    writeDefsFolder(dir, "Defs", [](const QString &name) { return name == "dirttl.def" ? "DirtTl.def" : name; });
    const CurrentDirGuard guard(dir.path());
    TileSpriteSource settings;
    settings.graphics = 0;
    settings.gameFolder = dir.filePath("nowhere") + '/';
    TileSprites sprites;
    EXPECT_EQ(sprites.LoadTileSprites(settings), TileLoadResult::Finished);
    EXPECT_EQ(settings.graphics, 1);
    EXPECT_TRUE(sprites.spritesLoaded());
    EXPECT_TRUE(everyRowFilled(sprites));
}

TEST(LoadTileSprites, GameFolderWithoutArchiveEndsWithArchiveNotOpenedEveryTime)
{
    TempDir dir;
    QDir(dir.path()).mkpath("game/data");
    TileSpriteSource settings;
    settings.graphics = 0;
    settings.gameFolder = dir.filePath("game") + '/';
    TileSprites sprites;
    for (int attempt = 0; attempt < 2; ++attempt) {
        EXPECT_EQ(sprites.LoadTileSprites(settings), TileLoadResult::ArchiveNotOpened);
        EXPECT_FALSE(sprites.spritesLoaded());
        EXPECT_EQ(settings.graphics, 0);
    }
}

TEST(LoadTileSprites, AFileMissingFromTheArchiveIsAnError)
{
    LodWriter archive;
    archive.add("dirttl.def", fixtureSpriteFile(TileSpriteNames[0]));
    TempDir dir;
    dir.write("game/data/vdsprite.lod", archive.write());
    TileSpriteSource settings;
    settings.graphics = 0;
    settings.gameFolder = dir.filePath("game") + '/';
    TileSprites sprites;
    EXPECT_EQ(sprites.LoadTileSprites(settings), TileLoadResult::Error);
    EXPECT_FALSE(sprites.spritesLoaded());
    EXPECT_TRUE(sprites.spriteScratch().isNull());
    EXPECT_TRUE(holdsFrame(sprites.TerrainSprites(0, 0), TileKind::Terrain, 0, 0));  // filled before the error
}

TEST(LoadTileSprites, AMissingDefsFileIsAnErrorAndTheNextRunLoadsAll)
{
    TempDir dir;
    writeDefsFolder(dir, "defs", asIs, [](const TileSpriteName &name) {
        return QByteArray(name.name) == "rocktl" ? QByteArray() : fixtureSpriteFile(name);
    });
    const CurrentDirGuard guard(dir.path());
    TileSpriteSource settings;
    settings.graphics = 1;
    TileSprites sprites;
    EXPECT_EQ(sprites.LoadTileSprites(settings), TileLoadResult::Error);
    EXPECT_FALSE(sprites.spritesLoaded());
    EXPECT_TRUE(sprites.TerrainSprites(9, 0).isNull());

    writeDefsFolder(dir);
    EXPECT_EQ(sprites.LoadTileSprites(settings), TileLoadResult::Finished);
    EXPECT_TRUE(sprites.spritesLoaded());
    EXPECT_TRUE(everyRowFilled(sprites));
}

// A damaged file, first, in the middle or last, ends the run with an error
// that names it and says why; sprites are off, so the caller draws plain colours.
TEST(LoadTileSprites, AnUndecodableFileIsAnErrorNamingTheFile)
{
    for (const char *broken : {"dirttl", "grastl", "cobbrd"}) {
        SCOPED_TRACE(broken);
        TempDir dir;
        writeDefsFolder(dir, "defs", asIs, [&](const TileSpriteName &name) {
            const QByteArray whole = fixtureSpriteFile(name);
            return QByteArray(name.name) == broken ? whole.first(whole.size() / 2) : whole;
        });
        const CurrentDirGuard guard(dir.path());
        TileSpriteSource settings;
        settings.graphics = 1;
        TileSprites sprites;
        EXPECT_EQ(sprites.LoadTileSprites(settings), TileLoadResult::Error);
        EXPECT_FALSE(sprites.spritesLoaded());
        const QString file = QDir(dir.path()).filePath(QStringLiteral("defs/%1.def").arg(QLatin1String(broken)));
        EXPECT_EQ(sprites.failedFile(), file);
        EXPECT_EQ(sprites.loadError(), file + QStringLiteral(": Def file is invalid"));
    }
}

TEST(LoadTileSprites, AMissingOrDamagedArchiveIsNamedWithTheReason)
{
    TempDir dir;
    TileSprites sprites;
    const QString missing = dir.filePath("missing.lod");
    EXPECT_EQ(sprites.loadFromArchive(missing), TileLoadResult::ArchiveNotOpened);
    EXPECT_EQ(sprites.failedFile(), missing);
    EXPECT_EQ(sprites.loadError(), missing + QStringLiteral(": cannot open the sprite archive: no such file"));
    const QString damaged = dir.write("damaged.lod", QByteArray(12, '\xFF'));
    EXPECT_EQ(sprites.loadFromArchive(damaged), TileLoadResult::ArchiveNotOpened);
    EXPECT_EQ(sprites.loadError(), damaged + QStringLiteral(": cannot open the sprite archive: not a sprite archive: it "
                                                            "claims -1 entries"));
    // An entry that does not decode is named inside the archive.
    LodWriter archive;
    for (const TileSpriteName &name : TileSpriteNames)
        archive.add(QByteArray(name.name) + ".def",
                    QByteArray(name.name) == "swmptl" ? fixtureSpriteFile(name).first(1000) : fixtureSpriteFile(name));
    const QString path = dir.write("vdsprite.lod", archive.write());
    EXPECT_EQ(sprites.loadFromArchive(path), TileLoadResult::Error);
    EXPECT_FALSE(sprites.spritesLoaded());
    EXPECT_TRUE(sprites.loadError().startsWith(path + QStringLiteral(": entry swmptl.def: ")))
        << sprites.loadError().toStdString();
}

// A kind's wording that shows how a reason is made: the kind's key and its
// arguments in brackets. English left inside an argument, where a kind of its
// own belongs, shows as such.
QString makeUp(const ReasonKind &kind)
{
    QStringList places;
    for (const int number : placeholdersOf(QString::fromUtf8(kind.english)))
        places << u'%' + QString::number(number);
    const QString key = QString::fromLatin1(kind.key);
    return places.isEmpty() ? key : key + u'(' + places.join(u',') + u')';
}

// The archive of the 17 fixture files, each through contents: a null array
// leaves the file out.
QByteArray archiveOf(const std::function<QByteArray(const TileSpriteName &)> &contents)
{
    LodWriter archive;
    for (const TileSpriteName &name : TileSpriteNames)
        if (const QByteArray bytes = contents(name); !bytes.isNull())
            archive.add(QByteArray(name.name) + ".def", bytes);
    return archive.write();
}

// Every failure of a loading run is a reason built of kinds, the file in front
// and the archive's entry named where it is one; in English it is loadError.
TEST(LoadTileSprites, FailuresAreReasonsOfKindsNamingTheFile)
{
    TempDir dir;
    const auto whole = [](const TileSpriteName &name) { return fixtureSpriteFile(name); };
    const auto without = [&](const char *left) {
        return [=](const TileSpriteName &name) { return QByteArray(name.name) == left ? QByteArray() : whole(name); };
    };
    const auto halved = [&](const char *broken) {
        return [=](const TileSpriteName &name) {
            return QByteArray(name.name) == broken ? whole(name).first(whole(name).size() / 2) : whole(name);
        };
    };
    // The entry of watrtl.def said to start past the end of the archive.
    QByteArray outside = archiveOf(whole);
    for (int i = 0; i < int(TileSpriteNames.size()); ++i)
        if (outside.mid(LodWriter::entryOffset(i), 11) == QByteArray("watrtl.def\0", 11))
            outside.replace(LodWriter::entryOffset(i) + 16, 4, QByteArray("\xff\xff\xff\x7f", 4));
    writeDefsFolder(dir, "defs-missing", asIs, without("rocktl"));
    DefFrame unknown;
    unknown.format = 4;
    unknown.rawData = QByteArray(1024, '\0');
    writeDefsFolder(dir, "defs-encoding", asIs, [&](const TileSpriteName &name) {
        return QByteArray(name.name) == "sandtl" ? DefWriter().addGroup({unknown}).write() : whole(name);
    });
    const auto fromArchive = [](const QString &path) {
        return [=](TileSprites &sprites) { return sprites.loadFromArchive(path); };
    };
    const auto fromFolder = [](const QString &path) {
        return [=](TileSprites &sprites) { return sprites.loadFromFolder(path); };
    };
    const struct {
        const char *name;
        std::function<TileLoadResult(TileSprites &)> load;
        const char *makeUp;  // "@" for the file at fault
    } cases[] = {
        {"no archive", fromArchive(dir.filePath("missing.lod")), "gfx.file(@,gfx.archive(file.missing))"},
        {"a folder for the archive", fromArchive(dir.path()), "gfx.file(@,gfx.archive(file.folder))"},
        {"not an archive", fromArchive(dir.write("ff.lod", QByteArray(12, '\xFF'))),
         "gfx.file(@,gfx.archive(gfx.archivecount(-1)))"},
        {"an archive cut in its table", fromArchive(dir.write("cut.lod", archiveOf(whole).first(200))),
         "gfx.file(@,gfx.archive(gfx.archivetable(17)))"},
        {"an entry missing", fromArchive(dir.write("missing-entry.lod", archiveOf(without("lavrvr")))),
         "gfx.file(@,gfx.noentry(lavrvr.def))"},
        {"an entry outside the archive", fromArchive(dir.write("outside.lod", outside)),
         "gfx.file(@,gfx.entry(watrtl.def,gfx.entryoutside))"},
        {"an entry that does not decode", fromArchive(dir.write("halved.lod", archiveOf(halved("swmptl")))),
         "gfx.file(@,gfx.inentry(swmptl.def,gfx.definvalid))"},
        {"a file of the folder missing", fromFolder(dir.filePath("defs-missing")), "gfx.file(@,file.missing)"},
        {"an unknown pixel encoding", fromFolder(dir.filePath("defs-encoding")), "gfx.file(@,gfx.encoding(0,4))"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TileSprites sprites;
        EXPECT_NE(c.load(sprites), TileLoadResult::Finished);
        EXPECT_EQ(sprites.loadWhy().english(), sprites.loadError());
        EXPECT_EQ(sprites.loadWhy().worded(makeUp), QString::fromLatin1(c.makeUp).replace(u'@', sprites.failedFile()));
    }
}

TEST(CopyDefFrames, StoresOnlyTheFramesThatFitAndRefillsSlots)
{
    TileSprites sprites;
    sprites.CopyDefFrames(fixtureSpriteFile(fixtureFileNumber(TileKind::River, 1), 20, true), TileKind::River, 1);
    EXPECT_TRUE(sprites.spritesLoaded());
    EXPECT_TRUE(holdsFrame(sprites.RiverSprites(0, 12), TileKind::River, 1, 12));
    EXPECT_TRUE(sprites.RiverSprites(0, 13).isNull());
    EXPECT_TRUE(sprites.RiverSprites(1, 0).isNull());  // the next row is untouched

    // Filling the row again from another file replaces the old pictures.
    sprites.CopyDefFrames(fixtureSpriteFile(fixtureFileNumber(TileKind::River, 2), 1, true), TileKind::River, 1);
    EXPECT_TRUE(holdsFrame(sprites.RiverSprites(0, 0), TileKind::River, 2, 0));
    EXPECT_TRUE(holdsFrame(sprites.RiverSprites(0, 1), TileKind::River, 1, 1));
}

TEST(TileSprites, PreparedPicturesExistOnlyForFilledSlotsInsideTheTables)
{
    TileSprites sprites;
    for (const TileSpriteName &name : TileSpriteNames)
        sprites.CopyDefFrames(fixtureSpriteFile(name), name.kind, name.index);
    const QImage *terrain = sprites.prepared(TileKind::Terrain, 9, 78, true, true);
    ASSERT_NE(terrain, nullptr);
    EXPECT_EQ(terrain->format(), QImage::Format_ARGB32_Premultiplied);
    EXPECT_NE(sprites.prepared(TileKind::River, 4, 12, false, false), nullptr);
    EXPECT_NE(sprites.prepared(TileKind::Road, 3, 16, false, true), nullptr);

    struct Outside {
        TileKind kind;
        int type, sprite;
    };
    const Outside outside[] = {{TileKind::Terrain, 10, 0}, {TileKind::Terrain, 0, 79}, {TileKind::Terrain, -1, 0},
                               {TileKind::River, 0, 0},    {TileKind::River, 5, 0},    {TileKind::River, 1, 13},
                               {TileKind::Road, 0, 0},     {TileKind::Road, 4, 0},     {TileKind::Road, 1, 17}};
    for (const Outside &o : outside)
        EXPECT_EQ(sprites.prepared(o.kind, o.type, o.sprite, false, false), nullptr)
            << int(o.kind) << " " << o.type << " " << o.sprite;

    sprites.release();
    EXPECT_FALSE(sprites.spritesLoaded());
    EXPECT_EQ(sprites.prepared(TileKind::Terrain, 9, 78, false, false), nullptr);
    EXPECT_TRUE(sprites.TerrainSprites(9, 78).isNull());
    EXPECT_TRUE(sprites.spriteScratch().isNull());
}

TEST(TileSprites, ScaledPicturesShrinkSmoothlyGrowSharplyAndAreMadeOnce)
{
    TileSprites sprites;
    sprites.CopyDefFrames(fixtureSpriteFile(fixtureFileNumber(TileKind::River, 1), 2, true), TileKind::River, 1);
    const QImage &native = *sprites.prepared(TileKind::River, 1, 1, true, false);
    for (const int size : {1, 8, 16, 31, 33, 64}) {
        SCOPED_TRACE(size);
        const QImage *scaled = sprites.prepared(TileKind::River, 1, 1, true, false, size);
        ASSERT_NE(scaled, nullptr);
        EXPECT_EQ(scaled->size(), QSize(size, size));
        EXPECT_EQ(scaled->format(), QImage::Format_ARGB32_Premultiplied);
        EXPECT_EQ(sprites.prepared(TileKind::River, 1, 1, true, false, size), scaled);  // kept, not made again
        const Qt::TransformationMode mode = size < 32 ? Qt::SmoothTransformation : Qt::FastTransformation;
        EXPECT_EQ(*scaled, native.scaled(size, size, Qt::IgnoreAspectRatio, mode));
    }
    // Doubled pictures repeat each pixel; halved ones blend cyan-free pixels
    // with left-out ones, so some come out partly transparent.
    const QImage doubled = *sprites.prepared(TileKind::River, 1, 1, true, false, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            ASSERT_EQ(doubled.pixel(x, y), native.pixel(x / 2, y / 2)) << x << "," << y;
    const QImage &halved = *sprites.prepared(TileKind::River, 1, 1, true, false, 16);
    bool partlyTransparent = false;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            partlyTransparent |= qAlpha(halved.pixel(x, y)) > 0 && qAlpha(halved.pixel(x, y)) < 255;
    EXPECT_TRUE(partlyTransparent);

    EXPECT_EQ(sprites.prepared(TileKind::River, 1, 1, false, false, 0), nullptr);
    EXPECT_EQ(sprites.prepared(TileKind::River, 1, 1, false, false, 65), nullptr);

    // Filling the slot again gives scaled pictures of the new frame.
    sprites.CopyDefFrames(fixtureSpriteFile(fixtureFileNumber(TileKind::River, 3), 2, true), TileKind::River, 1);
    EXPECT_EQ(*sprites.prepared(TileKind::River, 1, 1, true, false, 64),
              sprites.prepared(TileKind::River, 1, 1, true, false)->scaled(64, 64));
    EXPECT_NE(*sprites.prepared(TileKind::River, 1, 1, true, false, 64), doubled);
}

}  // namespace
