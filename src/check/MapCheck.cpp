// The map check of a level and of the cells around an edit.
#include "check/MapCheck.h"

#include "edit/PathPieces.h"
#include "edit/TerrainEdges.h"
#include "edit/Transforms.h"

#include <algorithm>
#include <bit>
#include <optional>
#include <thread>

namespace {

constexpr std::uint8_t TerrainBits = MirrorBit::TerrainLeftRight | MirrorBit::TerrainUpsideDown;

struct PartBytes {
    CellPart part;
    std::uint8_t TerrainCell::*type;
    std::uint8_t TerrainCell::*picture;
    std::uint8_t mirrorBits;
};

constexpr PartBytes Parts[] = {
    {CellPart::Terrain, &TerrainCell::tertype, &TerrainCell::terconf, TerrainBits},
    {CellPart::River, &TerrainCell::rivtype, &TerrainCell::rivconf,
     MirrorBit::RiverLeftRight | MirrorBit::RiverUpsideDown},
    {CellPart::Road, &TerrainCell::roadtype, &TerrainCell::roadconf, MirrorBit::RoadLeftRight | MirrorBit::RoadUpsideDown},
};

// The neighbourhood of a terrain cell: inside the map a uniform area (most
// cells) needs no table look-up.
std::uint8_t terrainNeighbours(const TerrainEdgeRules &rules, const TerrainLayer &layer, std::uint32_t column,
                               std::uint32_t row)
{
    const std::uint32_t side = layer.side();
    if (row == 0 || column == 0 || row + 1 == side || column + 1 == side)
        return sameNeighbours(rules, layer, column, row);
    const TerrainCell *above = &layer.at(row - 1, column);
    const TerrainCell *at = &layer.at(row, column);
    const TerrainCell *below = &layer.at(row + 1, column);
    const std::uint8_t types[TerrainEdgeRules::NeighbourCount] = {above[-1].tertype, above[0].tertype, above[1].tertype,
                                                                  at[-1].tertype,    at[1].tertype,    below[-1].tertype,
                                                                  below[0].tertype,  below[1].tertype};
    const std::uint8_t own = at->tertype;
    bool uniform = true;
    for (const std::uint8_t type : types)
        uniform &= type == own;
    if (uniform)
        return 0xFF;
    const std::array<bool, 256> &same = rules.sameTable(own);
    std::uint8_t mask = 0;
    for (int n = 0; n < TerrainEdgeRules::NeighbourCount; ++n)
        mask |= std::uint8_t(same[types[n]] << n);
    return mask;
}

void checkTerrain(const TerrainEdgeRules &rules, const TerrainLayer &layer, CellPosition position,
                  std::vector<Problem> &problems)
{
    const TerrainCell &cell = layer.at(position.row, position.column);
    if (!rules.hasRules(cell.tertype))
        return;
    const std::uint8_t neighbours = terrainNeighbours(rules, layer, position.column, position.row);
    const TerrainEdgeRules::Choice &choice = rules.choice(cell.tertype, neighbours);
    const CellPicture have{cell.terconf, std::uint8_t(cell.mirror & TerrainBits)};
    if (choice.count == 0) {
        problems.push_back(Problem::at(position, ProblemKind::NoRule, CellPart::Terrain, have));
        return;
    }
    const CellPicture want{rules.pictures(cell.tertype)[choice.first + edgeVariant(position.column, position.row, choice.count)],
                           choice.mirror};
    if (want.picture != have.picture || want.mirror != have.mirror)
        problems.push_back(Problem::at(position, ProblemKind::TerrainPicture, CellPart::Terrain, have, want));
}

// The neighbour of a cell on a side, if the map has one there.
std::optional<CellPosition> neighbourOn(std::uint32_t side, CellPosition position, int direction)
{
    const int column = position.column + (direction == PathRules::East) - (direction == PathRules::West);
    const int row = position.row + (direction == PathRules::South) - (direction == PathRules::North);
    if (column < 0 || row < 0 || std::uint32_t(column) >= side || std::uint32_t(row) >= side)
        return std::nullopt;
    return CellPosition{std::uint16_t(column), std::uint16_t(row)};
}

void checkPath(const PathRules &rules, const PartBytes &part, PathLayer path, const TerrainLayer &layer,
               CellPosition position, std::vector<Problem> &problems)
{
    const TerrainCell &cell = layer.at(position.row, position.column);
    const std::uint8_t type = cell.*part.type;
    if (type == 0 || !rules.hasRules(path, type))
        return;
    const bool river = path == PathLayer::River;
    const std::uint8_t sides = joiningSides(rules, path, layer, position.column, position.row);
    const PathRules::Choice &choice = rules.choice(path, type, sides);
    const CellPicture have{cell.*part.picture, std::uint8_t(cell.mirror & part.mirrorBits)};
    if (choice.count == 0) {
        problems.push_back(Problem::at(position, ProblemKind::NoRule, part.part, have, {}, sides));
    } else {
        const CellPicture want{rules.pictures(path, type)[choice.first + edgeVariant(position.column, position.row, choice.count)],
                               choice.mirror};
        if (want.picture != have.picture || want.mirror != have.mirror) {
            // A cell joined on one side or none is where its path ends.
            const bool end = std::popcount(unsigned(sides)) <= 1;
            const ProblemKind kind = end ? (river ? ProblemKind::RiverEnd : ProblemKind::RoadEnd)
                                         : (river ? ProblemKind::RiverPiece : ProblemKind::RoadPiece);
            problems.push_back(Problem::at(position, kind, part.part, have, want, sides));
        }
    }
    // Joining goes one way: a piece that opens to a neighbour with rules of
    // its own that does not open back leaves the path broken there. Only the
    // first such side is named.
    for (int direction = 0; direction < PathRules::SideCount; ++direction) {
        if (!(sides & (1u << direction)))
            continue;
        const CellPosition other = *neighbourOn(layer.side(), position, direction);
        const std::uint8_t otherType = layer.at(other.row, other.column).*part.type;
        if (rules.hasRules(path, otherType) && !rules.joins(path, otherType, type)) {
            problems.push_back(Problem::at(position, river ? ProblemKind::RiverJoin : ProblemKind::RoadJoin, part.part,
                                           {}, {}, std::uint8_t(1u << direction), other));
            break;
        }
    }
}

std::size_t indexOf(std::uint32_t side, CellPosition position)
{
    return std::size_t(position.row) * side + position.column;
}

// Whether the rules choose the pictures of a part of a cell of the type: then
// its mirror's picture is the rules' business, and the picture checks say so.
bool ruled(const TerrainEdgeRules *rules, const PartBytes &part, std::uint8_t type)
{
    if (!rules)
        return false;
    if (part.part == CellPart::Terrain)
        return rules->hasRules(type);
    return rules->paths().hasRules(part.part == CellPart::River ? PathLayer::River : PathLayer::Road, type);
}

// The first way a mirror place differs from the cell: its types, or (where a
// flip can draw the mirrored picture and no rules choose it) its pictures.
// Returns none when they agree.
std::optional<bool> mirrorDifference(const TerrainEdgeRules *rules, const TerrainCell &cell, const TerrainCell &mirror,
                                     Transform transform)
{
    for (const PartBytes &part : Parts)
        if (cell.*part.type != mirror.*part.type)
            return false;
    if (swapsSides(transform))
        return std::nullopt;
    const std::uint8_t toggled = toggledMirrorBits(transform);
    for (const PartBytes &part : Parts) {
        const std::uint8_t type = cell.*part.type;
        if ((part.part != CellPart::Terrain && type == 0) || ruled(rules, part, type))
            continue;
        if (cell.*part.picture != mirror.*part.picture
            || ((cell.mirror ^ toggled ^ mirror.mirror) & part.mirrorBits) != 0)
            return true;
    }
    return std::nullopt;
}

void checkMirror(const TerrainLayer &layer, const CheckSettings &settings, CellPosition position,
                 std::vector<Problem> &problems)
{
    const std::uint32_t side = layer.side();
    const MirrorPlaces places = mirrorPlaces(settings.symmetry, side, position);
    const std::size_t own = indexOf(side, position);
    for (const MirrorPlace &place : places)
        if (indexOf(side, place.position) < own)
            return;  // listed at the first place of the group
    const TerrainCell &cell = layer.at(position.row, position.column);
    for (const MirrorPlace &place : places) {
        const std::optional<bool> pictures = mirrorDifference(
            settings.rules, cell, layer.at(place.position.row, place.position.column), place.transform);
        if (pictures) {
            problems.push_back(Problem::at(position, ProblemKind::Mirror, CellPart::Terrain, {}, {},
                                           std::uint8_t(*pictures), place.position));
            return;
        }
    }
}

void checkRows(const TerrainLayer &layer, const CheckSettings &settings, std::uint32_t first, std::uint32_t end,
               std::vector<Problem> &problems)
{
    const std::uint32_t side = layer.side();
    const TerrainEdgeRules *rules = settings.rules;
    const bool paths = rules && !rules->paths().isEmpty();
    const bool mirrored = settings.symmetry != SymmetryMode::Off;
    for (std::uint32_t row = first; row < end; ++row) {
        const TerrainCell *cells = &layer.at(row, 0);
        for (std::uint32_t column = 0; column < side; ++column) {
            const CellPosition position{std::uint16_t(column), std::uint16_t(row)};
            if (rules)
                checkTerrain(*rules, layer, position, problems);
            if (paths && (cells[column].rivtype | cells[column].roadtype) != 0) {
                checkPath(rules->paths(), Parts[1], PathLayer::River, layer, position, problems);
                checkPath(rules->paths(), Parts[2], PathLayer::Road, layer, position, problems);
            }
            if (mirrored)
                checkMirror(layer, settings, position, problems);
        }
    }
}

// Beyond this many cells (and their mirror places) one pass over the level
// is cheaper than sorting them.
bool tooManyToRecheck(std::uint64_t cells, int side)
{
    return cells * 4 > std::uint64_t(side) * std::uint64_t(side) / 8;
}

// The cell's index, and those of its mirror places.
void addWithMirrors(std::vector<std::uint32_t> &cells, SymmetryMode mode, std::uint32_t side, CellPosition position)
{
    cells.push_back(std::uint32_t(indexOf(side, position)));
    for (const MirrorPlace &place : mirrorPlaces(mode, side, position))
        cells.push_back(std::uint32_t(indexOf(side, place.position)));
}

}  // namespace

void checkCell(const TerrainLayer &layer, const CheckSettings &settings, CellPosition position,
               std::vector<Problem> &problems)
{
    if (settings.rules) {
        checkTerrain(*settings.rules, layer, position, problems);
        checkPath(settings.rules->paths(), Parts[1], PathLayer::River, layer, position, problems);
        checkPath(settings.rules->paths(), Parts[2], PathLayer::Road, layer, position, problems);
    }
    if (settings.symmetry != SymmetryMode::Off)
        checkMirror(layer, settings, position, problems);
}

std::vector<Problem> checkLevel(const TerrainLayer &layer, const CheckSettings &settings, unsigned threads)
{
    const std::uint32_t side = layer.side();
    if (threads == 0)
        threads = std::max(1u, std::thread::hardware_concurrency());
    // Small levels are not worth a thread.
    threads = std::min<unsigned>(threads, std::max<std::uint32_t>(1, side / 256));
    std::vector<std::vector<Problem>> parts(threads);
    std::vector<std::thread> workers;
    for (unsigned t = 1; t < threads; ++t)
        workers.emplace_back([&, t] {
            checkRows(layer, settings, std::uint32_t(std::uint64_t(side) * t / threads),
                      std::uint32_t(std::uint64_t(side) * (t + 1) / threads), parts[t]);
        });
    checkRows(layer, settings, 0, std::uint32_t(std::uint64_t(side) / threads), parts[0]);
    for (std::thread &worker : workers)
        worker.join();
    std::vector<Problem> problems = std::move(parts[0]);
    for (unsigned t = 1; t < threads; ++t)
        problems.insert(problems.end(), parts[t].begin(), parts[t].end());
    return problems;
}

void ProblemList::checkAll(const TerrainLayer &layer, const CheckSettings &settings)
{
    m_problems = checkLevel(layer, settings);
}

void ProblemList::recheck(const TerrainLayer &layer, const CheckSettings &settings, const QRect &changed)
{
    const int side = int(layer.side());
    const QRect around = changed.adjusted(-1, -1, 1, 1).intersected(QRect(0, 0, side, side));
    if (around.isEmpty())
        return;
    if (tooManyToRecheck(std::uint64_t(around.width()) * std::uint64_t(around.height()), side)) {
        checkAll(layer, settings);
        return;
    }
    std::vector<std::uint32_t> cells;
    for (int row = around.top(); row <= around.bottom(); ++row)
        for (int column = around.left(); column <= around.right(); ++column)
            addWithMirrors(cells, settings.symmetry, std::uint32_t(side), {std::uint16_t(column), std::uint16_t(row)});
    recheckCells(layer, settings, cells);
}

void ProblemList::recheck(const TerrainLayer &layer, const CheckSettings &settings,
                          std::span<const CellPosition> changed)
{
    const std::uint32_t side = layer.side();
    if (tooManyToRecheck(std::uint64_t(changed.size()) * 9, int(side))) {
        checkAll(layer, settings);
        return;
    }
    std::vector<std::uint32_t> cells;
    for (const CellPosition &position : changed)
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const int column = position.column + dx, row = position.row + dy;
                if (column >= 0 && row >= 0 && std::uint32_t(column) < side && std::uint32_t(row) < side)
                    addWithMirrors(cells, settings.symmetry, side, {std::uint16_t(column), std::uint16_t(row)});
            }
    recheckCells(layer, settings, cells);
}

void ProblemList::recheckCells(const TerrainLayer &layer, const CheckSettings &settings,
                               std::vector<std::uint32_t> &cells)
{
    const std::uint32_t side = layer.side();
    std::sort(cells.begin(), cells.end());
    cells.erase(std::unique(cells.begin(), cells.end()), cells.end());

    // The cells fall into a few runs in reading order (the rows around the
    // change, and each mirror image of them); only the problems listed
    // between a run's first and last cell are replaced, last run first so
    // that the places of the runs before stay where they are.
    std::vector<std::pair<std::size_t, std::size_t>> runs;  // [first, end) of cells
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (runs.empty() || cells[i] - cells[i - 1] > 2 * side)
            runs.push_back({i, i + 1});
        else
            runs.back().second = i + 1;
    }
    std::vector<Problem> found;
    std::vector<Problem> span;
    for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
        const std::span<const std::uint32_t> runCells(cells.data() + run->first, run->second - run->first);
        found.clear();
        for (const std::uint32_t index : runCells)
            checkCell(layer, settings, {std::uint16_t(index % side), std::uint16_t(index / side)}, found);
        const auto position = [&](std::uint32_t index) {
            return CellPosition{std::uint16_t(index % side), std::uint16_t(index / side)};
        };
        const auto first = m_problems.begin() + std::ptrdiff_t(firstAtOrAfter(position(runCells.front())));
        const auto last = std::find_if(first, m_problems.end(), [&](const Problem &problem) {
            return indexOf(side, problem.cell) > runCells.back();
        });
        span.clear();
        auto next = found.begin();
        for (auto problem = first; problem != last; ++problem) {
            if (std::binary_search(runCells.begin(), runCells.end(), std::uint32_t(indexOf(side, problem->cell))))
                continue;
            while (next != found.end() && *next < *problem)
                span.push_back(*next++);
            span.push_back(*problem);
        }
        span.insert(span.end(), next, found.end());
        // The same number of problems is written in place; otherwise the
        // list's tail moves once.
        const std::size_t old = std::size_t(last - first);
        const std::ptrdiff_t at = first - m_problems.begin();
        if (span.size() <= old) {
            std::copy(span.begin(), span.end(), m_problems.begin() + at);
            m_problems.erase(m_problems.begin() + at + std::ptrdiff_t(span.size()), m_problems.begin() + at + std::ptrdiff_t(old));
        } else {
            std::copy(span.begin(), span.begin() + std::ptrdiff_t(old), m_problems.begin() + at);
            m_problems.insert(m_problems.begin() + at + std::ptrdiff_t(old), span.begin() + std::ptrdiff_t(old), span.end());
        }
    }
}

std::size_t ProblemList::firstAtOrAfter(CellPosition cell) const
{
    const Problem probe = Problem::at(cell, ProblemKind::TerrainPicture, CellPart::Terrain);
    return std::size_t(std::lower_bound(m_problems.begin(), m_problems.end(), probe) - m_problems.begin());
}
