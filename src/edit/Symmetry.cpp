// Mirror places, mirrored copies of edited cells, and symmetric edits.
#include "edit/Symmetry.h"

#include <algorithm>
#include <climits>

namespace {

// The bytes of one layer of a cell: its type, its picture, its mirror bits.
struct CellLayer {
    std::uint8_t TerrainCell::*type;
    std::uint8_t TerrainCell::*picture;
    std::uint8_t mirrorBits;
};

constexpr CellLayer CellLayers[] = {
    {&TerrainCell::tertype, &TerrainCell::terconf, MirrorBit::TerrainLeftRight | MirrorBit::TerrainUpsideDown},
    {&TerrainCell::rivtype, &TerrainCell::rivconf, MirrorBit::RiverLeftRight | MirrorBit::RiverUpsideDown},
    {&TerrainCell::roadtype, &TerrainCell::roadconf, MirrorBit::RoadLeftRight | MirrorBit::RoadUpsideDown},
};

std::span<const Transform> transformsOf(SymmetryMode mode)
{
    static constexpr Transform LeftRight[] = {Transform::FlipHorizontal};
    static constexpr Transform TopBottom[] = {Transform::FlipVertical};
    static constexpr Transform FourWay[] = {Transform::FlipHorizontal, Transform::FlipVertical, Transform::Turn180};
    static constexpr Transform HalfTurn[] = {Transform::Turn180};
    static constexpr Transform QuarterTurn[] = {Transform::Turn90, Transform::Turn180, Transform::Turn270};
    static constexpr Transform Diagonal[] = {Transform::FlipDiagonal};
    switch (mode) {
    case SymmetryMode::Off:
        break;
    case SymmetryMode::LeftRight:
        return LeftRight;
    case SymmetryMode::TopBottom:
        return TopBottom;
    case SymmetryMode::FourWay:
        return FourWay;
    case SymmetryMode::HalfTurn:
        return HalfTurn;
    case SymmetryMode::QuarterTurn:
        return QuarterTurn;
    case SymmetryMode::Diagonal:
        return Diagonal;
    }
    return {};
}

// One mark per cell of a level: which cells a step changed or a copy wrote.
class CellMarks {
public:
    explicit CellMarks(std::uint32_t side)
        : m_side(side)
        , m_marks(std::size_t(side) * side, false)
    {
    }

    bool inside(CellPosition position) const { return position.column < m_side && position.row < m_side; }
    bool marked(CellPosition position) const { return m_marks[index(position)]; }
    // Marks the cell; false when it was marked already.
    bool mark(CellPosition position)
    {
        const std::size_t at = index(position);
        if (m_marks[at])
            return false;
        m_marks[at] = true;
        return true;
    }

private:
    std::size_t index(CellPosition position) const { return std::size_t(position.row) * m_side + position.column; }

    std::uint32_t m_side;
    std::vector<bool> m_marks;
};

bool sameTypes(const TerrainCell &one, const TerrainCell &other)
{
    return one.tertype == other.tertype && one.rivtype == other.rivtype && one.roadtype == other.roadtype;
}

}  // namespace

MirrorPlaces mirrorPlaces(SymmetryMode mode, std::uint32_t side, CellPosition position)
{
    MirrorPlaces places;
    for (const Transform transform : transformsOf(mode)) {
        const CellPosition place = transformedPosition(transform, side, side, position);
        const bool seen = place == position
            || std::any_of(places.begin(), places.end(), [&](const MirrorPlace &each) { return each.position == place; });
        if (!seen)
            places.places[places.count++] = {place, transform};
    }
    return places;
}

TerrainCell mirroredCopy(const TerrainCell &before, const TerrainCell &after, const TerrainCell &target,
                         Transform transform)
{
    const TerrainCell flipped = transformedCell(after, toggledMirrorBits(transform));
    TerrainCell copy = target;
    for (const CellLayer &layer : CellLayers) {
        const bool written = before.*layer.type != after.*layer.type || before.*layer.picture != after.*layer.picture
            || ((before.mirror ^ after.mirror) & layer.mirrorBits) != 0;
        if (!written)
            continue;
        copy.*layer.type = flipped.*layer.type;
        copy.*layer.picture = flipped.*layer.picture;
        copy.mirror = std::uint8_t((copy.mirror & ~layer.mirrorBits) | (flipped.mirror & layer.mirrorBits));
    }
    return copy;
}

std::vector<CellChange> recordedChanges(const UndoList &undoList, std::size_t firstRecord, int level,
                                        std::uint32_t side)
{
    std::vector<CellChange> changes;
    CellMarks seen(side);
    for (std::size_t i = firstRecord; i < undoList.count(); ++i) {
        const UndoRecord &record = undoList.at(i);
        const CellPosition position{record.column, record.row};
        if (record.level == level && seen.inside(position) && seen.mark(position))
            changes.push_back({position, record.previous});
    }
    return changes;
}

std::vector<QRect> changedQuarters(const UndoList &undoList, std::size_t firstRecord, int level, std::uint32_t side)
{
    struct Bounds {
        int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1;
    };
    const std::uint32_t half = (side + 1) / 2;
    std::array<Bounds, 4> quarters;
    for (std::size_t i = firstRecord; i < undoList.count(); ++i) {
        const UndoRecord &record = undoList.at(i);
        if (record.level != level || record.column >= side || record.row >= side)
            continue;
        Bounds &quarter = quarters[(record.column >= half ? 1 : 0) + (record.row >= half ? 2 : 0)];
        quarter.left = std::min<int>(quarter.left, record.column);
        quarter.right = std::max<int>(quarter.right, record.column);
        quarter.top = std::min<int>(quarter.top, record.row);
        quarter.bottom = std::max<int>(quarter.bottom, record.row);
    }
    std::vector<QRect> changed;
    for (const Bounds &quarter : quarters)
        if (quarter.right >= 0)
            changed.emplace_back(QPoint(quarter.left, quarter.top), QPoint(quarter.right, quarter.bottom));
    return changed;
}

std::vector<CellPosition> applySymmetry(CellEditor &editor, SymmetryMode mode, std::span<const CellChange> changes)
{
    std::vector<CellPosition> copies;
    if (mode == SymmetryMode::Off || !editor.canEdit())
        return copies;
    const TerrainLayer &layer = editor.layer();
    const std::uint32_t side = layer.side();
    CellMarks painted(side);
    for (const CellChange &change : changes)
        if (painted.inside(change.position))
            painted.mark(change.position);
    CellMarks copied(side);
    for (const CellChange &change : changes) {
        if (!painted.inside(change.position))
            continue;
        // Copies never land on painted cells, so this is what the edit left.
        const TerrainCell after = layer.at(change.position.row, change.position.column);
        for (const MirrorPlace &place : mirrorPlaces(mode, side, change.position)) {
            const CellPosition at = place.position;
            const TerrainCell &target = layer.at(at.row, at.column);
            const TerrainCell copy = mirroredCopy(change.before, after, target, place.transform);
            // A painted place keeps what the edit wrote there, unless its types
            // differ from the copy's (a pasted block that is not symmetric
            // across the line): then the earlier change wins, so the types
            // stay symmetric.
            if (painted.marked(at) && sameTypes(copy, target))
                continue;
            if (editor.replaceCell(at.column, at.row, copy) && copied.mark(at))
                copies.push_back(at);
        }
    }
    return copies;
}
