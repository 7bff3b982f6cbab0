// brackwen-tmxexport MAP ARCHIVE OUTDIR [--level 0|1]: writes one level of a map
// with the tiles of a sprite archive as a general tile map (OUTDIR/level.tmx
// and its tile sheet OUTDIR/tiles.png), so that a general tile-map rasteriser
// can draw the same picture as "brackwen-cli render" for a speed comparison.
// Terrain, river and road become three layers; the cell's mirror bits become
// the tile flip flags; pure cyan is the tile sheet's transparent colour.
#include "gfx/TileSprites.h"
#include "map/MapFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTextStream>

#include <cstdint>

namespace {

constexpr int SheetColumns = 32;
constexpr int TerrainTiles = TileSprites::TerrainRows * TileSprites::TerrainSlots;
constexpr int RiverTiles = TileSprites::RiverRows * TileSprites::RiverSlots;
constexpr int RoadTiles = TileSprites::RoadRows * TileSprites::RoadSlots;
constexpr int SheetTiles = TerrainTiles + RiverTiles + RoadTiles;
constexpr std::uint32_t FlipLeftRight = 0x80000000u;
constexpr std::uint32_t FlipUpsideDown = 0x40000000u;

struct Kind {
    TileKind kind;
    int first;  // sheet index of the first tile
    int rows;
    int slots;
    int typeOffset;  // cell type of table row 0
};
constexpr Kind Kinds[] = {
    {TileKind::Terrain, 0, TileSprites::TerrainRows, TileSprites::TerrainSlots, 0},
    {TileKind::River, TerrainTiles, TileSprites::RiverRows, TileSprites::RiverSlots, 1},
    {TileKind::Road, TerrainTiles + RiverTiles, TileSprites::RoadRows, TileSprites::RoadSlots, 1},
};

const QImage &tableImage(const TileSprites &sprites, TileKind kind, int row, int slot)
{
    switch (kind) {
    case TileKind::Terrain: return sprites.TerrainSprites(row, slot);
    case TileKind::River: return sprites.RiverSprites(row, slot);
    case TileKind::Road: break;
    }
    return sprites.RoadSprites(row, slot);
}

QImage tileSheet(const TileSprites &sprites)
{
    QImage sheet(SheetColumns * 32, (SheetTiles + SheetColumns - 1) / SheetColumns * 32, QImage::Format_RGB32);
    sheet.fill(QColor(0, 255, 255));
    QPainter painter(&sheet);
    for (const Kind &k : Kinds)
        for (int row = 0; row < k.rows; ++row)
            for (int slot = 0; slot < k.slots; ++slot) {
                const int index = k.first + row * k.slots + slot;
                const QImage &tile = tableImage(sprites, k.kind, row, slot);
                if (!tile.isNull())
                    painter.drawImage(QPoint(index % SheetColumns * 32, index / SheetColumns * 32), tile);
            }
    return sheet;
}

// The global tile number of one layer of a cell, 0 for none.
std::uint32_t tileNumber(const Kind &k, int type, int sprite, bool leftRight, bool upsideDown)
{
    const int row = type - k.typeOffset;
    if (row < 0 || row >= k.rows || sprite >= k.slots || (k.kind != TileKind::Terrain && type == 0))
        return 0;
    return std::uint32_t(k.first + row * k.slots + sprite + 1) | (leftRight ? FlipLeftRight : 0)
        | (upsideDown ? FlipUpsideDown : 0);
}

}  // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    QStringList args = QCoreApplication::arguments().mid(1);
    int level = 0;
    if (args.size() == 5 && args[3] == "--level")
        level = args[4].toInt();
    else if (args.size() != 3) {
        err << "usage: brackwen-tmxexport MAP ARCHIVE OUTDIR [--level 0|1]" << Qt::endl;
        return 2;
    }
    MapLoadResult loaded = readMapFile(args[0]);
    if (!loaded.ok() || !loaded.document->hasLevel(level)) {
        err << "cannot use the map: " << loaded.reason << Qt::endl;
        return 1;
    }
    TileSprites sprites;
    if (sprites.loadFromArchive(args[1]) != TileLoadResult::Finished) {
        err << sprites.loadError() << Qt::endl;
        return 1;
    }
    const QDir out(args[2]);
    QDir().mkpath(out.path());
    if (!tileSheet(sprites).save(out.filePath("tiles.png"))) {
        err << "cannot write the tile sheet" << Qt::endl;
        return 1;
    }

    const TerrainLayer &layer = loaded.document->layer(level);
    const int side = int(layer.side());
    QFile tmx(out.filePath("level.tmx"));
    if (!tmx.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        err << "cannot write " << tmx.fileName() << Qt::endl;
        return 1;
    }
    QTextStream xml(&tmx);
    xml << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<map version=\"1.8\" orientation=\"orthogonal\" renderorder=\"right-down\" width=\"" << side
        << "\" height=\"" << side << "\" tilewidth=\"32\" tileheight=\"32\" infinite=\"0\">\n"
        << " <tileset firstgid=\"1\" name=\"tiles\" tilewidth=\"32\" tileheight=\"32\" tilecount=\"" << SheetTiles
        << "\" columns=\"" << SheetColumns << "\">\n"
        << "  <image source=\"tiles.png\" trans=\"00ffff\" width=\"" << SheetColumns * 32 << "\" height=\""
        << (SheetTiles + SheetColumns - 1) / SheetColumns * 32 << "\"/>\n </tileset>\n";
    const char *names[] = {"terrain", "river", "road"};
    for (int k = 0; k < 3; ++k) {
        xml << " <layer name=\"" << names[k] << "\" width=\"" << side << "\" height=\"" << side
            << "\">\n  <data encoding=\"csv\">\n";
        for (int row = 0; row < side; ++row) {
            for (int column = 0; column < side; ++column) {
                const TerrainCell &cell = layer.at(row, column);
                const std::uint8_t bits = std::uint8_t(cell.mirror >> (2 * k));
                const int type = k == 0 ? cell.tertype : k == 1 ? cell.rivtype : cell.roadtype;
                const int sprite = k == 0 ? cell.terconf : k == 1 ? cell.rivconf : cell.roadconf;
                xml << tileNumber(Kinds[k], type, sprite, bits & 1, bits & 2);
                if (row + 1 < side || column + 1 < side)
                    xml << ',';
            }
            xml << '\n';
        }
        xml << "  </data>\n </layer>\n";
    }
    xml << "</map>\n";
    return 0;
}
