// Small tile sprite files for the tile table and drawing tests. Each file's
// palette tells the file and the palette index apart (red = file number * 8,
// green = index), and its frames have asymmetric patterns so that mirroring
// shows; river and road frames also hold pure cyan pixels.
#pragma once

#include "gfx/TileSprites.h"
#include "writers/DefWriter.h"

#include <QByteArray>
#include <QList>

inline QRgb fixtureColour(int fileNumber, int index)
{
    return qRgb(fileNumber * 8, index, 200);
}

inline int fixtureFileNumber(TileKind kind, int index)
{
    for (size_t i = 0; i < TileSpriteNames.size(); ++i)
        if (TileSpriteNames[i].kind == kind && TileSpriteNames[i].index == index)
            return int(i);
    return -1;
}

// A 32 x 32 frame: index 1 + (x * 7 + y * 3 + frame) % 50, and index 0 (cyan
// in river and road files) on a diagonal pattern when withCyan is set.
inline QByteArray fixturePixels(int frame, bool withCyan)
{
    QByteArray pixels(32 * 32, '\0');
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            pixels[y * 32 + x] = (withCyan && (x + 2 * y + frame) % 3 == 0) ? 0 : char(1 + (x * 7 + y * 3 + frame) % 50);
    return pixels;
}

inline QByteArray fixtureSpriteFile(int fileNumber, int frames, bool withCyan)
{
    QList<QRgb> palette(256);
    for (int i = 0; i < 256; ++i)
        palette[i] = fixtureColour(fileNumber, i);
    if (withCyan)
        palette[0] = qRgb(0, 255, 255);
    QList<DefFrame> stored;
    for (int k = 0; k < frames; ++k) {
        DefFrame frame;
        frame.format = 2;
        frame.pixels = fixturePixels(k, withCyan);
        stored.append(frame);
    }
    return DefWriter().setPalette(palette).addGroup(stored).write();
}

inline int fixtureSlotCount(TileKind kind)
{
    return kind == TileKind::Terrain ? TileSprites::TerrainSlots
        : kind == TileKind::River    ? TileSprites::RiverSlots
                                     : TileSprites::RoadSlots;
}

// The fixture file for one of the 17 names, with as many frames as its row has slots.
inline QByteArray fixtureSpriteFile(const TileSpriteName &name)
{
    return fixtureSpriteFile(fixtureFileNumber(name.kind, name.index), fixtureSlotCount(name.kind),
                             name.kind != TileKind::Terrain);
}
