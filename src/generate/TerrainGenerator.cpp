// The symmetric terrain generator.
//
// The level is made in stages on small per-cell buffers: a height field (land
// high, water low) made symmetric by averaging every cell with its images, cut
// at the height that gives the water share asked for and smoothed; the land
// terrains cut the same way from further noise fields; then roads and rivers
// walked from the start zones and sources and copied to their images; then
// the cells no rule can draw changed to what surrounds them; and last the
// cells written and pictured by the rules.
//
// Symmetry holds because every stage is either a function of a symmetric
// field, a rule that looks at the eight neighbours alike (so an image of the
// level gives the image of the result), or a walk whose cells are copied to
// all their images. Nothing uses floating point, a platform's random numbers
// or thread timing: rows are shared among threads, each row a pure function
// of the stage's input.
#include "generate/TerrainGenerator.h"

#include "edit/PathPieces.h"
#include "edit/TerrainEdges.h"
#include "generate/IntegerNoise.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdlib>
#include <thread>

namespace {

// Bits of a cell's byte in the type buffer: the terrain type, and a mark for
// cells the land must keep (start zones, the centre, roads and rivers).
constexpr std::uint8_t TypeBits = 0x0F;
constexpr std::uint8_t Kept = 0x80;
constexpr std::uint8_t Water = 8;
constexpr std::uint8_t Rock = 9;
constexpr std::uint8_t Rough = 5;

// Bits of a cell's byte in the path buffer.
constexpr std::uint8_t RoadBits = 0x03;
constexpr int RiverShift = 2;
constexpr std::uint8_t RiverBits = 0x07 << RiverShift;

// The images of a cell under a mode, the cell itself first.
struct Images {
    std::array<std::uint32_t, 4> column;
    std::array<std::uint32_t, 4> row;
    int count = 1;
};

inline Images imagesOf(SymmetryMode mode, std::uint32_t side, std::uint32_t column, std::uint32_t row)
{
    const std::uint32_t last = side - 1;
    Images images;
    images.column[0] = column;
    images.row[0] = row;
    const auto add = [&](std::uint32_t c, std::uint32_t r) {
        images.column[images.count] = c;
        images.row[images.count] = r;
        ++images.count;
    };
    switch (mode) {
    case SymmetryMode::Off:
        break;
    case SymmetryMode::LeftRight:
        add(last - column, row);
        break;
    case SymmetryMode::TopBottom:
        add(column, last - row);
        break;
    case SymmetryMode::FourWay:
        add(last - column, row);
        add(column, last - row);
        add(last - column, last - row);
        break;
    case SymmetryMode::HalfTurn:
        add(last - column, last - row);
        break;
    case SymmetryMode::QuarterTurn:
        add(last - row, column);
        add(last - column, last - row);
        add(row, last - column);
        break;
    case SymmetryMode::Diagonal:
        add(row, column);
        break;
    }
    return images;
}

// Runs work(firstRow, endRow) over all rows, shared among the cores. Each
// row's result may depend only on the stage's input, never on another row of
// its output.
// The threads a stage shares its rows among (asking the system costs a file
// read, so it is asked once).
unsigned coreCount()
{
    static const unsigned cores = std::clamp(std::thread::hardware_concurrency(), 1u, 8u);
    return cores;
}

template <typename Work>
void forRows(std::uint32_t rows, Work &&work)
{
    const unsigned cores = coreCount();
    const unsigned parts = rows < 128 ? 1 : cores;
    std::vector<std::thread> threads;
    for (unsigned part = 1; part < parts; ++part)
        threads.emplace_back([&, part] { work(rows * part / parts, rows * (part + 1) / parts); });
    work(0, rows / parts);
    for (std::thread &thread : threads)
        thread.join();
}

// A count of noise values over chosen cells, by HistogramShift bits fewer
// than the values have (fine enough for shares of a level: a bin holds well
// under a thousandth of the values of any level), summed from the rows of
// every core (sums do not depend on the order).
constexpr int HistogramShift = 4;
constexpr std::size_t HistogramBins = 65536 >> HistogramShift;
using Histogram = std::vector<std::uint64_t>;

inline std::uint32_t binOf(std::uint16_t value)
{
    return value >> HistogramShift;
}

template <typename Counts>
Histogram histogramOf(std::uint32_t side, const std::vector<std::uint16_t> &field, Counts &&counts)
{
    const unsigned cores = coreCount();
    std::vector<Histogram> parts(cores, Histogram(HistogramBins, 0));
    std::atomic<unsigned> next{0};
    forRows(side, [&](std::uint32_t first, std::uint32_t end) {
        Histogram &mine = parts[next++ % cores];
        for (std::uint32_t row = first; row < end; ++row)
            for (std::uint32_t column = 0; column < side; ++column) {
                const std::size_t at = std::size_t(row) * side + column;
                if (counts(at))
                    ++mine[binOf(field[at])];
            }
    });
    Histogram sum(HistogramBins, 0);
    for (const Histogram &part : parts)
        for (std::size_t bin = 0; bin < sum.size(); ++bin)
            sum[bin] += part[bin];
    return sum;
}

// The bin b for which the count of values in bins below b is nearest to target.
std::uint32_t cutFor(const Histogram &histogram, std::uint64_t target)
{
    std::uint64_t below = 0;
    for (std::uint32_t bin = 0; bin < histogram.size(); ++bin) {
        const std::uint64_t next = below + histogram[bin];
        if (next > target)
            return target - below <= next - target ? bin : bin + 1;
        below = next;
    }
    return std::uint32_t(histogram.size());
}

class Generator {
public:
    Generator(const GenerateOptions &options, std::uint32_t side, const TerrainEdgeRules *rules,
              const GenerateControl &control)
        : m_options(options)
        , m_side(side)
        , m_cells(std::size_t(side) * side)
        , m_rules(rules)
        , m_control(control)
        , m_plan(generatePlan(options, side))
        , m_mix(terrainMixes()[std::size_t(options.mix)])
    {
    }

    GenerateResult run(TerrainLayer &layer);

private:
    static constexpr int Steps = 8;

    bool step(int done)
    {
        if (m_control.progress)
            m_control.progress(done, Steps);
        return m_control.cancelled && m_control.cancelled();
    }

    std::size_t index(std::uint32_t column, std::uint32_t row) const { return std::size_t(row) * m_side + column; }
    // Calls visit with the terrain type of each of the cell's eight
    // neighbours inside the map.
    template <typename Visit>
    void forEachNeighbour(std::uint32_t column, std::uint32_t row, Visit &&visit) const
    {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const std::int64_t c = std::int64_t(column) + dx;
                const std::int64_t r = std::int64_t(row) + dy;
                if ((dx != 0 || dy != 0) && c >= 0 && r >= 0 && c < m_side && r < m_side)
                    visit(type(index(std::uint32_t(c), std::uint32_t(r))));
            }
    }
    std::uint8_t type(std::size_t at) const { return m_types[at] & TypeBits; }
    bool kept(std::size_t at) const { return (m_types[at] & Kept) != 0; }
    void setType(std::size_t at, std::uint8_t type) { m_types[at] = std::uint8_t((m_types[at] & Kept) | type); }

    // The land type that takes most of a mix: roads and rivers lay it over water and rock.
    std::uint8_t mainLandType() const
    {
        return std::uint8_t(std::max_element(m_mix.weights.begin(), m_mix.weights.end()) - m_mix.weights.begin());
    }

    void makeHeights();
    void fieldFromNoise(std::uint32_t salt, std::uint32_t period, int octaves);
    void makeSymmetric();
    void cutWater();
    void smoothWater();
    void moveCoast(std::int64_t missed);
    void cutLand();
    void cutShare(std::uint32_t salt, std::uint32_t period, int percent, std::uint8_t newType, bool fromBelow);
    void smoothLand();
    std::vector<std::size_t> planRoads();
    void layRivers();
    void walkRoad(CellPosition from, CellPosition to, std::vector<std::size_t> &cells);
    void walkRiver(CellPosition source, RandomStream &random, std::vector<std::size_t> &cells);
    void markImages(const std::vector<std::size_t> &cells, std::uint8_t pathBits, std::uint8_t pathMask);
    bool fitTerrain();
    bool fitPaths();
    std::size_t waterCount() const;
    void write(TerrainLayer &layer) const;

    // The terrain type that most of the cell's neighbours have (the lowest of
    // equal counts), water and rock not counted when the cell must stay dry.
    std::uint8_t surroundingType(std::uint32_t column, std::uint32_t row, bool dry) const;

    GenerateOptions m_options;
    std::uint32_t m_side;
    std::size_t m_cells;
    const TerrainEdgeRules *m_rules;
    const GenerateControl &m_control;
    GeneratePlan m_plan;
    const TerrainMix &m_mix;
    std::vector<std::uint16_t> m_field;  // the stage's noise field, 0..65535
    std::vector<std::uint8_t> m_types;   // terrain type and Kept
    std::vector<std::uint8_t> m_paths;   // road type and river type
};

GenerateResult Generator::run(TerrainLayer &layer)
{
    GenerateResult result;
    const auto cancel = [&] {
        result.cancelled = true;
        return result;
    };
    m_field.resize(m_cells);
    m_types.assign(m_cells, 0);
    if (step(0))
        return cancel();
    makeHeights();
    if (step(1))
        return cancel();
    // Roads are planned on a first cut of the water and kept dry, and the
    // water cut again around them: the land they need over water is taken
    // from elsewhere, so the share stays as asked.
    cutWater();
    const std::vector<std::size_t> roads = planRoads();
    cutWater();
    if (step(2))
        return cancel();
    cutLand();
    m_field = {};
    if (step(3))
        return cancel();
    smoothLand();
    m_paths.assign(m_cells, 0);
    markImages(roads, m_options.roads == RoadPlan::Centre ? 3 : 2, RoadBits);
    if (step(4))
        return cancel();
    layRivers();
    if (step(5))
        return cancel();
    if (!fitTerrain() || !fitPaths()) {
        result.refusal = GenerateRefusal{GenerateRefusal::Option::Mix, GenerateRefusal::Cause::NoFittingPicture};
        return result;
    }
    if (step(6))
        return cancel();
    result.waterCells = waterCount();
    const std::int64_t share = std::int64_t(result.waterCells) * 100;
    const std::int64_t asked = std::int64_t(m_options.waterPercent) * std::int64_t(m_cells);
    if (std::abs(share - asked) > std::int64_t(WaterTolerance) * std::int64_t(m_cells)) {
        result.refusal = GenerateRefusal{GenerateRefusal::Option::Water, GenerateRefusal::Cause::WaterMissed};
        return result;
    }
    if (step(7))
        return cancel();
    write(layer);
    step(Steps);
    return result;
}

void Generator::fieldFromNoise(std::uint32_t salt, std::uint32_t period, int octaves)
{
    const ValueNoise noise(salt, std::max<std::uint32_t>(4, period), octaves);
    forRows(m_side, [&](std::uint32_t first, std::uint32_t end) {
        for (std::uint32_t row = first; row < end; ++row)
            for (std::uint32_t column = 0; column < m_side; ++column)
                m_field[index(column, row)] = std::uint16_t(noise.at(column, row));
    });
}

// Every cell takes the mean of its images. Each image set is worked out once,
// by the row of its first cell in reading order; two sets never share a cell,
// so the rows' work never touches the same cell twice.
void Generator::makeSymmetric()
{
    if (m_options.symmetry == SymmetryMode::Off)
        return;
    forRows(m_side, [&](std::uint32_t first, std::uint32_t end) {
        for (std::uint32_t row = first; row < end; ++row)
            for (std::uint32_t column = 0; column < m_side; ++column) {
                const Images images = imagesOf(m_options.symmetry, m_side, column, row);
                const std::size_t self = index(column, row);
                std::uint32_t sum = 0;
                bool firstOfSet = true;
                for (int i = 0; i < images.count; ++i) {
                    const std::size_t at = index(images.column[i], images.row[i]);
                    firstOfSet &= at >= self;
                    sum += m_field[at];
                }
                if (!firstOfSet)
                    continue;
                // Cells that are their own image count once each time.
                const std::uint16_t mean = std::uint16_t(sum / std::uint32_t(images.count));
                for (int i = 0; i < images.count; ++i)
                    m_field[index(images.column[i], images.row[i])] = mean;
            }
    });
}

void Generator::makeHeights()
{
    const std::uint32_t side = m_side;
    const std::uint32_t salt = m_options.seed * 0x9E3779B9u + 0x1234567u;
    std::uint32_t period = side / 3;
    if (m_options.style == LandStyle::Islands)
        period = side / 6;
    else if (m_options.style == LandStyle::Lakes)
        period = side / 5;
    fieldFromNoise(salt, period, 3);

    // The style's shape, blended with the noise: 0..65535 by cell.
    RandomStream random(std::uint64_t(m_options.seed) << 8 | 1);
    const std::uint32_t coastEdge = random.below(4);
    const std::int64_t last = side - 1;
    const std::int64_t farthest = std::max<std::int64_t>(1, 2 * last * last);  // squared, in half cells, from middle to corner
    const std::int64_t rim = std::max<std::int64_t>(1, side / 6);
    const std::int64_t islandRadius = std::max<std::int64_t>(2, side / (m_plan.zones.size() >= 4 ? 6 : 4));
    const std::int64_t zoneRadius = m_plan.zoneRadius;
    const bool centreKept = m_options.roads == RoadPlan::Centre;
    const auto distance2 = [](std::int64_t c0, std::int64_t r0, std::int64_t c1, std::int64_t r1) {
        return (c0 - c1) * (c0 - c1) + (r0 - r1) * (r0 - r1);
    };
    forRows(side, [&](std::uint32_t first, std::uint32_t end) {
        for (std::uint32_t row = first; row < end; ++row)
            for (std::uint32_t column = 0; column < side; ++column) {
                const std::int64_t noise = m_field[index(column, row)];
                const std::int64_t fromEdge = std::min({std::int64_t(column), std::int64_t(row), last - column, last - row});
                const std::int64_t edge = std::min<std::int64_t>(65535, fromEdge * 65535 / rim);
                std::int64_t height = noise;
                switch (m_options.style) {
                case LandStyle::Continent: {
                    const std::int64_t x = 2 * std::int64_t(column) - last;
                    const std::int64_t y = 2 * std::int64_t(row) - last;
                    const std::int64_t middle = 65535 - std::min<std::int64_t>(65535, (x * x + y * y) * 65535 / farthest);
                    height = (noise + 2 * middle) / 3;
                    break;
                }
                case LandStyle::Islands: {
                    std::int64_t bump = 0;
                    for (const CellPosition &zone : m_plan.zones) {
                        const std::int64_t d2 = distance2(column, row, zone.column, zone.row);
                        bump = std::max(bump, 65535 - std::min<std::int64_t>(65535, d2 * 65535 / (islandRadius * islandRadius)));
                    }
                    height = (noise + edge + 3 * bump) / 5;
                    break;
                }
                case LandStyle::Lakes:
                    // Land along the edges, the lakes inside.
                    height = (2 * noise + 65535 - edge) / 3;
                    break;
                case LandStyle::Coast: {
                    // The distance from the coast's edge or the nearest of its
                    // images: the mean of the images' distances would be flat.
                    const Images images = imagesOf(m_options.symmetry, side, column, row);
                    std::int64_t nearest = last;
                    for (int i = 0; i < images.count; ++i) {
                        const std::int64_t c = images.column[i];
                        const std::int64_t r = images.row[i];
                        const std::int64_t along[4] = {r, last - c, last - r, c};
                        nearest = std::min(nearest, along[coastEdge]);
                    }
                    const std::int64_t inland = nearest * 65535 / std::max<std::int64_t>(1, last);
                    height = (noise + 2 * inland) / 3;
                    break;
                }
                }
                // The start zones and the centre a road leads to are land, and
                // so are their images (the centre of an even side is a cell
                // beside the middle point).
                const Images images = imagesOf(m_options.symmetry, side, column, row);
                bool zone = false;
                for (int i = 0; i < images.count; ++i) {
                    const std::int64_t c = images.column[i];
                    const std::int64_t r = images.row[i];
                    zone |= centreKept && distance2(c, r, m_plan.centre.column, m_plan.centre.row) <= zoneRadius * zoneRadius;
                    for (const CellPosition &each : m_plan.zones)
                        zone |= distance2(c, r, each.column, each.row) <= zoneRadius * zoneRadius;
                }
                if (zone)
                    m_types[index(column, row)] = Kept;
                m_field[index(column, row)] = std::uint16_t(std::clamp<std::int64_t>(height, 0, 65535));
            }
    });
    makeSymmetric();
}

// Water where the height is lowest, as much as asked; smoothing the coast then
// moves the share a little, so the cut is corrected a few times, and the best
// of the tries is kept.
void Generator::cutWater()
{
    const Histogram heights = histogramOf(m_side, m_field, [&](std::size_t at) { return !kept(at); });
    const std::int64_t asked = std::int64_t(m_options.waterPercent) * std::int64_t(m_cells) / 100;
    const auto cutAt = [&](std::int64_t target) {
        const std::uint32_t cut = cutFor(heights, std::uint64_t(std::max<std::int64_t>(0, target)));
        forRows(m_side, [&](std::uint32_t first, std::uint32_t end) {
            for (std::size_t at = std::size_t(first) * m_side; at < std::size_t(end) * m_side; ++at)
                m_types[at] = std::uint8_t((m_types[at] & Kept) | (!kept(at) && binOf(m_field[at]) < cut ? Water : 0));
        });
        smoothWater();
        return asked - std::int64_t(waterCount());
    };
    std::int64_t target = asked;
    std::int64_t bestTarget = asked;
    std::int64_t bestMissed = -1;
    std::int64_t missed = 0;
    for (int attempt = 0; attempt < 8; ++attempt) {
        missed = cutAt(target);
        if (bestMissed < 0 || std::abs(missed) < bestMissed) {
            bestMissed = std::abs(missed);
            bestTarget = target;
        }
        if (std::abs(missed) * 200 <= std::int64_t(m_cells))
            return;
        target += missed;
    }
    if (std::abs(missed) != bestMissed)
        missed = cutAt(bestTarget);
    moveCoast(missed);
}

// Moves the coast by whole image sets of cells until the water share is as
// asked: the lowest land cells beside water are flooded, or the highest water
// cells beside land dried, a ring of the coast at a time.
void Generator::moveCoast(std::int64_t missed)
{
    while (std::abs(missed) * 200 > std::int64_t(m_cells)) {
        const bool flood = missed > 0;
        std::vector<std::pair<std::uint16_t, std::size_t>> coast;  // height and cell, the first of each image set
        for (std::uint32_t row = 0; row < m_side; ++row)
            for (std::uint32_t column = 0; column < m_side; ++column) {
                const std::size_t at = index(column, row);
                if (kept(at) || (type(at) == Water) == flood)
                    continue;
                bool beside = false;
                if (row > 0)
                    beside |= (type(at - m_side) == Water) == flood;
                if (row + 1 < m_side)
                    beside |= (type(at + m_side) == Water) == flood;
                if (column > 0)
                    beside |= (type(at - 1) == Water) == flood;
                if (column + 1 < m_side)
                    beside |= (type(at + 1) == Water) == flood;
                const Images images = imagesOf(m_options.symmetry, m_side, column, row);
                bool first = true;
                for (int i = 1; i < images.count; ++i)
                    first &= index(images.column[i], images.row[i]) >= at;
                if (beside && first)
                    coast.emplace_back(m_field[at], at);
            }
        if (coast.empty())
            return;
        if (flood)
            std::sort(coast.begin(), coast.end());
        else
            std::sort(coast.begin(), coast.end(), [](const auto &a, const auto &b) {
                return a.first != b.first ? a.first > b.first : a.second < b.second;
            });
        for (const auto &[height, at] : coast) {
            if (std::abs(missed) * 200 <= std::int64_t(m_cells))
                return;
            const Images images = imagesOf(m_options.symmetry, m_side, std::uint32_t(at % m_side), std::uint32_t(at / m_side));
            std::int64_t moved = 0;
            for (int i = 0; i < images.count; ++i) {
                const std::size_t image = index(images.column[i], images.row[i]);
                if ((type(image) == Water) != flood) {
                    m_types[image] = flood ? Water : 0;
                    ++moved;
                }
            }
            // Stop before a set that would overshoot by more than it helps.
            if (std::abs(missed - (flood ? moved : -moved)) > std::abs(missed)) {
                for (int i = 0; i < images.count; ++i)
                    m_types[index(images.column[i], images.row[i])] = flood ? 0 : Water;
                return;
            }
            missed -= flood ? moved : -moved;
        }
    }
}

// Two rounds of: a cell with at least five water neighbours becomes water,
// one with at least five land neighbours land. Lone cells and narrow spits go.
void Generator::smoothWater()
{
    std::vector<std::uint8_t> next(m_cells);
    for (int round = 0; round < 2; ++round) {
        forRows(m_side, [&](std::uint32_t first, std::uint32_t end) {
            for (std::uint32_t row = first; row < end; ++row)
                for (std::uint32_t column = 0; column < m_side; ++column) {
                    const std::size_t at = index(column, row);
                    int water = 0;
                    int land = 0;
                    forEachNeighbour(column, row, [&](std::uint8_t neighbour) { (neighbour == Water ? water : land) += 1; });
                    std::uint8_t value = m_types[at];
                    if (!kept(at) && water >= 5)
                        value = Water;
                    else if (land >= 5)
                        value = std::uint8_t(value & Kept);
                    next[at] = value;
                }
        });
        m_types.swap(next);
    }
}

// Takes the percent of the land cells whose noise is lowest (or highest) and
// gives them the new type; the start zones and water are left alone.
void Generator::cutShare(std::uint32_t salt, std::uint32_t period, int percent, std::uint8_t newType, bool fromBelow)
{
    fieldFromNoise(salt, period, 2);
    makeSymmetric();
    const auto eligible = [&](std::size_t at) { return !kept(at) && type(at) != Water; };
    const Histogram values = histogramOf(m_side, m_field, eligible);
    std::uint64_t land = 0;
    for (const std::uint64_t count : values)
        land += count;
    const std::uint64_t wanted = land * std::uint64_t(percent) / 100;
    const std::uint32_t cut = cutFor(values, fromBelow ? wanted : land - wanted);
    forRows(m_side, [&](std::uint32_t first, std::uint32_t end) {
        for (std::size_t at = std::size_t(first) * m_side; at < std::size_t(end) * m_side; ++at)
            if (eligible(at) && (fromBelow ? binOf(m_field[at]) < cut : binOf(m_field[at]) >= cut))
                setType(at, newType);
    });
}

// The mix's terrains by quantiles of one noise field, then rough (or, below
// ground, the rock around the caverns) from others.
void Generator::cutLand()
{
    const std::uint32_t seed = m_options.seed;
    fieldFromNoise(seed * 0x85EBCA77u + 0x51u, m_side / 4, 2);
    makeSymmetric();
    const auto isLand = [&](std::size_t at) { return type(at) != Water; };
    const Histogram values = histogramOf(m_side, m_field, isLand);
    std::uint64_t land = 0;
    for (const std::uint64_t count : values)
        land += count;
    std::uint32_t weightSum = 0;
    for (const std::uint8_t weight : m_mix.weights)
        weightSum += weight;
    // bandEnd[t]: the first bin above type t's band.
    std::array<std::uint32_t, TerrainTypeCount + 1> bandEnd{};
    std::uint32_t running = 0;
    for (int t = 0; t < TerrainTypeCount; ++t) {
        running += m_mix.weights[std::size_t(t)];
        bandEnd[std::size_t(t)] = m_mix.weights[std::size_t(t)] == 0
            ? 0
            : cutFor(values, land * running / weightSum);
    }
    forRows(m_side, [&](std::uint32_t first, std::uint32_t end) {
        for (std::size_t at = std::size_t(first) * m_side; at < std::size_t(end) * m_side; ++at) {
            if (!isLand(at))
                continue;
            std::uint8_t chosen = mainLandType();
            for (int t = 0; t < TerrainTypeCount; ++t)
                if (m_mix.weights[std::size_t(t)] != 0 && binOf(m_field[at]) < bandEnd[std::size_t(t)]) {
                    chosen = std::uint8_t(t);
                    break;
                }
            setType(at, chosen);
        }
    });
    if (m_options.level == 1)
        cutShare(seed * 0xC2B2AE35u + 0x77u, m_side / 6, 40, Rock, true);
    if (m_options.roughPercent > 0)
        cutShare(seed * 0x27D4EB2Fu + 0x99u, m_side / 8, m_options.roughPercent, m_options.level == 1 ? Rock : Rough,
                 false);
}

std::uint8_t Generator::surroundingType(std::uint32_t column, std::uint32_t row, bool dry) const
{
    std::array<int, 16> counts{};
    forEachNeighbour(column, row, [&](std::uint8_t neighbour) { ++counts[neighbour]; });
    if (dry) {
        counts[Water] = 0;
        counts[Rock] = 0;
    }
    const int most = int(std::max_element(counts.begin(), counts.end()) - counts.begin());
    return counts[std::size_t(most)] == 0 ? mainLandType() : std::uint8_t(most);
}

// One round: a land cell that differs from at least five of its land
// neighbours, which agree, takes their type.
void Generator::smoothLand()
{
    std::vector<std::uint8_t> next(m_types);
    forRows(m_side, [&](std::uint32_t first, std::uint32_t end) {
        for (std::uint32_t row = first; row < end; ++row)
            for (std::uint32_t column = 0; column < m_side; ++column) {
                const std::size_t at = index(column, row);
                if (type(at) == Water)
                    continue;
                std::array<int, 16> counts{};
                forEachNeighbour(column, row, [&](std::uint8_t neighbour) { ++counts[neighbour]; });
                counts[Water] = 0;
                if (kept(at))
                    counts[Rock] = 0;
                const std::size_t most = std::size_t(std::max_element(counts.begin(), counts.end()) - counts.begin());
                if (counts[most] >= 5 && most != type(at))
                    next[at] = std::uint8_t((m_types[at] & Kept) | most);
            }
    });
    m_types.swap(next);
}

// A road from one cell to another, one side step at a time: straight runs of
// a few cells, turning where the hash says, and keeping to land where one of
// the two ways forward is land and the other is not.
void Generator::walkRoad(CellPosition from, CellPosition to, std::vector<std::size_t> &cells)
{
    std::uint32_t column = from.column;
    std::uint32_t row = from.row;
    bool alongRows = true;  // the last step went left or right
    const auto dry = [&](std::uint32_t c, std::uint32_t r) {
        const std::uint8_t t = type(index(c, r));
        return t != Water && t != Rock;
    };
    cells.push_back(index(column, row));
    while (column != to.column || row != to.row) {
        const int dx = to.column > column ? 1 : to.column < column ? -1 : 0;
        const int dy = to.row > row ? 1 : to.row < row ? -1 : 0;
        bool horizontal;
        if (dx == 0 || dy == 0) {
            horizontal = dx != 0;
        } else {
            const bool dryX = dry(column + dx, row);
            const bool dryY = dry(column, row + dy);
            if (dryX != dryY)
                horizontal = dryX;
            else
                horizontal = (latticeHash(column, row, m_options.seed) & 3) == 0 ? !alongRows : alongRows;
        }
        if (horizontal)
            column = std::uint32_t(std::int64_t(column) + dx);
        else
            row = std::uint32_t(std::int64_t(row) + dy);
        alongRows = horizontal;
        cells.push_back(index(column, row));
    }
}

// Gives the cells and all their images the path bits, and land under them.
void Generator::markImages(const std::vector<std::size_t> &cells, std::uint8_t pathBits, std::uint8_t pathMask)
{
    const std::uint8_t landType = mainLandType();
    for (const std::size_t at : cells) {
        const Images images = imagesOf(m_options.symmetry, m_side, std::uint32_t(at % m_side), std::uint32_t(at / m_side));
        for (int i = 0; i < images.count; ++i) {
            const std::size_t image = index(images.column[i], images.row[i]);
            m_paths[image] = std::uint8_t((m_paths[image] & ~pathMask) | pathBits);
            const std::uint8_t t = type(image);
            m_types[image] = std::uint8_t(Kept | (t == Water || t == Rock ? landType : t));
        }
    }
}

// The cells of the roads and all their images, kept dry from here on.
std::vector<std::size_t> Generator::planRoads()
{
    std::vector<std::size_t> cells;
    if (m_options.roads == RoadPlan::None)
        return cells;
    const CellPosition home = m_plan.zones.front();
    if (m_options.roads == RoadPlan::Centre) {
        walkRoad(home, m_plan.centre, cells);
        // The middle of an even side lies between cells: the centre's images
        // are joined to it, so the roads of every side meet.
        const Images images = imagesOf(m_options.symmetry, m_side, m_plan.centre.column, m_plan.centre.row);
        for (int i = 1; i < images.count; ++i)
            walkRoad(m_plan.centre, {std::uint16_t(images.column[i]), std::uint16_t(images.row[i])}, cells);
    } else {
        // From the first zone to the next one not yet joined: each road's
        // images join the images of its two zones, so a road to the zone of a
        // quarter turn joins all four, and two roads join the four of four-way
        // symmetry.
        const std::size_t zones = m_plan.zones.size();
        const auto zoneAt = [&](std::uint32_t column, std::uint32_t row) {
            for (std::size_t zone = 0; zone < zones; ++zone)
                if (m_plan.zones[zone].column == column && m_plan.zones[zone].row == row)
                    return zone;
            return std::size_t(0);
        };
        std::vector<std::size_t> group(zones);
        for (std::size_t zone = 0; zone < zones; ++zone)
            group[zone] = zone;
        const auto groupOf = [&](std::size_t zone) {
            while (group[zone] != zone)
                zone = group[zone];
            return zone;
        };
        for (std::size_t zone = 1; zone < zones; ++zone) {
            if (groupOf(zone) == groupOf(0))
                continue;
            walkRoad(home, m_plan.zones[zone], cells);
            const Images from = imagesOf(m_options.symmetry, m_side, home.column, home.row);
            const Images to = imagesOf(m_options.symmetry, m_side, m_plan.zones[zone].column, m_plan.zones[zone].row);
            for (int i = 0; i < from.count; ++i)
                group[groupOf(zoneAt(from.column[i], from.row[i]))] = groupOf(zoneAt(to.column[i], to.row[i]));
        }
    }
    std::vector<std::size_t> all;
    for (const std::size_t at : cells) {
        const Images images = imagesOf(m_options.symmetry, m_side, std::uint32_t(at % m_side), std::uint32_t(at / m_side));
        for (int i = 0; i < images.count; ++i) {
            const std::size_t image = index(images.column[i], images.row[i]);
            m_types[image] = Kept;
            all.push_back(image);
        }
    }
    std::sort(all.begin(), all.end());
    all.erase(std::unique(all.begin(), all.end()), all.end());
    return all;
}

// A river from its source towards the nearest edge of the map, with a side
// step now and then (never two in a row), until it reaches the edge or
// touches water or another river.
void Generator::walkRiver(CellPosition source, RandomStream &random, std::vector<std::size_t> &cells)
{
    const std::int64_t last = m_side - 1;
    const std::int64_t toEdge[4] = {source.row, last - source.column, last - source.row, source.column};
    const int edge = int(std::min_element(std::begin(toEdge), std::end(toEdge)) - std::begin(toEdge));
    const int forwardX[4] = {0, 1, 0, -1};
    const int forwardY[4] = {-1, 0, 1, 0};
    std::int64_t column = source.column;
    std::int64_t row = source.row;
    bool sideStep = false;
    const auto inside = [&](std::int64_t c, std::int64_t r) { return c >= 0 && r >= 0 && c <= last && r <= last; };
    const auto ends = [&](std::int64_t c, std::int64_t r) {
        if (c == 0 || r == 0 || c == last || r == last)
            return true;
        const std::size_t sides[4] = {index(std::uint32_t(c), std::uint32_t(r - 1)), index(std::uint32_t(c + 1), std::uint32_t(r)),
                                      index(std::uint32_t(c), std::uint32_t(r + 1)), index(std::uint32_t(c - 1), std::uint32_t(r))};
        for (const std::size_t at : sides)
            if (type(at) == Water || (m_paths[at] & RiverBits) != 0)
                return true;
        return false;
    };
    for (;;) {
        cells.push_back(index(std::uint32_t(column), std::uint32_t(row)));
        if (ends(column, row))
            return;
        int direction = edge;
        if (!sideStep && random.below(3) == 0)
            direction = (edge + (random.below(2) == 0 ? 1 : 3)) % 4;
        std::int64_t c = column + forwardX[direction];
        std::int64_t r = row + forwardY[direction];
        // A side step into water or off the map goes forward instead.
        if (direction != edge && (!inside(c, r) || type(index(std::uint32_t(c), std::uint32_t(r))) == Water)) {
            direction = edge;
            c = column + forwardX[edge];
            r = row + forwardY[edge];
        }
        sideStep = direction != edge;
        column = c;
        row = r;
    }
}

void Generator::layRivers()
{
    if (m_options.rivers == 0)
        return;
    RandomStream random(std::uint64_t(m_options.seed) << 8 | 2);
    const std::uint8_t riverType = m_mix.riverType;
    for (int river = 0; river < m_options.rivers; ++river) {
        // The best of a few candidates: dry, free, and far from the edges.
        std::int64_t best = -1;
        CellPosition source;
        for (int candidate = 0; candidate < 24; ++candidate) {
            const std::uint32_t column = random.below(m_side);
            const std::uint32_t row = random.below(m_side);
            const std::size_t at = index(column, row);
            if (kept(at) || type(at) == Water || type(at) == Rock || m_paths[at] != 0)
                continue;
            const std::int64_t last = m_side - 1;
            const std::int64_t fromEdge = std::min({std::int64_t(column), std::int64_t(row), last - column, last - row});
            if (fromEdge > best) {
                best = fromEdge;
                source = {std::uint16_t(column), std::uint16_t(row)};
            }
        }
        if (best < 0)
            continue;
        std::vector<std::size_t> cells;
        walkRiver(source, random, cells);
        markImages(cells, std::uint8_t(riverType << RiverShift), RiverBits);
    }
}

// Cells of a type with rules that no rule fits, and every image of them, take
// the type most of their neighbours have, all at once; a few rounds, as a
// change may leave a neighbour unfit. False when some remain.
bool Generator::fitTerrain()
{
    if (!m_rules)
        return true;
    std::vector<std::uint8_t> unfit(m_cells);
    for (int round = 0; round < 8; ++round) {
        std::atomic<bool> any{false};
        forRows(m_side, [&](std::uint32_t first, std::uint32_t end) {
            for (std::uint32_t row = first; row < end; ++row)
                for (std::uint32_t column = 0; column < m_side; ++column) {
                    const std::uint8_t t = type(index(column, row));
                    bool bad = false;
                    if (m_rules->hasRules(t)) {
                        static constexpr int Offsets[8][2] = {{-1, -1}, {0, -1}, {1, -1}, {-1, 0},
                                                              {1, 0},   {-1, 1}, {0, 1},  {1, 1}};
                        std::uint8_t mask = 0;
                        for (int n = 0; n < 8; ++n) {
                            const std::int64_t c = std::int64_t(column) + Offsets[n][0];
                            const std::int64_t r = std::int64_t(row) + Offsets[n][1];
                            const bool outside = c < 0 || r < 0 || c >= m_side || r >= m_side;
                            if (outside || m_rules->countsAsSame(t, type(index(std::uint32_t(c), std::uint32_t(r)))))
                                mask |= std::uint8_t(1u << n);
                        }
                        bad = m_rules->ruleFor(t, mask) == nullptr;
                    }
                    unfit[index(column, row)] = bad;
                    if (bad)
                        any = true;
                }
        });
        if (!any)
            return true;
        std::vector<std::pair<std::size_t, std::uint8_t>> changes;
        for (std::uint32_t row = 0; row < m_side; ++row)
            for (std::uint32_t column = 0; column < m_side; ++column) {
                const Images images = imagesOf(m_options.symmetry, m_side, column, row);
                bool bad = false;
                for (int i = 0; i < images.count; ++i)
                    bad |= unfit[index(images.column[i], images.row[i])] != 0;
                const std::size_t at = index(column, row);
                if (bad)
                    changes.emplace_back(at, surroundingType(column, row, kept(at) || m_paths[at] != 0));
            }
        for (const auto &[at, newType] : changes)
            setType(at, newType);
    }
    return false;
}

// River and road cells that no rule of their type fits lose that path, with
// their images; a few rounds. False when some remain.
bool Generator::fitPaths()
{
    if (!m_rules)
        return true;
    const PathRules &rules = m_rules->paths();
    for (int round = 0; round < 8; ++round) {
        std::vector<std::pair<std::size_t, std::uint8_t>> unfit;
        for (const PathLayer path : PathLayers) {
            const std::uint8_t mask = path == PathLayer::River ? RiverBits : RoadBits;
            const int shift = path == PathLayer::River ? RiverShift : 0;
            const auto typeAt = [&](std::int64_t c, std::int64_t r) -> std::uint8_t {
                if (c < 0 || r < 0 || c >= m_side || r >= m_side)
                    return 0;
                return std::uint8_t((m_paths[index(std::uint32_t(c), std::uint32_t(r))] & mask) >> shift);
            };
            for (std::uint32_t row = 0; row < m_side; ++row)
                for (std::uint32_t column = 0; column < m_side; ++column) {
                    const std::uint8_t t = typeAt(column, row);
                    if (t == 0 || !rules.hasRules(path, t))
                        continue;
                    const std::uint8_t neighbours[4] = {typeAt(column, std::int64_t(row) - 1), typeAt(column + 1, row),
                                                        typeAt(column, row + 1), typeAt(std::int64_t(column) - 1, row)};
                    std::uint8_t joining = 0;
                    for (int s = 0; s < 4; ++s)
                        if (neighbours[s] != 0 && rules.joins(path, t, neighbours[s]))
                            joining |= std::uint8_t(1u << s);
                    if (!rules.ruleFor(path, t, joining))
                        unfit.emplace_back(index(column, row), mask);
                }
        }
        if (unfit.empty())
            return true;
        for (const auto &[at, mask] : unfit) {
            const Images images = imagesOf(m_options.symmetry, m_side, std::uint32_t(at % m_side), std::uint32_t(at / m_side));
            for (int i = 0; i < images.count; ++i)
                m_paths[index(images.column[i], images.row[i])] &= std::uint8_t(~mask);
        }
    }
    return false;
}

std::size_t Generator::waterCount() const
{
    std::size_t count = 0;
    for (const std::uint8_t value : m_types)
        count += (value & TypeBits) == Water;
    return count;
}

void Generator::write(TerrainLayer &layer) const
{
    forRows(m_side, [&](std::uint32_t first, std::uint32_t end) {
        for (std::size_t at = std::size_t(first) * m_side; at < std::size_t(end) * m_side; ++at) {
            TerrainCell &cell = layer.data()[at];
            cell = {type(at), 0, std::uint8_t((m_paths[at] & RiverBits) >> RiverShift), 0,
                    std::uint8_t(m_paths[at] & RoadBits), 0, std::uint8_t(cell.mirror & ~MirrorBit::Editable)};
        }
    });
    if (!m_rules)
        return;
    applyTerrainEdgesToLayer(layer, *m_rules);
    for (const PathLayer path : PathLayers)
        applyPathPiecesToLayer(layer, m_rules->paths(), path);
}

}  // namespace

GeneratePlan generatePlan(const GenerateOptions &options, std::uint32_t side)
{
    GeneratePlan plan;
    const std::uint32_t last = side == 0 ? 0 : side - 1;
    plan.centre = {std::uint16_t(last / 2), std::uint16_t(last / 2)};
    plan.zoneRadius = std::max<std::uint32_t>(1, side / 24);
    // The first zone: a quarter of the way in, away from every axis, moved a
    // little by the seed.
    RandomStream random(std::uint64_t(options.seed) << 8 | 3);
    const std::uint32_t jitter = std::max<std::uint32_t>(1, side / 16);
    const auto moved = [&](std::uint32_t at) { return std::uint32_t(at + random.below(2 * jitter + 1)) - jitter; };
    std::uint32_t column = moved(side / 4);
    std::uint32_t row = moved(side / 4);
    switch (options.symmetry) {
    case SymmetryMode::LeftRight:
        row = moved(side / 2);
        break;
    case SymmetryMode::TopBottom:
        column = moved(side / 2);
        break;
    case SymmetryMode::Diagonal:
        row = moved(3 * side / 4);
        break;
    case SymmetryMode::Off:
        column = moved(side / 3);
        row = moved(side / 3);
        break;
    default:
        break;
    }
    const Images images = imagesOf(options.symmetry, side, column, row);
    for (int i = 0; i < images.count; ++i)
        plan.zones.push_back({std::uint16_t(images.column[i]), std::uint16_t(images.row[i])});
    return plan;
}

GenerateResult generateTerrain(TerrainLayer &layer, const GenerateOptions &options, const TerrainEdgeRules *rules,
                               const GenerateControl &control)
{
    GenerateResult result;
    if (const auto refusal = checkGenerateOptions(options, layer.side(), options.level + 1)) {
        result.refusal = refusal;
        return result;
    }
    Generator generator(options, layer.side(), rules, control);
    return generator.run(layer);
}
