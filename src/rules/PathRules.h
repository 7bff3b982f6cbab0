// The rules that choose a river or road cell's picture and that layer's two
// mirror bits from which of its four side neighbours join it, as the
// [river N] and [road N] sections of the rules file ("terrain-edges.ini")
// give them; and the little a rule needs to know about the two layers.
#pragma once

#include "map/TerrainCell.h"

#include <array>
#include <cstdint>
#include <vector>

// The two layers of a cell that run from cell to cell.
enum class PathLayer : std::uint8_t { River, Road };

inline constexpr std::array<PathLayer, 2> PathLayers = {PathLayer::River, PathLayer::Road};

// The cell's type byte on the layer (0: none).
inline std::uint8_t TerrainCell::*pathTypeField(PathLayer layer)
{
    return layer == PathLayer::River ? &TerrainCell::rivtype : &TerrainCell::roadtype;
}

// The cell's picture byte on the layer.
inline std::uint8_t TerrainCell::*pathPictureField(PathLayer layer)
{
    return layer == PathLayer::River ? &TerrainCell::rivconf : &TerrainCell::roadconf;
}

// The layer's two mirror bits (left to right, upside down).
constexpr std::uint8_t pathMirrorBits(PathLayer layer)
{
    return layer == PathLayer::River ? MirrorBit::RiverLeftRight | MirrorBit::RiverUpsideDown
                                     : MirrorBit::RoadLeftRight | MirrorBit::RoadUpsideDown;
}

constexpr std::uint8_t pathLeftRightBit(PathLayer layer)
{
    return layer == PathLayer::River ? MirrorBit::RiverLeftRight : MirrorBit::RoadLeftRight;
}

constexpr std::uint8_t pathUpsideDownBit(PathLayer layer)
{
    return layer == PathLayer::River ? MirrorBit::RiverUpsideDown : MirrorBit::RoadUpsideDown;
}

// The last type of the layer: types run 1..this (0 is none).
constexpr int pathTypeCount(PathLayer layer)
{
    return layer == PathLayer::River ? RiverTypeCount : RoadTypeCount;
}

// The last picture of every type of the layer.
constexpr int pathLastPicture(PathLayer layer)
{
    return (layer == PathLayer::River ? RiverSpriteCount : RoadSpriteCount) - 1;
}

// "river" or "road", as the rules file and its refusals name the layer.
constexpr const char *pathLayerName(PathLayer layer)
{
    return layer == PathLayer::River ? "river" : "road";
}

class PathRules {
public:
    // The four side neighbours, clockwise from the top; bit n of a side mask
    // belongs to side n.
    enum Side : std::uint8_t { North, East, South, West };
    static constexpr int SideCount = 4;
    static constexpr int MaskCount = 1 << SideCount;

    struct Rule {
        std::uint8_t careMask = 0;  // sides that are not "either"
        std::uint8_t joinMask = 0;  // of those, the ones that must join
        std::vector<std::uint8_t> pictures;  // variants, at least one
        std::uint8_t mirror = 0;    // the layer's own mirror bits to write

        bool matches(std::uint8_t joiningSides) const { return (joiningSides & careMask) == joinMask; }
        friend bool operator==(const Rule &, const Rule &) = default;
    };

    // Sets the rules of a type (1..the layer's last) in the order they are
    // tried, with the other types of the layer that join it (it always joins
    // itself).
    void setType(PathLayer layer, std::uint8_t type, const std::vector<std::uint8_t> &joiningTypes, std::vector<Rule> rules);

    // True for any type byte a cell may hold whose section has rules; never for 0.
    bool hasRules(PathLayer layer, std::uint8_t type) const { return type <= MaxType && m_types[index(layer)][type].hasRules; }
    // True when some type of either layer has rules.
    bool isEmpty() const;

    // The rules of a type that has a section, in the order they are tried.
    const std::vector<Rule> &rules(PathLayer layer, std::uint8_t type) const { return m_types[index(layer)][type].rules; }

    // True when a side neighbour with the given type byte joins a cell of a
    // type that has rules.
    bool joins(PathLayer layer, std::uint8_t type, std::uint8_t neighbourType) const
    {
        return m_types[index(layer)][type].joins[neighbourType];
    }
    // The same for every neighbour type byte at once.
    const std::array<bool, 256> &joinTable(PathLayer layer, std::uint8_t type) const { return m_types[index(layer)][type].joins; }

    // The first rule of a type that has rules fitting the joining sides (bit n
    // set when side n joins), or none.
    const Rule *ruleFor(PathLayer layer, std::uint8_t type, std::uint8_t joiningSides) const;

    // What the first fitting rule writes, flattened for the loop over a whole
    // level: count variants from index first on in pictures(layer, type), and
    // the mirror bits; count 0 when no rule fits.
    struct Choice {
        std::uint32_t first = 0;
        std::uint32_t count = 0;
        std::uint8_t mirror = 0;
    };
    const Choice &choice(PathLayer layer, std::uint8_t type, std::uint8_t joiningSides) const
    {
        return m_types[index(layer)][type].choices[joiningSides];
    }
    // Every rule's pictures of a type, one rule after the other.
    const std::uint8_t *pictures(PathLayer layer, std::uint8_t type) const { return m_types[index(layer)][type].pictures.data(); }

    // All the rules of one type say, for the loop over a whole level.
    struct TypeRules {
        bool hasRules = false;
        std::vector<Rule> rules;
        std::array<bool, 256> joins{};            // by the neighbour's type byte
        std::array<Choice, MaskCount> choices{};  // by the joining sides
        std::vector<std::uint8_t> pictures;
    };
    // The rules of a type byte, none when it has none.
    const TypeRules *typeRules(PathLayer layer, std::uint8_t type) const
    {
        return hasRules(layer, type) ? &m_types[index(layer)][type] : nullptr;
    }

private:
    static constexpr int MaxType = RiverTypeCount > RoadTypeCount ? RiverTypeCount : RoadTypeCount;
    static constexpr std::size_t index(PathLayer layer) { return layer == PathLayer::River ? 0 : 1; }

    std::array<std::array<TypeRules, MaxType + 1>, 2> m_types{};
};
