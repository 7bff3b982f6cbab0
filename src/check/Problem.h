// What the map check finds wrong with a cell, and the plain English words the
// command-line tool prints for it.
#pragma once

#include "edit/CellPictures.h"
#include "edit/CellPosition.h"

#include <QString>

#include <cstdint>

// Kinds of problem.
enum class ProblemKind : std::uint8_t {
    TerrainPicture,  // the terrain rules would give the cell another picture
    RiverPiece,      // the river rules would give a joined cell another piece
    RoadPiece,       // the same for a road
    NoRule,          // the cell's type has rules, but none fits its neighbours
    RiverEnd,        // a river ends here without the piece that closes it
    RoadEnd,         // the same for a road
    RiverJoin,       // the river opens to a neighbour that does not join it back
    RoadJoin,        // the same for a road
    Mirror,          // the cell is unlike its mirror under the symmetry
};
inline constexpr int ProblemKindCount = int(ProblemKind::Mirror) + 1;

// Which part of a cell a problem is about.
enum class CellPart : std::uint8_t { Terrain, River, Road };

struct Problem {
    CellPosition cell;
    ProblemKind kind = ProblemKind::TerrainPicture;
    CellPart part = CellPart::Terrain;
    // The picture and that part's mirror bits the cell has, and those the
    // rules would give it (pieces and pictures).
    CellPicture have;
    CellPicture want;
    // The sides that join the cell (pieces, ends and rules that do not fit:
    // bit n for side n, clockwise from the north), or the side whose
    // neighbour does not join back (joins); for a mirror problem, 1 when
    // the types agree and only the pictures differ.
    std::uint8_t sides = 0;
    // The mirror place the cell differs from (mirror problems).
    CellPosition other;

    static Problem at(CellPosition cell, ProblemKind kind, CellPart part, CellPicture have = {}, CellPicture want = {},
                      std::uint8_t sides = 0, CellPosition other = {})
    {
        Problem problem;
        problem.cell = cell;
        problem.kind = kind;
        problem.part = part;
        problem.have = have;
        problem.want = want;
        problem.sides = sides;
        problem.other = other;
        return problem;
    }

    // Listed by row, then column, then in the order a cell is checked: its
    // terrain, its river, its road (each's picture, end or missing rule
    // before its join), and last its mirror.
    int rank() const { return kind == ProblemKind::Mirror ? 0xFF : int(part) * 16 + int(kind); }
    friend bool operator<(const Problem &a, const Problem &b)
    {
        if (a.cell.row != b.cell.row)
            return a.cell.row < b.cell.row;
        if (a.cell.column != b.cell.column)
            return a.cell.column < b.cell.column;
        return a.rank() < b.rank();
    }
    friend bool operator==(const Problem &a, const Problem &b)
    {
        return a.cell == b.cell && a.kind == b.kind && a.part == b.part && a.have.picture == b.have.picture
            && a.have.mirror == b.have.mirror && a.want.picture == b.want.picture && a.want.mirror == b.want.mirror
            && a.sides == b.sides && a.other == b.other;
    }
};

// The kind's word on the command line: "terrain-picture", "road-end", "mirror"...
const char *problemKindName(ProblemKind kind);

// The sentences a problem's reason is made of. The built-in wording is the
// English the command-line tool prints; the editor takes its language's. %1
// and %2 are filled in: a part ("terrain", "river", "road"), a picture with
// its mirror marks ("12 lr"), a list of sides ("north, east"), a cell ("4,7").
struct ProblemTexts {
    QString picture;   // "%1 picture %2, the rules choose %3"
    QString norule;    // "no %1 rule fits its neighbours (%2)"
    QString end;       // "the %1 ends without a closing piece (%2, the rules choose %3)"
    QString join;      // "the %1 opens to the %2, whose piece does not join back"
    QString mirror;    // "unlike its mirror at %1 (%2)"
    QString terrain, river, road;      // the parts
    QString north, east, south, west;  // the sides
    QString none;                      // no side joins
    QString types, pictures;           // what differs from the mirror
    QString leftRight, upDown;         // the marks of a mirrored picture

    // The English wording.
    static ProblemTexts english();
};

// Keys and English wording of the texts, for the editor's interface texts.
namespace ProblemWords {
inline constexpr const char *Picture = "%1 picture %2, the rules choose %3";
inline constexpr const char *NoRule = "no %1 rule fits its neighbours (%2)";
inline constexpr const char *End = "the %1 ends without a closing piece (%2, the rules choose %3)";
inline constexpr const char *Join = "the %1 opens to the %2, whose piece does not join back";
inline constexpr const char *Mirror = "unlike its mirror at %1 (%2)";
inline constexpr const char *Terrain = "terrain";
inline constexpr const char *River = "river";
inline constexpr const char *Road = "road";
inline constexpr const char *North = "north";
inline constexpr const char *East = "east";
inline constexpr const char *South = "south";
inline constexpr const char *West = "west";
inline constexpr const char *None = "none";
inline constexpr const char *Types = "types";
inline constexpr const char *Pictures = "pictures";
inline constexpr const char *LeftRight = "lr";
inline constexpr const char *UpDown = "ud";
}  // namespace ProblemWords

// The problem's short reason in the texts' words.
QString problemReason(const Problem &problem, const ProblemTexts &texts);
