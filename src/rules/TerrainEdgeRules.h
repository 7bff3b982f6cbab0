// The rules that choose a terrain cell's picture and terrain mirror bits from
// the terrain types of its eight neighbours, with the river and road rules of
// the same file beside them, and the reader of the rules file
// ("terrain-edges.ini") that the README describes.
#pragma once

#include "base/Reason.h"
#include "map/TerrainCell.h"
#include "rules/PathRules.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

class TerrainEdgeRules {
public:
    // The eight neighbours in reading order; bit n of a neighbourhood mask
    // belongs to neighbour n.
    enum Neighbour : std::uint8_t { NorthWest, North, NorthEast, West, East, SouthWest, South, SouthEast };
    static constexpr int NeighbourCount = 8;
    static constexpr int MaskCount = 1 << NeighbourCount;

    struct Rule {
        std::uint8_t careMask = 0;  // neighbours that are not "any"
        std::uint8_t sameMask = 0;  // of those, the ones that must be "same"
        std::vector<std::uint8_t> pictures;  // variants, at least one
        std::uint8_t mirror = 0;    // terrain mirror bits 0 and 1 to write

        bool matches(std::uint8_t sameNeighbours) const { return (sameNeighbours & careMask) == sameMask; }
        friend bool operator==(const Rule &, const Rule &) = default;
    };

    // Adds the rules of a terrain type, in the order they are tried, with the
    // other types its borders treat as its own (it always counts as its own).
    void setTerrain(std::uint8_t tertype, const std::vector<std::uint8_t> &sameTypes, std::vector<Rule> rules);

    bool hasRules(std::uint8_t tertype) const { return m_hasRules[tertype]; }
    // The rules of a terrain type 0..9, in the order they are tried.
    const std::vector<Rule> &rules(std::uint8_t tertype) const { return m_rules[tertype]; }

    // True when a neighbour of the given type counts as "same" for a cell of a
    // type that has rules.
    bool countsAsSame(std::uint8_t tertype, std::uint8_t neighbourType) const
    {
        return m_same[tertype][neighbourType];
    }
    // The same test for every neighbour type at once, indexed by that type.
    const std::array<bool, 256> &sameTable(std::uint8_t tertype) const { return m_same[tertype]; }

    // The first rule of a type that has rules matching the neighbourhood (bit
    // n set when neighbour n is "same"), or none.
    const Rule *ruleFor(std::uint8_t tertype, std::uint8_t sameNeighbours) const
    {
        const std::uint8_t index = m_choice[tertype][sameNeighbours];
        return index == NoRule ? nullptr : &m_rules[tertype][index];
    }

    // What the first rule fitting a neighbourhood writes, flattened for the
    // loop over millions of cells: count variants from index first on in
    // pictures(tertype), and the mirror bits; count 0 when no rule fits.
    struct Choice {
        std::uint32_t first = 0;
        std::uint32_t count = 0;
        std::uint8_t mirror = 0;
    };
    const Choice &choice(std::uint8_t tertype, std::uint8_t sameNeighbours) const
    {
        return m_written[tertype][sameNeighbours];
    }
    // Every rule's pictures of a type, one rule after the other.
    const std::uint8_t *pictures(std::uint8_t tertype) const { return m_pictures[tertype].data(); }

    // The rules of the [river N] and [road N] sections.
    const PathRules &paths() const { return m_paths; }
    PathRules &paths() { return m_paths; }

private:
    static constexpr std::uint8_t NoRule = 0xFF;  // rules per type are limited to fewer

    std::array<std::vector<Rule>, TerrainTypeCount> m_rules;
    std::array<bool, 256> m_hasRules{};  // by any type byte a cell may hold
    std::array<std::array<bool, 256>, TerrainTypeCount> m_same{};
    // The first matching rule for every neighbourhood, worked out once so that
    // applying the rules to millions of cells is a table look-up per cell.
    std::array<std::array<std::uint8_t, MaskCount>, TerrainTypeCount> m_choice{};
    std::array<std::array<Choice, MaskCount>, TerrainTypeCount> m_written{};
    std::array<std::vector<std::uint8_t>, TerrainTypeCount> m_pictures;
    PathRules m_paths;
};

struct TerrainEdgeRulesResult {
    std::optional<TerrainEdgeRules> rules;  // none on refusal
    Reason why;                             // set on refusal, naming the line at fault
    QString reason;                         // why in English, one line

    bool ok() const { return rules.has_value(); }
};

// The rules file's default name, looked for in the current folder.
inline constexpr const char *TerrainEdgeRulesFileName = "terrain-edges.ini";

// Most rules one terrain, river or road type may have.
inline constexpr int MaxTerrainEdgeRules = 250;

// Largest rules file read: far beyond any real one (every rule a type can
// have takes well under 100 KiB), small enough to read whole at once.
inline constexpr qint64 MaxTerrainEdgeRulesBytes = 1 << 20;

// Reads rules from the text of a rules file; a malformed file is refused as a
// whole with the first fault and its line number, a file with no rule at all
// or beyond MaxTerrainEdgeRulesBytes as a whole.
TerrainEdgeRulesResult parseTerrainEdgeRules(const QByteArray &text);

// Reads the rules file at path, never more than MaxTerrainEdgeRulesBytes and
// one byte of it.
TerrainEdgeRulesResult readTerrainEdgeRules(const QString &path);
