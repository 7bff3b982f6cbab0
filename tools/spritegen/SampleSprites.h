// Sample tile sprite files drawn by our own code, for the sample folder, the
// benchmarks and tests that want a full set: textured terrain tiles marked with
// their frame number and edge shapes, river and road strokes on pure cyan.
#pragma once

#include "gfx/TileSprites.h"

#include <QByteArray>

// The sprite file for one of the 17 tile sprite names: 79 frames for terrain,
// 13 for rivers, 17 for roads, 32 x 32 each. The files use the four pixel
// encodings in turn (by position in TileSpriteNames), one of them with tight
// margins and one with the 16-byte frame header.
QByteArray sampleSpriteFile(const TileSpriteName &name);

// The archive holding all 17 files as "<name>.def", every other one packed.
QByteArray sampleSpriteArchive();
