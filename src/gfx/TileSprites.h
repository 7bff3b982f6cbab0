// TileSprites: the tables of tile pictures that the map grid and the brush
// preview draw from, filled from the game's sprite archive or a folder of
// loose sprite files, plus each picture's four mirrored variants prepared for
// drawing.
#pragma once

#include "base/Reason.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <array>
#include <memory>
#include <vector>

// Where the tile pictures come from: the graphics mode (0 the game's
// archive, 1 the "defs" folder of the current folder, anything else none) and
// the game folder that holds the archive.
struct TileSpriteSource {
    int graphics = 0;
    QString gameFolder;
};

enum class TileKind { Terrain, River, Road };

// One of the 17 tile sprite files: the cell value it serves (tertype 0..9,
// rivtype 1..4 or roadtype 1..3) and its name without ".def".
struct TileSpriteName {
    TileKind kind;
    int index;
    const char *name;
};

// The 17 files in loading order.
extern const std::array<TileSpriteName, 17> TileSpriteNames;

// How a loading run ended.
enum class TileLoadResult {
    Finished,          // go on; spritesLoaded() tells whether sprites are in use
    ArchiveNotOpened,  // the game's archive could not be opened; nothing loaded
    Error,             // a file was missing, unreadable or damaged; sprites are off
};

class TileSprites {
public:
    static constexpr int TerrainRows = 10;
    static constexpr int TerrainSlots = 79;
    static constexpr int RiverRows = 4;
    static constexpr int RiverSlots = 13;
    static constexpr int RoadRows = 3;
    static constexpr int RoadSlots = 17;

    TileSprites();

    // Fills the tables as the source's graphics mode says: 0 the game's
    // archive ("data/vdsprite.lod" in the game folder; a game folder that does
    // not exist switches the source's mode to 1, which the caller keeps for
    // the rest of the run), 1 the "defs" folder of the current folder,
    // anything else nothing. File names are matched without regard to letter case.
    TileLoadResult LoadTileSprites(TileSpriteSource &source);

    // The two sources LoadTileSprites chooses from, for callers that name the
    // archive or the folder of sprite files themselves. Every one of the 17
    // files must be there and decode whole: the first that does not ends the
    // run with Error (ArchiveNotOpened when the archive itself cannot be
    // opened), and sprites are off, so the caller can say why and draw plain
    // colours instead.
    TileLoadResult loadFromArchive(const QString &archivePath);
    TileLoadResult loadFromFolder(const QString &folder);
    // Why the last loading run ended in ArchiveNotOpened or Error, as one
    // line that begins with the file: "PATH: reason" for a file of a folder or
    // the archive, "ARCHIVE: entry NAME.def: reason" for a file in it.
    // loadWhy is the same reason as a value, for the windows to word in
    // their language; loadError is it in English.
    const QString &loadError() const { return m_loadError; }
    const Reason &loadWhy() const { return m_loadWhy; }
    // The file that failed: the sprite file's path, or the archive's.
    const QString &failedFile() const { return m_failedFile; }

    // Decodes every frame of one sprite file into the row that kind and index
    // select (index as in TileSpriteNames); frames beyond the row's slots are
    // not stored. Sets spritesLoaded() first, and clears it when the file does
    // not decode; slots filled before the failure keep their pictures. The
    // reason the file does not decode, or none.
    Reason CopyDefFrames(const QByteArray &bytes, TileKind kind, int index);

    // Empties every table and the scratch bitmap; sprites are off afterwards.
    void release();

    bool spritesLoaded() const { return m_spritesLoaded; }
    // The bitmap frames are decoded into; null before a loading run.
    const QImage &spriteScratch() const { return m_spriteScratch; }

    // The 8-bit pictures, by table row and slot as the tables are laid out
    // (river and road rows are the type minus 1). A null image for an empty slot
    // or a position outside the table.
    const QImage &TerrainSprites(int row, int slot) const;
    const QImage &RiverSprites(int row, int slot) const;
    const QImage &RoadSprites(int row, int slot) const;

    // The grid's cell sizes run from MinCellSize to MaxCellSize pixels; the
    // pictures are drawn for NativeCellSize.
    static constexpr int NativeCellSize = 32;
    static constexpr int MinCellSize = 1;
    static constexpr int MaxCellSize = 64;

    // The prepared picture for a cell value (tertype, rivtype or roadtype as
    // the cell stores it, and the sprite number), mirrored left to right and/or
    // upside down: ARGB32 premultiplied, with pure cyan transparent in river and
    // road pictures (terrain pictures are wholly opaque). Null when the value lies outside the table or the slot is
    // empty, or the cell size lies outside MinCellSize..MaxCellSize.
    // At any other cell size than NativeCellSize the picture is scaled by
    // cellSize / 32: smoothly when smaller, pixel by pixel when larger. A scaled
    // picture is made on its first use and kept until the tables are filled
    // again, so repaints only copy it; like all drawing this belongs to one
    // thread.
    const QImage *prepared(TileKind kind, int cellType, int sprite, bool leftToRight, bool upsideDown,
                           int cellSize = NativeCellSize) const;

private:
    struct Slot {
        QImage bitmap;                 // the frame as decoded
        std::array<QImage, 4> variants;  // by (leftToRight ? 1 : 0) | (upsideDown ? 2 : 0)
    };
    struct Table {
        int rows;
        int slots;
        std::vector<Slot> cells;  // rows * slots, row after row
        // Scaled variants by cell size, each as many as cells and made on first use.
        mutable std::array<std::unique_ptr<std::vector<std::array<QImage, 4>>>, MaxCellSize + 1> scaled;
    };

    Table &table(TileKind kind);
    const Table &table(TileKind kind) const;
    // The slot for a row of the table; null outside it.
    const Slot *slotAt(TileKind kind, int row, int slot) const;
    void fillSlot(TileKind kind, int row, int slot, const QImage &bitmap);
    void dropScaledPictures();
    TileLoadResult failLoading(const QString &file, const Reason &reason);

    Table m_terrain;
    Table m_river;
    Table m_road;
    QImage m_spriteScratch;
    bool m_spritesLoaded = false;
    Reason m_loadWhy;
    QString m_loadError;
    QString m_failedFile;
};
