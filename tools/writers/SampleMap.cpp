// Sample terrain: a height field decides water, shore, lowlands and mountains,
// a second field the wetness of the lowlands; rivers run downhill from the
// hills and roads join random places on land; a straight road crosses the
// surface. With rules, every river and road gets the piece they choose.
#include "writers/SampleMap.h"

#include "edit/PathLaying.h"
#include "edit/PathPieces.h"
#include "edit/TerrainEdges.h"
#include "writers/ByteWriter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

// splitmix64: tiny, fast, and the same sequence everywhere.
class Random {
public:
    explicit Random(std::uint64_t seed) : m_state(seed) {}

    std::uint64_t next()
    {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    std::uint32_t below(std::uint32_t bound) { return std::uint32_t(next() % bound); }
    double unit() { return double(next() >> 11) * 0x1.0p-53; }

private:
    std::uint64_t m_state;
};

namespace Terrain {
constexpr std::uint8_t Dirt = 0, Sand = 1, Grass = 2, Snow = 3, Swamp = 4, Rough = 5, Subterranean = 6, Lava = 7,
                       Water = 8, Rock = 9;
}

// Values 0..1 varying smoothly over the map: random values on a lattice of
// the given spacing in cells, blended between the lattice points.
std::vector<float> smoothField(std::uint32_t side, std::uint32_t spacing, Random &random)
{
    const std::uint32_t lattice = side / spacing + 2;
    std::vector<float> knots(std::size_t(lattice) * lattice);
    for (float &knot : knots)
        knot = float(random.unit());
    const auto ease = [](double t) { return t * t * (3 - 2 * t); };
    std::vector<float> field(std::size_t(side) * side);
    for (std::uint32_t row = 0; row < side; ++row) {
        const std::uint32_t y = row / spacing;
        const double ty = ease(double(row % spacing) / spacing);
        for (std::uint32_t column = 0; column < side; ++column) {
            const std::uint32_t x = column / spacing;
            const double tx = ease(double(column % spacing) / spacing);
            const float *top = &knots[std::size_t(y) * lattice + x];
            const float *bottom = top + lattice;
            const double upper = top[0] + (top[1] - top[0]) * tx;
            const double lower = bottom[0] + (bottom[1] - bottom[0]) * tx;
            field[std::size_t(row) * side + column] = float(upper + (lower - upper) * ty);
        }
    }
    return field;
}

// Two octaves, stretched so the values use most of 0..1.
std::vector<float> heightField(std::uint32_t side, Random &random)
{
    std::vector<float> coarse = smoothField(side, 14, random);
    const std::vector<float> fine = smoothField(side, 4, random);
    for (std::size_t i = 0; i < coarse.size(); ++i)
        coarse[i] = std::clamp(float((0.75 * coarse[i] + 0.25 * fine[i] - 0.5) * 1.4 + 0.5), 0.0f, 1.0f);
    return coarse;
}

bool blocksLines(std::uint8_t tertype)
{
    return tertype == Terrain::Water || tertype == Terrain::Rock;
}

// Terrain sprite indexes: cells inside an area of one type take the upper part
// of the type's set, cells at a border the lower part, where the edge tiles are.
void chooseTerrainSprites(TerrainLayer &layer, Random &random)
{
    const std::uint32_t side = layer.side();
    for (std::uint32_t row = 0; row < side; ++row) {
        for (std::uint32_t column = 0; column < side; ++column) {
            TerrainCell &cell = layer.at(row, column);
            bool border = false;
            if (row > 0 && layer.at(row - 1, column).tertype != cell.tertype)
                border = true;
            if (row + 1 < side && layer.at(row + 1, column).tertype != cell.tertype)
                border = true;
            if (column > 0 && layer.at(row, column - 1).tertype != cell.tertype)
                border = true;
            if (column + 1 < side && layer.at(row, column + 1).tertype != cell.tertype)
                border = true;
            const std::uint32_t highest = maxTerrainSprite[cell.tertype];
            const std::uint32_t split = highest / 2;
            cell.terconf = std::uint8_t(border ? random.below(split + 1) : split + 1 + random.below(highest - split));
            if (border)
                cell.mirror = std::uint8_t(random.below(4));  // terrain left-right and upside-down bits
        }
    }
}

struct Step {
    int row;
    int column;
};

enum class Line { River, Road };

// Direction of a neighbour: 0 up, 1 right, 2 down, 3 left; -1 when not adjacent.
int directionTo(const Step &from, const Step &to)
{
    if (to.row == from.row - 1 && to.column == from.column)
        return 0;
    if (to.row == from.row && to.column == from.column + 1)
        return 1;
    if (to.row == from.row + 1 && to.column == from.column)
        return 2;
    if (to.row == from.row && to.column == from.column - 1)
        return 3;
    return -1;
}

// Writes a river or road along a path of cells, choosing each cell's sprite
// from the way the line enters and leaves it: straight pieces, bends (one
// sprite mirrored into the four turns) and ends. Water and rock are skipped.
void drawLine(TerrainLayer &layer, const std::vector<Step> &path, Line line, std::uint8_t type, Random &random)
{
    // Sprite ranges per shape: bend, vertical, horizontal, end.
    struct Ranges {
        std::uint8_t bendFirst, bendCount, verticalFirst, verticalCount, horizontalFirst, horizontalCount, end;
        std::uint8_t leftRight, upsideDown;
    };
    const Ranges ranges = line == Line::River
        ? Ranges{0, 4, 4, 4, 8, 4, 12, MirrorBit::RiverLeftRight, MirrorBit::RiverUpsideDown}
        : Ranges{0, 6, 6, 5, 11, 5, 16, MirrorBit::RoadLeftRight, MirrorBit::RoadUpsideDown};
    for (std::size_t i = 0; i < path.size(); ++i) {
        TerrainCell &cell = layer.at(std::uint32_t(path[i].row), std::uint32_t(path[i].column));
        if (blocksLines(cell.tertype))
            continue;
        std::array<bool, 4> links{};
        if (i > 0 && directionTo(path[i], path[i - 1]) >= 0)
            links[directionTo(path[i], path[i - 1])] = true;
        if (i + 1 < path.size() && directionTo(path[i], path[i + 1]) >= 0)
            links[directionTo(path[i], path[i + 1])] = true;
        const bool vertical = links[0] || links[2];
        const bool horizontal = links[1] || links[3];
        std::uint8_t sprite = ranges.end;
        std::uint8_t mirror = 0;
        if (vertical && horizontal) {
            // The bend sprite joins down and right; mirrors make the others.
            sprite = std::uint8_t(ranges.bendFirst + random.below(ranges.bendCount));
            mirror = std::uint8_t((links[3] ? ranges.leftRight : 0) | (links[0] ? ranges.upsideDown : 0));
        } else if (links[0] && links[2]) {
            sprite = std::uint8_t(ranges.verticalFirst + random.below(ranges.verticalCount));
        } else if (links[1] && links[3]) {
            sprite = std::uint8_t(ranges.horizontalFirst + random.below(ranges.horizontalCount));
        }
        if (line == Line::River) {
            cell.rivtype = type;
            cell.rivconf = sprite;
        } else {
            cell.roadtype = type;
            cell.roadconf = sprite;
        }
        cell.mirror = std::uint8_t((cell.mirror & ~(ranges.leftRight | ranges.upsideDown)) | mirror);
    }
}

constexpr std::array<Step, 4> Neighbours = {Step{-1, 0}, Step{0, 1}, Step{1, 0}, Step{0, -1}};

// A river from a hill cell, each step to the lowest unvisited neighbour (with
// a little noise and a wish to keep going straight), until it reaches water
// or rock, gets stuck, or has run the map's side.
std::vector<Step> riverPath(const TerrainLayer &layer, const std::vector<float> &height, Random &random,
                            std::vector<std::uint32_t> &visitedBy, std::uint32_t riverId)
{
    const int side = int(layer.side());
    Step at{int(random.below(std::uint32_t(side))), int(random.below(std::uint32_t(side)))};
    for (int tries = 0; tries < 64 && height[std::size_t(at.row) * side + at.column] < 0.55f; ++tries)
        at = Step{int(random.below(std::uint32_t(side))), int(random.below(std::uint32_t(side)))};
    std::vector<Step> path;
    int heading = int(random.below(4));
    for (int length = 0; length < side; ++length) {
        if (blocksLines(layer.at(std::uint32_t(at.row), std::uint32_t(at.column)).tertype))
            break;
        path.push_back(at);
        visitedBy[std::size_t(at.row) * side + at.column] = riverId;
        int best = -1;
        double bestScore = 0;
        for (int direction = 0; direction < 4; ++direction) {
            const Step next{at.row + Neighbours[direction].row, at.column + Neighbours[direction].column};
            if (next.row < 0 || next.column < 0 || next.row >= side || next.column >= side)
                continue;
            const std::size_t index = std::size_t(next.row) * side + next.column;
            if (visitedBy[index] == riverId)
                continue;
            const double score = height[index] + 0.06 * random.unit() - (direction == heading ? 0.03 : 0.0);
            if (best < 0 || score < bestScore) {
                best = direction;
                bestScore = score;
            }
        }
        if (best < 0)
            break;
        heading = best;
        at = Step{at.row + Neighbours[best].row, at.column + Neighbours[best].column};
    }
    return path;
}

// A road between two places: each step goes towards the goal along the row
// or the column, chosen at random in proportion to the distance left on each.
std::vector<Step> roadPath(std::uint32_t side, Random &random)
{
    Step at{int(random.below(side)), int(random.below(side))};
    const Step goal{int(random.below(side)), int(random.below(side))};
    std::vector<Step> path{at};
    while (at.row != goal.row || at.column != goal.column) {
        const std::uint32_t rows = std::uint32_t(std::abs(goal.row - at.row));
        const std::uint32_t columns = std::uint32_t(std::abs(goal.column - at.column));
        if (random.below(rows + columns) < rows)
            at.row += goal.row > at.row ? 1 : -1;
        else
            at.column += goal.column > at.column ? 1 : -1;
        path.push_back(at);
    }
    return path;
}

void drawRivers(TerrainLayer &layer, const std::vector<float> &height, std::uint32_t count,
                const std::array<std::uint8_t, 4> &types, Random &random)
{
    std::vector<std::uint32_t> visitedBy(layer.cellCount(), 0);
    for (std::uint32_t river = 1; river <= count; ++river) {
        const std::vector<Step> path = riverPath(layer, height, random, visitedBy, river);
        drawLine(layer, path, Line::River, types[random.below(types.size())], random);
    }
}

void drawRoads(TerrainLayer &layer, std::uint32_t count, const std::array<std::uint8_t, 4> &types, Random &random)
{
    for (std::uint32_t road = 0; road < count; ++road)
        drawLine(layer, roadPath(layer.side(), random), Line::Road, types[random.below(types.size())], random);
}

// A straight road between two random cells, along the cells the editor's
// path tool lays for a drag between them.
void drawStraightRoad(TerrainLayer &layer, std::uint8_t type, Random &random)
{
    const std::uint32_t side = layer.side();
    const CellPosition from{std::uint16_t(random.below(side)), std::uint16_t(random.below(side))};
    const CellPosition to{std::uint16_t(random.below(side)), std::uint16_t(random.below(side))};
    std::vector<Step> path;
    for (const CellPosition &cell : pathCells(from, to))
        path.push_back({cell.row, cell.column});
    drawLine(layer, path, Line::Road, type, random);
}

std::uint8_t surfaceType(float height, float wetness)
{
    if (height < 0.30f)
        return Terrain::Water;
    if (height < 0.35f)
        return Terrain::Sand;
    if (height > 0.84f)
        return Terrain::Rock;
    if (height > 0.72f)
        return wetness > 0.5f ? Terrain::Snow : Terrain::Rough;
    if (wetness > 0.66f)
        return Terrain::Swamp;
    return wetness > 0.36f ? Terrain::Grass : Terrain::Dirt;
}

std::uint8_t undergroundType(float height, float heat)
{
    if (height > 0.68f)
        return Terrain::Rock;
    if (height < 0.14f)
        return Terrain::Water;
    if (heat > 0.78f)
        return Terrain::Lava;
    return heat < 0.22f ? Terrain::Dirt : Terrain::Subterranean;
}

// Terrain types from two fields; height is kept for the rivers.
TerrainLayer paintLayer(std::uint32_t side, std::uint8_t (*typeAt)(float, float), std::vector<float> &height,
                        Random &random)
{
    height = heightField(side, random);
    const std::vector<float> second = smoothField(side, 9, random);
    TerrainLayer layer(side);
    for (std::size_t i = 0; i < layer.cellCount(); ++i)
        layer.data()[i].tertype = typeAt(height[i], second[i]);
    chooseTerrainSprites(layer, random);
    return layer;
}

}  // namespace

TerrainLayer sampleSurface(std::uint32_t side, std::uint64_t seed)
{
    Random random(seed);
    std::vector<float> height;
    TerrainLayer layer = paintLayer(side, surfaceType, height, random);
    drawRivers(layer, height, std::max<std::uint32_t>(2, side / 12), {1, 1, 2, 3}, random);
    drawRoads(layer, std::max<std::uint32_t>(1, side / 20), {1, 2, 3, 3}, random);
    drawStraightRoad(layer, 3, random);
    return layer;
}

TerrainLayer sampleUnderground(std::uint32_t side, std::uint64_t seed)
{
    Random random(seed);
    std::vector<float> height;
    TerrainLayer layer = paintLayer(side, undergroundType, height, random);
    drawRivers(layer, height, std::max<std::uint32_t>(1, side / 24), {4, 4, 4, 3}, random);
    drawRoads(layer, std::max<std::uint32_t>(1, side / 30), {1, 1, 1, 2}, random);
    return layer;
}

MapWriter sampleMap(const QByteArray &name, std::uint32_t side, bool twoLevels, std::uint64_t seed,
                    const TerrainEdgeRules *edges)
{
    Random random(seed);
    MapWriter writer;
    writer.version = 28;
    writer.byte4 = 1;
    writer.side = side;
    writer.levelsByte = twoLevels ? 1 : 0;
    writer.firstField = name;
    writer.secondField = QByteArray("A sample map of ") + QByteArray::number(side) + "x" + QByteArray::number(side)
        + (twoLevels ? " with an underground" : "") + ": lakes, hills, rivers and roads.";

    // Stand-ins for what a real map keeps in front of the terrain: difficulty,
    // eight player blocks, a bit set of allowed heroes, and a few rules.
    ByteWriter header;
    header.u8(std::uint8_t(random.below(5))).u8(0);
    for (int player = 0; player < 8; ++player) {
        header.u8(player < 4 ? 1 : 0).u8(player < 2 ? 1 : 0).u8(std::uint8_t(random.below(4)));
        header.u16(std::uint16_t(random.below(0x200))).u8(0).u32(0xFFFFFFFFu).zeros(6);
    }
    header.zeros(16).u8(0xFF).u8(0xFF).u8(0x7F).zeros(5);
    const QByteArray rules = "Hold every town for a week.";
    header.u32(std::uint32_t(rules.size())).bytes(rules).zeros(31);
    writer.opaqueHeader = header.data();

    writer.layers.push_back(sampleSurface(side, seed));
    if (twoLevels)
        writer.layers.push_back(sampleUnderground(side, seed ^ 0x5555AAAA5555AAAAull));
    if (edges)
        for (TerrainLayer &layer : writer.layers) {
            applyTerrainEdgesToLayer(layer, *edges);
            for (const PathLayer path : PathLayers)
                applyPathPiecesToLayer(layer, edges->paths(), path);
        }

    // Stand-ins for the objects behind the terrain: small records of mixed bytes.
    ByteWriter tail;
    const std::uint32_t records = 40 + side / 2;
    for (std::uint32_t record = 0; record < records; ++record)
        tail.u32(std::uint32_t(random.next())).u16(std::uint16_t(random.below(side))).u16(std::uint16_t(random.below(side))).u8(0).zeros(7);
    writer.trailingBytes = MapWriter::trailingWithMarker(tail.data());
    return writer;
}
