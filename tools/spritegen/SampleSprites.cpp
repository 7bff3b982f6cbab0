// Sample tile sprite files drawn by our own code.
#include "SampleSprites.h"

#include "writers/DefWriter.h"
#include "writers/LodWriter.h"

#include <QList>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <utility>

namespace {

constexpr int Side = 32;

// Palette indices shared by the drawings. Indices 0..6 are the ones the
// one-byte run encodings can repeat, so the main surfaces use them.
namespace Ink {
constexpr std::uint8_t Background = 0;  // cyan in river and road files
constexpr std::uint8_t Edge = 1;
constexpr std::uint8_t Body = 2;
constexpr std::uint8_t Highlight = 3;
constexpr std::uint8_t FirstShade = 1;   // terrain shades 1..4
constexpr std::uint8_t Border = 7;       // terrain edge bands
constexpr std::uint8_t DigitBox = 8;
constexpr std::uint8_t Digit = 9;
constexpr std::uint8_t Neutral = 10;     // the border every edge picture blends into
constexpr std::uint8_t FirstBlend = 11;  // blend levels 0..BlendLevels-1 of shades 1..4
constexpr int BlendLevels = 5;
}  // namespace Ink

struct Rgb {
    int red, green, blue;
};

// Main colour of each terrain type, as the plain-colour grid shows it.
constexpr std::array<Rgb, 10> TerrainBase = {{{80, 63, 15}, {223, 207, 143}, {0, 64, 0}, {176, 192, 192},
                                              {79, 128, 111}, {128, 112, 48}, {128, 48, 0}, {79, 79, 79},
                                              {15, 80, 144}, {40, 40, 40}}};
// Body and edge colours of rivers 1..4 and roads 1..3.
constexpr std::array<std::array<Rgb, 2>, 4> RiverInk = {{{{{40, 110, 220}, {10, 40, 120}}},
                                                         {{{200, 230, 250}, {110, 150, 190}}},
                                                         {{{130, 90, 45}, {80, 50, 20}}},
                                                         {{{240, 90, 10}, {150, 20, 0}}}}};
constexpr std::array<std::array<Rgb, 2>, 3> RoadInk = {{{{{150, 105, 60}, {90, 60, 30}}},
                                                        {{{170, 170, 170}, {100, 100, 100}}},
                                                        {{{70, 70, 75}, {30, 30, 30}}}}};

QRgb shade(const Rgb &c, int percent)
{
    const auto scale = [&](int v) { return std::clamp(v * percent / 100, 0, 255); };
    return qRgb(scale(c.red), scale(c.green), scale(c.blue));
}

std::uint32_t hash(std::uint32_t a, std::uint32_t b, std::uint32_t c)
{
    std::uint32_t h = a * 0x9E3779B1u ^ b * 0x85EBCA77u ^ c * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    return h;
}

// 3 x 5 pixel digits, one row per 3 bits, top row first.
constexpr std::array<std::array<std::uint8_t, 5>, 10> DigitFont = {{{7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7},
                                                                     {7, 1, 7, 1, 7}, {5, 5, 7, 1, 1}, {7, 4, 7, 1, 7},
                                                                     {7, 4, 7, 5, 7}, {7, 1, 1, 2, 2}, {7, 5, 7, 5, 7},
                                                                     {7, 5, 7, 1, 7}}};

void drawNumber(QByteArray &pixels, int number, int left, int top)
{
    const QByteArray text = QByteArray::number(number);
    const int width = int(text.size()) * 4 + 1;
    for (int y = top; y < top + 7; ++y)
        for (int x = left; x < left + width; ++x)
            pixels[y * Side + x] = char(Ink::DigitBox);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const auto &glyph = DigitFont[text[i] - '0'];
        for (int row = 0; row < 5; ++row)
            for (int column = 0; column < 3; ++column)
                if (glyph[row] & (4 >> column))
                    pixels[(top + 1 + row) * Side + left + 1 + int(i) * 4 + column] = char(Ink::Digit);
    }
}

// The blotchy texture of a terrain in four shades, the same on every tile so
// that neighbouring tiles join without a seam.
std::uint8_t textureShade(int type, int x, int y)
{
    return std::uint8_t(hash(type, (x / 3) + 16 * (y / 2), (x + y) / 7) % 4);
}

// What an edge picture shows, as drawn (the mirror bits turn it): the sides
// (bit 0 north, 1 east, 2 south, 3 west) and the corners (bit 0 north-east,
// 1 south-east, 2 south-west, 3 north-west) where another terrain lies. A
// corner only counts where both sides beside it are of this terrain.
struct EdgeShape {
    int sides;
    int corners;
};
constexpr std::array<EdgeShape, SampleEdgePictures> EdgeShapes = {{
    {0, 0}, {0, 0}, {0, 0}, {0, 0},                    // inside, four variants
    {0, 1}, {0, 9}, {0, 3}, {0, 5}, {0, 11}, {0, 15},  // inner corners
    {1, 0}, {1, 2}, {1, 6},                            // the north side open
    {2, 0}, {2, 4}, {2, 12},                           // the east side open
    {3, 0}, {3, 4},                                    // an outer corner
    {5, 0}, {10, 0},                                   // bands
    {11, 0}, {7, 0},                                   // three sides open
    {15, 0},                                           // a lone cell
}};

// Width in pixels of the blend from a side or corner of another terrain into
// the tile's own texture.
constexpr double BlendWidth = 10.0;

// An edge picture: the texture, blending into the neutral border as it nears
// the sides and corners of its shape; the inside variants 1..3 carry a small
// tuft each, at a place of their own.
QByteArray edgePixels(int type, int frame)
{
    const EdgeShape shape = EdgeShapes[frame];
    QByteArray pixels(Side * Side, '\0');
    for (int y = 0; y < Side; ++y)
        for (int x = 0; x < Side; ++x) {
            // Pixel centres, in pixels from the top-left corner.
            const double u = x + 0.5, v = y + 0.5, far = Side;
            double distance = 2 * BlendWidth;
            const double sides[4] = {v, far - u, far - v, u};
            const double corners[4] = {std::hypot(far - u, v), std::hypot(far - u, far - v), std::hypot(u, far - v),
                                       std::hypot(u, v)};
            for (int k = 0; k < 4; ++k) {
                if (shape.sides & (1 << k))
                    distance = std::min(distance, sides[k]);
                if (shape.corners & (1 << k))
                    distance = std::min(distance, corners[k]);
            }
            const std::uint8_t texture = textureShade(type, x, y);
            // Levels of the blend from the border (-1) to the full texture (BlendLevels).
            const int level = std::min(int(distance / BlendWidth * (Ink::BlendLevels + 1)) - 1, Ink::BlendLevels);
            std::uint8_t ink = std::uint8_t(Ink::FirstShade + texture);
            if (level < 0)
                ink = Ink::Neutral;
            else if (level < Ink::BlendLevels)
                ink = std::uint8_t(Ink::FirstBlend + 4 * level + texture);
            pixels[y * Side + x] = char(ink);
        }
    if (frame >= 1 && frame <= 3) {
        const int left = 4 + 9 * frame, top = 26 - 7 * frame;
        for (const auto &[dx, dy] : {std::pair{1, 0}, std::pair{0, 1}, std::pair{2, 1}, std::pair{1, 2}, std::pair{1, 1}})
            pixels[(top + dy) * Side + left + dx] = char(Ink::FirstShade + ((dx + dy) % 2 ? 0 : 3));
    }
    return pixels;
}

// A terrain tile: the edge pictures first; after them a blotchy texture with
// edge bands chosen by the frame number (bits of frame mod 16 pick the sides,
// frame / 16 their width) and the frame number in the top-left corner.
QByteArray terrainPixels(int type, int frame)
{
    if (frame < SampleEdgePictures)
        return edgePixels(type, frame);
    QByteArray pixels(Side * Side, '\0');
    for (int y = 0; y < Side; ++y)
        for (int x = 0; x < Side; ++x)
            pixels[y * Side + x] = char(Ink::FirstShade + textureShade(type, x, y));
    const int band = 2 + frame / 16;
    const int sides = frame % 16;
    for (int y = 0; y < Side; ++y)
        for (int x = 0; x < Side; ++x) {
            const bool inBand = ((sides & 1) && y < band) || ((sides & 2) && x >= Side - band)
                || ((sides & 4) && y >= Side - band) || ((sides & 8) && x < band);
            if (inBand)
                pixels[y * Side + x] = char(Ink::Border);
        }
    drawNumber(pixels, frame, 3, 3);
    return pixels;
}

QList<QRgb> terrainPalette(int type)
{
    QList<QRgb> palette(256, qRgb(0, 0, 0));
    const Rgb &base = TerrainBase[type];
    for (int i = 0; i < 4; ++i)
        palette[Ink::FirstShade + i] = shade(base, 70 + 20 * i);
    palette[Ink::Border] = shade(base, 40);
    const QRgb neutral = sampleBorderColour();
    palette[Ink::Neutral] = neutral;
    for (int level = 0; level < Ink::BlendLevels; ++level)
        for (int i = 0; i < 4; ++i) {
            // Level l holds (l + 1) / (levels + 1) of the texture.
            const QRgb texture = palette[Ink::FirstShade + i];
            const auto mix = [&](int border, int own) { return (border * (Ink::BlendLevels - level) + own * (level + 1)) / (Ink::BlendLevels + 1); };
            palette[Ink::FirstBlend + 4 * level + i] =
                qRgb(mix(qRed(neutral), qRed(texture)), mix(qGreen(neutral), qGreen(texture)), mix(qBlue(neutral), qBlue(texture)));
        }
    palette[Ink::DigitBox] = qRgb(16, 16, 16);
    palette[Ink::Digit] = qRgb(255, 255, 96);
    return palette;
}

// The pieces of the river and road files, as the sample rules name them: the
// sides each picture's stroke reaches (bit 0 north, 1 east, 2 south, 3
// west). Roads have a picture for every one of the sixteen ways to join: the
// straights, the corners, the T pieces, the cross, the four ends, a lone spot,
// and a wide cross. Rivers have thirteen, so they draw one corner, two T
// pieces and two ends, which the rules mirror into the others, a lone pool, and
// straights with their ripples shifted as variants.
constexpr std::array<int, 17> RoadPieces = {10, 5, 3, 6, 12, 9, 7, 14, 13, 11, 15, 1, 2, 4, 8, 0, 15};
constexpr int WideRoadCross = 16;
constexpr std::array<int, 13> RiverPieces = {10, 5, 3, 7, 11, 15, 1, 2, 0, 10, 5, 10, 5};

// Where the ripples of river picture k start, so the straights' variants differ.
int ripplePhase(int k)
{
    return k < 9 ? 0 : k < 11 ? 3 : 6;
}

// A stroke of the half width from the tile's centre to each side it joins;
// ripples in its body from the phase on, none when the phase is negative.
QByteArray strokePixels(int connections, int width, int ripples)
{
    QByteArray pixels(Side * Side, char(Ink::Background));
    for (int y = 0; y < Side; ++y)
        for (int x = 0; x < Side; ++x) {
            // Distance (in half pixels) from the stroke's centre lines.
            const int dx = std::abs(2 * x + 1 - Side);
            const int dy = std::abs(2 * y + 1 - Side);
            int distance = dx * dx + dy * dy <= 4 * width * width ? 0 : 4 * Side;
            const bool north = y < Side / 2, east = x >= Side / 2, south = y >= Side / 2, west = x < Side / 2;
            if (((connections & 1) && north) || ((connections & 4) && south))
                distance = std::min(distance, dx);
            if (((connections & 2) && east) || ((connections & 8) && west))
                distance = std::min(distance, dy);
            if (distance > 2 * width)
                continue;
            std::uint8_t ink = distance > 2 * (width - 2) ? Ink::Edge : Ink::Body;
            if (ink == Ink::Body && ripples >= 0 && (x + 2 * y + ripples) % 9 == 0)
                ink = Ink::Highlight;
            pixels[y * Side + x] = char(ink);
        }
    return pixels;
}

QList<QRgb> strokePalette(const std::array<Rgb, 2> &ink)
{
    QList<QRgb> palette(256, qRgb(0, 0, 0));
    palette[Ink::Background] = qRgb(0, 255, 255);
    palette[Ink::Body] = shade(ink[0], 100);
    palette[Ink::Edge] = shade(ink[1], 100);
    palette[Ink::Highlight] = shade(ink[0], 130);
    return palette;
}

// The frame as stored: the whole tile, or with tight margins the smallest
// block holding every non-background pixel.
DefFrame storedFrame(int format, const QByteArray &pixels, bool tightMargins, bool shortHeader)
{
    DefFrame frame;
    frame.format = format;
    frame.pixels = pixels;
    frame.shortHeader = shortHeader;
    if (!tightMargins)
        return frame;
    int left = Side, top = Side, right = 0, bottom = 0;
    for (int y = 0; y < Side; ++y)
        for (int x = 0; x < Side; ++x)
            if (pixels[y * Side + x] != char(Ink::Background)) {
                left = std::min(left, x);
                top = std::min(top, y);
                right = std::max(right, x + 1);
                bottom = std::max(bottom, y + 1);
            }
    if (right <= left)
        left = top = right = bottom = 0;
    frame.leftMargin = left;
    frame.topMargin = top;
    frame.spriteWidth = right - left;
    frame.spriteHeight = bottom - top;
    frame.pixels.clear();
    for (int y = top; y < bottom; ++y)
        frame.pixels.append(pixels.mid(y * Side + left, right - left));
    return frame;
}

int positionOf(const TileSpriteName &name)
{
    for (size_t i = 0; i < TileSpriteNames.size(); ++i)
        if (TileSpriteNames[i].kind == name.kind && TileSpriteNames[i].index == name.index)
            return int(i);
    return 0;
}

}  // namespace

QRgb sampleBorderColour()
{
    return qRgb(172, 160, 124);
}

QByteArray sampleSpriteFile(const TileSpriteName &name)
{
    const int position = positionOf(name);
    const int format = position % 4;
    DefWriter writer;
    QList<DefFrame> frames;
    switch (name.kind) {
    case TileKind::Terrain:
        writer.setPalette(terrainPalette(name.index));
        // The last terrain file (encoding 1) uses the 16-byte frame header.
        for (int k = 0; k < TileSprites::TerrainSlots; ++k)
            frames.append(storedFrame(format, terrainPixels(name.index, k), false, name.index == 9));
        break;
    case TileKind::River:
        writer.setPalette(strokePalette(RiverInk[name.index - 1]));
        for (int k = 0; k < TileSprites::RiverSlots; ++k)
            frames.append(storedFrame(format, strokePixels(RiverPieces[k], 5, ripplePhase(k)), format == 1, false));
        break;
    case TileKind::Road:
        writer.setPalette(strokePalette(RoadInk[name.index - 1]));
        for (int k = 0; k < TileSprites::RoadSlots; ++k)
            frames.append(storedFrame(format, strokePixels(RoadPieces[k], k == WideRoadCross ? 7 : 4, -1), format == 1, false));
        break;
    }
    // Two groups, so frame numbers run on across groups as in the game's files.
    const qsizetype half = frames.size() / 2;
    writer.addGroup(frames.mid(0, half)).addGroup(frames.mid(half));
    return writer.write();
}

QByteArray sampleSpriteArchive()
{
    LodWriter archive;
    for (size_t i = 0; i < TileSpriteNames.size(); ++i)
        archive.add(QByteArray(TileSpriteNames[i].name) + ".def", sampleSpriteFile(TileSpriteNames[i]),
                    i % 2 == 0 ? LodWriter::Packing::Packed : LodWriter::Packing::Stored);
    return archive.write();
}
