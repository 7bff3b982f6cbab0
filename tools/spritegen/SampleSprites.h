// Sample tile sprite files drawn by our own code, for the sample folder, the
// benchmarks and tests that want a full set: textured terrain tiles (edge
// pictures for the sample terrain edge rules, then tiles marked with their
// frame number and edge bands), river and road pieces on pure cyan.
#pragma once

#include "gfx/TileSprites.h"

#include <QByteArray>
#include <QRgb>

// Terrain frames 0..SampleEdgePictures-1 of every terrain are its edge
// pictures: the texture blending into one neutral border colour on the sides
// and corners where another terrain lies, as the sample rules file
// "terrain-edges.ini" names them. Frames 0..3 are plain inside variants.
inline constexpr int SampleEdgePictures = 23;
QRgb sampleBorderColour();

// The sprite file for one of the 17 tile sprite names: 79 frames for terrain,
// 13 for rivers, 17 for roads, 32 x 32 each. River and road frames are the
// pieces (ends, straights, corners, T pieces, crosses) that the sample rules
// name, each stroke reaching exactly the sides it joins. The files use the four pixel
// encodings in turn (by position in TileSpriteNames), one of them with tight
// margins and one with the 16-byte frame header.
QByteArray sampleSpriteFile(const TileSpriteName &name);

// The archive holding all 17 files as "<name>.def", every other one packed.
QByteArray sampleSpriteArchive();
