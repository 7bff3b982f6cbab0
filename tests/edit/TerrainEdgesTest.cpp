// Tests of the terrain edge rules: reading the rules file (its river and road
// sections too) and refusing broken ones by line, the picture and mirror bits chosen for neighbourhoods, "same"
// groups, variants by position, and applying the rules to a stroke's cells
// (recorded right after the stroke) and to whole levels (idempotent).
#include "edit/PaintAt.h"
#include "edit/TerrainEdges.h"
#include "edit/UndoStep.h"

#include "MapFixture.h"
#include "TempDir.h"

#include <QFile>

#include <gtest/gtest.h>

#include <random>
#include <set>

namespace {

constexpr std::uint8_t Dirt = 0, Sand = 1, Grass = 2, Swamp = 4, Water = 8;
constexpr std::uint8_t TerrainMirror = MirrorBit::TerrainLeftRight | MirrorBit::TerrainUpsideDown;

// Grass with a picture for each kind of neighbourhood; swamp counts as grass
// for grass's borders but not the other way round. Dirt has one rule that only
// fits a cell with dirt to its west.
const QByteArray TestRules = R"(
; test rules
[terrain 2]            ; grass
same = 4
rule = sss s.s sss : 0 1 2 3      ; inside
rule = sso s.s sss : 4            ; inner corner, north-east
rule = sss s.s oss : 4 : lr ud    ; inner corner, south-west
rule = *o* s.s sss : 10           ; north side open
rule = sss s.s *o* : 10 : ud      ; south side open
rule = *ss o.s *ss : 13 : lr      ; west side open
rule = *o* s.o ss* : 16           ; outer corner, north-east
rule = ss* s.o *o* : 16 : ud      ; outer corner, south-east
rule = *o* o.o *o* : 22           ; lone
# swamp borders everything but swamp
[terrain 4]
like = 2

[Terrain 0]
rule = *** s.* *** : 7
)";

TerrainEdgeRules testRules()
{
    const TerrainEdgeRulesResult result = parseTerrainEdgeRules(TestRules);
    EXPECT_TRUE(result.ok()) << result.reason.toStdString();
    return result.rules.value_or(TerrainEdgeRules());
}

// A layer from rows of letters: g grass, s swamp, w water, d dirt.
TerrainLayer layerFrom(const std::vector<const char *> &rows)
{
    TerrainLayer layer(std::uint32_t(rows.size()));
    for (std::uint32_t row = 0; row < rows.size(); ++row)
        for (std::uint32_t column = 0; column < rows.size(); ++column) {
            const char letter = rows[row][column];
            layer.at(row, column).tertype = letter == 'g' ? Grass : letter == 's' ? Swamp : letter == 'd' ? Dirt : Water;
        }
    return layer;
}

// The smallest rectangle of cell numbers holding every cell of the list.
QRect boundsOf(const CellList &cells)
{
    QRect bounds;
    for (const auto &[column, row] : cells)
        bounds |= QRect(column, row, 1, 1);
    return bounds;
}

TEST(TerrainEdgeRules, ReadsSectionsRulesAndGroups)
{
    const TerrainEdgeRules rules = testRules();
    EXPECT_TRUE(rules.hasRules(Grass));
    EXPECT_TRUE(rules.hasRules(Swamp));
    EXPECT_TRUE(rules.hasRules(Dirt));
    EXPECT_FALSE(rules.hasRules(Water));
    EXPECT_FALSE(rules.hasRules(Sand));
    EXPECT_FALSE(rules.hasRules(12));

    ASSERT_EQ(rules.rules(Grass).size(), 9u);
    const TerrainEdgeRules::Rule &lone = rules.rules(Grass).back();
    EXPECT_EQ(lone.careMask, 0b01011010);
    EXPECT_EQ(lone.sameMask, 0);
    EXPECT_EQ(lone.pictures, std::vector<std::uint8_t>{22});
    EXPECT_EQ(rules.rules(Grass)[2].mirror, TerrainMirror);
    EXPECT_EQ(rules.rules(Grass)[0].pictures, (std::vector<std::uint8_t>{0, 1, 2, 3}));
    // "like" copies the rules, not the group.
    EXPECT_EQ(rules.rules(Swamp), rules.rules(Grass));
    EXPECT_TRUE(rules.countsAsSame(Grass, Swamp));
    EXPECT_TRUE(rules.countsAsSame(Grass, Grass));
    EXPECT_FALSE(rules.countsAsSame(Swamp, Grass));
    EXPECT_FALSE(rules.countsAsSame(Grass, Water));

    // The first rule that fits wins; a neighbourhood no rule fits has none.
    EXPECT_EQ(rules.ruleFor(Grass, 0xFF), &rules.rules(Grass)[0]);
    EXPECT_EQ(rules.ruleFor(Grass, 0), &rules.rules(Grass)[8]);
    EXPECT_EQ(rules.ruleFor(Grass, 0b01010101), nullptr);
    EXPECT_EQ(rules.ruleFor(Dirt, 1 << TerrainEdgeRules::West), &rules.rules(Dirt)[0]);
    EXPECT_EQ(rules.ruleFor(Dirt, 0xFF & ~(1 << TerrainEdgeRules::West)), nullptr);
}

TEST(TerrainEdgeRules, ReadsRiverAndRoadSections)
{
    const TerrainEdgeRulesResult good = parseTerrainEdgeRules(R"(
[road 3]
rule = j o j o : 1 2
rule = jj** : 16 : lr ud
rule = * * * * : 0 : ud
[river 4]
joins = 1
rule = o o o o : 12 : lr
[river 1]
like = 4
)");
    ASSERT_TRUE(good.ok()) << good.reason.toStdString();
    const PathRules &paths = good.rules->paths();
    EXPECT_FALSE(good.rules->hasRules(0));
    EXPECT_FALSE(paths.isEmpty());
    for (std::uint8_t type = 0; type < 8; ++type) {
        EXPECT_EQ(paths.hasRules(PathLayer::Road, type), type == 3) << int(type);
        EXPECT_EQ(paths.hasRules(PathLayer::River, type), type == 1 || type == 4) << int(type);
    }
    const std::vector<PathRules::Rule> &road = paths.rules(PathLayer::Road, 3);
    ASSERT_EQ(road.size(), 3u);
    EXPECT_EQ(road[0], (PathRules::Rule{0b1111, 0b0101, {1, 2}, 0}));
    EXPECT_EQ(road[1], (PathRules::Rule{0b0011, 0b0011, {16}, MirrorBit::RoadLeftRight | MirrorBit::RoadUpsideDown}));
    EXPECT_EQ(road[2], (PathRules::Rule{0, 0, {0}, MirrorBit::RoadUpsideDown}));
    EXPECT_EQ(paths.rules(PathLayer::River, 4)[0].mirror, MirrorBit::RiverLeftRight);
    // "like" copies the rules, not which types join.
    EXPECT_EQ(paths.rules(PathLayer::River, 1), paths.rules(PathLayer::River, 4));
    EXPECT_TRUE(paths.joins(PathLayer::River, 4, 1));
    EXPECT_TRUE(paths.joins(PathLayer::River, 4, 4));
    EXPECT_FALSE(paths.joins(PathLayer::River, 4, 2));
    EXPECT_FALSE(paths.joins(PathLayer::River, 1, 4));
    EXPECT_FALSE(paths.joins(PathLayer::River, 1, 0));

    // The first rule that fits wins.
    EXPECT_EQ(paths.ruleFor(PathLayer::Road, 3, 0b0101), &road[0]);
    EXPECT_EQ(paths.ruleFor(PathLayer::Road, 3, 0b1111), &road[1]);
    EXPECT_EQ(paths.ruleFor(PathLayer::Road, 3, 0b0100), &road[2]);
    EXPECT_EQ(paths.choice(PathLayer::Road, 3, 0b0111).count, 1u);
    EXPECT_EQ(paths.choice(PathLayer::Road, 3, 0b0111).mirror, MirrorBit::RoadLeftRight | MirrorBit::RoadUpsideDown);
    EXPECT_EQ(paths.pictures(PathLayer::Road, 3)[paths.choice(PathLayer::Road, 3, 0b0101).first + 1], 2);
}

TEST(TerrainEdgeRules, MalformedFilesAreRefusedWithTheirLine)
{
    struct Case {
        const char *text;
        const char *reason;
    };
    const Case cases[] = {
        {"rule = sss s.s sss : 1", "line 1: \"rule\" stands before the first section"},
        {"[terrain 2]\nrule = sss s.s sss : 1\nsize = 3", "line 3: unknown key \"size\" (expected same, like or rule)"},
        {"[terrain 2]\nrule sss s.s sss", "line 2: expected a [terrain N], [river N] or [road N] section or a \"key = value\" line"},
        {"[terrain 2", "line 1: a section name ends with \"]\""},
        {"[land 2]", "line 1: expected a section [terrain N], [river N] or [road N], not [land 2]"},
        {"[terrain 10]", "line 1: \"10\" is not a terrain type 0..9"},
        {"[terrain 2]\nsame = 4 x\nrule = sss s.s sss : 1", "line 2: \"x\" is not a terrain type 0..9"},
        {"[terrain 2]\n\nrule = sss s.s ss : 1", "line 3: a neighbourhood is nine marks, the row above, the cell's "
                                                 "row with \".\" in the middle, the row below, not \"sss s.s ss\""},
        {"[terrain 2]\nrule = sss sss sss : 1", "line 2: a neighbourhood is nine marks"},
        {"[terrain 2]\nrule = sss s.s ssx : 1", "line 2: \"x\" is not a neighbour mark (s same, o other, * any)"},
        {"[terrain 2]\nrule = sss s.s sss", "line 2: a rule is a neighbourhood, \":\", picture numbers"},
        {"[terrain 2]\nrule = sss s.s sss : 1 : lr : ud", "line 2: a rule is a neighbourhood"},
        {"[terrain 2]\nrule = sss s.s sss :  ", "line 2: a rule names at least one picture"},
        {"[terrain 2]\nrule = sss s.s sss : 1 -2", "line 2: \"-2\" is not a picture number"},
        {"[terrain 1]\nrule = sss s.s sss : 23 24", "line 2: picture 24 is beyond terrain 1's last picture 23"},
        {"[terrain 2]\nrule = sss s.s sss : 1 : up", "line 2: \"up\" is not a mirror bit (lr left-right, ud upside-down)"},
        {"[terrain 2]\nrule = sss s.s sss : 1\n[terrain 2]", "line 3: terrain 2 has a section already (line 1)"},
        {"[terrain 2]\nsame = 4\n[terrain 3]\nrule = sss s.s sss : 1", "line 1: terrain 2 has no rules"},
        {"[terrain 2]\nrule = sss s.s sss : 1\n[terrain 3]\n; last", "line 3: terrain 3 has no rules"},
        {"[terrain 3]\nlike = 2", "line 2: terrain 2 has no rules above this line"},
        // Rules taken over with "like" must fit the taking terrain's pictures too.
        {"[terrain 2]\nrule = sss s.s sss : 40\n[terrain 1]\nlike = 2", "line 4: picture 40 is beyond terrain 1's last picture 23"},
        // A rule whose pattern an earlier rule of the section has already, by
        // hand, through "like", or written with other blanks.
        {"[terrain 2]\nrule = sss s.s sss : 1\n\n; again\nrule = s s s  s . s  s s s : 2", "line 5: rule repeats line 2"},
        {"[terrain 2]\nrule = *o* s.s sss : 1\n[terrain 3]\nlike = 2\nrule = *o* s.s sss : 4", "line 5: rule repeats line 4"},
        {"[road 1]\nrule = j o j o : 1\nrule = o j o j : 0\nrule = jojo : 2", "line 4: rule repeats line 2"},
        // The river and road sections.
        {"[river 0]", "line 1: \"0\" is not a river type 1..4"},
        {"[river 5]", "line 1: \"5\" is not a river type 1..4"},
        {"[road 4]", "line 1: \"4\" is not a road type 1..3"},
        {"[road 1]\nsame = 2\nrule = j o j o : 1", "line 2: unknown key \"same\" (expected joins, like or rule)"},
        {"[terrain 1]\njoins = 2\nrule = sss s.s sss : 1", "line 2: unknown key \"joins\" (expected same, like or rule)"},
        {"[road 1]\njoins = 2 4\nrule = j o j o : 1", "line 2: \"4\" is not a road type 1..3"},
        {"[river 1]\nrule = j o j : 1", "line 2: a pattern of sides is four marks, north, east, south and west, not \"j o j\""},
        {"[river 1]\nrule = j o j o o : 1", "line 2: a pattern of sides is four marks"},
        {"[river 1]\nrule = j o s o : 1", "line 2: \"s\" is not a side mark (j joins, o does not, * either)"},
        {"[river 1]\nrule = j o j o", "line 2: a rule is a pattern of sides, \":\", picture numbers"},
        {"[river 1]\nrule = j o j o : 12 13", "line 2: picture 13 is beyond river 1's last picture 12"},
        {"[road 2]\nrule = j o j o : 16 17", "line 2: picture 17 is beyond road 2's last picture 16"},
        {"[road 2]\nrule = j o j o : 1 : lr ud up", "line 2: \"up\" is not a mirror bit"},
        {"[road 2]\nrule = j o j o : 1\n[road 2]", "line 3: road 2 has a section already (line 1)"},
        {"[road 2]\njoins = 1\n[road 3]\nrule = * * * * : 1", "line 1: road 2 has no rules"},
        {"[river 2]\nlike = 3", "line 2: river 3 has no rules above this line"},
        // The same number of another kind is another section; a river's rules
        // are no road's.
        {"[river 2]\nrule = * * * * : 12\n[road 2]\nlike = 2", "line 4: road 2 has no rules above this line"},
        {"[road 1]\nrule = * * * * : 16\n[river 1]\nlike = 1", "line 4: river 1 has no rules above this line"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        const TerrainEdgeRulesResult result = parseTerrainEdgeRules(c.text);
        EXPECT_FALSE(result.ok());
        EXPECT_TRUE(result.reason.startsWith(QLatin1String(c.reason))) << result.reason.toStdString();
        EXPECT_FALSE(result.reason.contains('\n'));
        EXPECT_EQ(result.why.english(), result.reason);
    }

    // 251 rules, each of its own pattern: one too many.
    QByteArray tooMany = "[terrain 2]\n";
    for (int pattern = 0; pattern <= MaxTerrainEdgeRules; ++pattern) {
        QByteArray marks;
        for (int n = 0, rest = pattern; n < TerrainEdgeRules::NeighbourCount; ++n, rest /= 3)
            marks += "so*"[rest % 3];
        tooMany += "rule = " + marks.left(4) + "." + marks.mid(4) + " : 1\n";
    }
    EXPECT_EQ(parseTerrainEdgeRules(tooMany).reason.toStdString(), "line 252: terrain 2 has more than 250 rules");
}

// The windows word a refusal in their language: the line and the fault in it
// each by its own kind, the file's quoted words as they are.
TEST(TerrainEdgeRules, RefusalsAreWordedKindByKind)
{
    const TerrainEdgeRulesResult result = parseTerrainEdgeRules("[terrain 2]\nrule = *** *.* *** : 1 : up\n");
    ASSERT_FALSE(result.ok());
    const auto wording = [](const ReasonKind &kind) {
        return QString::fromLatin1(kind.key) == QLatin1String("rules.line") ? QStringLiteral("Zeile %1 -> %2")
                                                                             : QStringLiteral("<%1>");
    };
    EXPECT_EQ(result.why.worded(wording), "Zeile 2 -> <up>");
    EXPECT_EQ(result.reason, "line 2: \"up\" is not a mirror bit (lr left-right, ud upside-down)");
}

// A file with no rule at all would switch the edge brush on to do nothing; a
// file beyond the size limit is refused before it is looked at.
TEST(TerrainEdgeRules, FilesWithoutRulesOrTooLargeAreRefused)
{
    for (const QByteArray &text : {QByteArray(), QByteArray("; nothing yet\n\n# still nothing\n"), QByteArray("\xEF\xBB\xBF  \r\n")}) {
        SCOPED_TRACE(text.toStdString());
        const TerrainEdgeRulesResult result = parseTerrainEdgeRules(text);
        EXPECT_FALSE(result.ok());
        EXPECT_EQ(result.reason.toStdString(),
                  "the file has no rule: it needs a [terrain N], [river N] or [road N] section with at least one rule");
    }
    // Only a road rule is a file with rules.
    EXPECT_TRUE(parseTerrainEdgeRules("[road 1]\nrule = * * * * : 0\n").ok());

    const QByteArray rule = "[terrain 2]\nrule = *** *.* *** : 1\n";
    QByteArray atLimit = rule + QByteArray(MaxTerrainEdgeRulesBytes - rule.size(), ';');
    EXPECT_TRUE(parseTerrainEdgeRules(atLimit).ok());
    atLimit += ' ';
    EXPECT_EQ(parseTerrainEdgeRules(atLimit).reason.toStdString(),
              "the file is larger than 1048576 bytes, far too large for a rules file");

    TempDir dir;
    const TerrainEdgeRulesResult large = readTerrainEdgeRules(dir.write("large.ini", atLimit));
    EXPECT_EQ(large.reason.toStdString(), "the file is larger than 1048576 bytes, far too large for a rules file");
    // A device without end is read no further than the limit.
    if (QFile::exists(QStringLiteral("/dev/zero"))) {
        const TerrainEdgeRulesResult endless = readTerrainEdgeRules(QStringLiteral("/dev/zero"));
        EXPECT_EQ(endless.reason.toStdString(), "the file is larger than 1048576 bytes, far too large for a rules file");
    }
}

TEST(TerrainEdgeRules, ReadsFilesAndRefusesMissingOnes)
{
    TempDir dir;
    const QString path = dir.write(TerrainEdgeRulesFileName, "\xEF\xBB\xBF[terrain 8]\r\nrule = *** *.* *** : 5\r\n");
    const TerrainEdgeRulesResult read = readTerrainEdgeRules(path);
    ASSERT_TRUE(read.ok()) << read.reason.toStdString();
    EXPECT_EQ(read.rules->rules(Water)[0].pictures, std::vector<std::uint8_t>{5});

    const TerrainEdgeRulesResult missing = readTerrainEdgeRules(dir.filePath("none.ini"));
    EXPECT_FALSE(missing.ok());
    EXPECT_TRUE(missing.reason.startsWith("cannot read " + dir.filePath("none.ini"))) << missing.reason.toStdString();
}

struct NeighbourhoodCase {
    const char *name;
    std::vector<const char *> rows;
    std::uint32_t column;
    std::uint32_t row;
    std::set<int> pictures;  // one of these
    std::uint8_t mirror;
};

TEST(TerrainEdges, NeighbourhoodsChooseTheirPictureAndMirrorBits)
{
    const TerrainEdgeRules rules = testRules();
    const NeighbourhoodCase cases[] = {
        {"inside", {"ggg", "ggg", "ggg"}, 1, 1, {0, 1, 2, 3}, 0},
        {"straight edge, north", {"www", "ggg", "ggg"}, 1, 1, {10}, 0},
        {"straight edge, south", {"ggg", "ggg", "www"}, 1, 1, {10}, MirrorBit::TerrainUpsideDown},
        {"straight edge, west", {"wgg", "wgg", "wgg"}, 1, 1, {13}, MirrorBit::TerrainLeftRight},
        {"outer corner, north-east", {"www", "ggw", "ggw"}, 1, 1, {16}, 0},
        {"outer corner, south-east", {"ggw", "ggw", "www"}, 1, 1, {16}, MirrorBit::TerrainUpsideDown},
        {"inner corner, north-east", {"ggw", "ggg", "ggg"}, 1, 1, {4}, 0},
        {"inner corner, south-west", {"ggg", "ggg", "wgg"}, 1, 1, {4}, TerrainMirror},
        {"a lone cell", {"www", "wgw", "www"}, 1, 1, {22}, 0},
        {"a lone cell among swamp", {"sss", "sgs", "sss"}, 1, 1, {0, 1, 2, 3}, 0},
        {"swamp beside grass", {"ggg", "gsg", "ggg"}, 1, 1, {22}, 0},
        {"the map's border counts as same: top-left", {"gww", "www", "www"}, 0, 0, {16}, MirrorBit::TerrainUpsideDown},
        {"the map's border counts as same: top side", {"ggg", "www", "www"}, 1, 0, {10}, MirrorBit::TerrainUpsideDown},
        {"the map's border counts as same: a corner inside", {"ggg", "ggg", "ggg"}, 2, 2, {0, 1, 2, 3}, 0},
        {"no rule fits: kept", {"wgw", "ggg", "wgw"}, 1, 1, {9}, MirrorBit::RiverLeftRight | MirrorBit::TerrainLeftRight},
        {"no rules for water: kept", {"ggg", "gwg", "ggg"}, 1, 1, {9}, MirrorBit::RiverLeftRight | MirrorBit::TerrainLeftRight},
        {"dirt with dirt to its west", {"www", "ddw", "www"}, 1, 1, {7}, 0},
        {"dirt alone: kept", {"www", "wdd", "www"}, 1, 1, {9}, MirrorBit::RiverLeftRight | MirrorBit::TerrainLeftRight},
    };
    for (const NeighbourhoodCase &c : cases) {
        SCOPED_TRACE(c.name);
        TerrainLayer layer = layerFrom(c.rows);
        TerrainCell &cell = layer.at(c.row, c.column);
        // Rivers, roads and the other mirror bits stay as they are.
        cell.terconf = 9;
        cell.rivtype = 2;
        cell.rivconf = 5;
        cell.roadtype = 3;
        cell.roadconf = 11;
        cell.mirror = 0xC4 | MirrorBit::TerrainLeftRight;
        const TerrainCell edged = edgedCell(rules, layer, c.column, c.row);
        EXPECT_TRUE(c.pictures.count(edged.terconf)) << int(edged.terconf);
        EXPECT_EQ(edged.mirror, 0xC4 | c.mirror);
        EXPECT_EQ(edged.tertype, cell.tertype);
        EXPECT_EQ(edged.rivtype, 2);
        EXPECT_EQ(edged.rivconf, 5);
        EXPECT_EQ(edged.roadtype, 3);
        EXPECT_EQ(edged.roadconf, 11);
    }
}

// A side x side layer of random grass, swamp, water and dirt in blobs, with
// random pictures and mirror bits.
TerrainLayer randomLayer(std::uint32_t side, unsigned seed)
{
    std::mt19937 random(seed);
    TerrainLayer layer(side);
    const std::uint8_t types[] = {Grass, Grass, Swamp, Water, Dirt, Sand};
    for (std::uint32_t row = 0; row < side; ++row)
        for (std::uint32_t column = 0; column < side; ++column) {
            TerrainCell &cell = layer.at(row, column);
            // Mostly the type of the cell above or to the left, so there are areas.
            if (random() % 3 != 0 && (row > 0 || column > 0))
                cell.tertype = random() % 2 && row > 0 ? layer.at(row - 1, column).tertype
                                                      : layer.at(row, column > 0 ? column - 1 : 0).tertype;
            else
                cell.tertype = types[random() % std::size(types)];
            cell.terconf = std::uint8_t(random() % 24);
            cell.mirror = std::uint8_t(random());
        }
    return layer;
}

TEST(TerrainEdges, VariantsDependOnThePositionOnly)
{
    const TerrainEdgeRules rules = testRules();
    TerrainLayer grass(48);
    for (std::size_t i = 0; i < grass.cellCount(); ++i)
        grass.data()[i].tertype = Grass;
    TerrainLayer other = grass;
    for (std::uint32_t row = 30; row < 48; ++row)
        for (std::uint32_t column = 30; column < 48; ++column)
            other.at(row, column).tertype = Water;
    other.at(3, 3).terconf = 70;
    applyTerrainEdgesToLayer(grass, rules);
    applyTerrainEdgesToLayer(other, rules);

    std::set<int> seen;
    for (std::uint32_t row = 0; row < 28; ++row)
        for (std::uint32_t column = 0; column < 28; ++column) {
            const std::uint8_t picture = grass.at(row, column).terconf;
            EXPECT_EQ(picture, edgeVariant(column, row, 4));
            EXPECT_EQ(other.at(row, column).terconf, picture) << column << ',' << row;
            seen.insert(picture);
        }
    EXPECT_EQ(seen, (std::set<int>{0, 1, 2, 3}));
    // Neighbouring cells do not simply count through the variants.
    EXPECT_NE(edgeVariant(1, 0, 4), (edgeVariant(0, 0, 4) + 1) % 4);
    EXPECT_EQ(edgeVariant(5, 9, 1), 0u);
}

TEST(TerrainEdges, WholeLevelIsIdempotentAndTheSameThroughTheEditor)
{
    const TerrainEdgeRules rules = testRules();
    for (const std::uint32_t side : {1u, 2u, 3u, 37u}) {
        SCOPED_TRACE(side);
        MapDocument document = openMap(side, true);
        document.ground = randomLayer(side, side);
        document.underground = randomLayer(side, side + 1);
        const TerrainLayer groundBefore = document.ground;
        TerrainLayer reference = document.underground;

        RecordingEditor recording(document, 1);
        const std::size_t changed = applyTerrainEdgesToLevel(recording.editor, rules);
        EXPECT_EQ(changed, applyTerrainEdgesToLayer(reference, rules));
        EXPECT_EQ(document.underground, reference);
        EXPECT_EQ(document.ground, groundBefore);
        EXPECT_EQ(recording.undoList.count(), changed);
        EXPECT_EQ(recording.redrawn, recording.recordedCells());
        EXPECT_EQ(recording.editor.changedCells(), boundsOf(recording.recordedCells()));

        // Every cell through the cell-by-cell rule as well.
        for (std::uint32_t row = 0; row < side; ++row)
            for (std::uint32_t column = 0; column < side; ++column)
                EXPECT_EQ(edgedCell(rules, reference, column, row), reference.at(row, column)) << column << ',' << row;

        EXPECT_EQ(applyTerrainEdgesToLevel(recording.editor, rules), 0u);
        EXPECT_EQ(applyTerrainEdgesToLayer(reference, rules), 0u);
        EXPECT_EQ(recording.undoList.count(), changed);
    }
}

struct StrokeCase {
    const char *name;
    BrushSelectors brush;
    std::uint16_t column;
    std::uint16_t row;
};

// The edges of a stroke or a fill: the cells it changed and their neighbours
// get what the whole-level rules give them, recorded right after the stroke's
// own records; nothing else changes; undoing both record runs restores the map.
TEST(TerrainEdges, EdgesOfAStrokeFollowItsRecords)
{
    const TerrainEdgeRules rules = testRules();
    const StrokeCase cases[] = {
        {"3 x 3 grass in water", {.CBtertype = Grass, .CBbrushx = 2, .CBbrushy = 2}, 10, 12},
        {"3 x 3 at the map's corner", {.CBtertype = Grass, .CBbrushx = 2, .CBbrushy = 2}, 37, 37},
        {"fill of the water", {.CBtertype = Grass, .CBbrushx = BrushSelectors::BrushFill, .CBbrushy = BrushSelectors::BrushFill}, 20, 20},
    };
    for (const StrokeCase &c : cases) {
        SCOPED_TRACE(c.name);
        MapDocument document = openMap(40, true);
        TerrainLayer start = randomLayer(40, 5);
        for (std::uint32_t row = 8; row < 40; ++row)
            for (std::uint32_t column = 8; column < 40; ++column)
                start.at(row, column).tertype = Water;
        document.underground = start;
        RecordingEditor recording(document, 1);

        const BrushSettings brush = BrushSettings::fromSelectors(c.brush, {});
        ASSERT_GT(PaintAt(recording.editor, brush, {c.column, c.row}, c.column, c.row), 0u);
        const std::size_t strokeRecords = recording.undoList.count();
        const TerrainLayer painted = document.underground;
        const std::vector<CellPosition> changed = recordedPositions(recording.undoList, 0, 1);
        ASSERT_EQ(changed.size(), strokeRecords);
        EXPECT_TRUE(recordedPositions(recording.undoList, 0, 0).empty());

        const std::size_t edged = applyTerrainEdges(recording.editor, rules, changed);
        EXPECT_EQ(recording.undoList.count(), strokeRecords + edged);
        EXPECT_EQ(recording.redrawn, recording.recordedCells());
        EXPECT_EQ(recording.editor.changedCells(), boundsOf(recording.recordedCells()));

        TerrainLayer reference = painted;
        applyTerrainEdgesToLayer(reference, rules);
        std::set<std::pair<int, int>> around;
        for (const CellPosition &position : changed)
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    around.emplace(position.column + dx, position.row + dy);
        for (std::uint32_t row = 0; row < 40; ++row)
            for (std::uint32_t column = 0; column < 40; ++column) {
                const bool near = around.count({int(column), int(row)}) > 0;
                EXPECT_EQ(document.underground.at(row, column), near ? reference.at(row, column) : painted.at(row, column))
                    << column << ',' << row;
            }
        // The edge records follow the stroke's, one per cell, in row-major order.
        for (std::size_t i = strokeRecords + 1; i < recording.undoList.count(); ++i) {
            const UndoRecord &before = recording.undoList.at(i - 1);
            const UndoRecord &after = recording.undoList.at(i);
            EXPECT_LT(std::pair(before.row, before.column), std::pair(after.row, after.column));
        }

        while (!recording.undoList.isEmpty())
            undoLast(document, recording.undoList);
        EXPECT_EQ(document.underground, start);
    }
}

TEST(TerrainEdges, ChangedCellsOutsideTheMapOrWithoutAnEditableLevelChangeNothing)
{
    const TerrainEdgeRules rules = testRules();
    MapDocument document = openMap(6);
    document.ground = randomLayer(6, 3);
    const TerrainLayer before = document.ground;
    RecordingEditor recording(document);
    const std::vector<CellPosition> outside = {{6, 0}, {0, 6}, {200, 200}};
    EXPECT_EQ(applyTerrainEdges(recording.editor, rules, outside), 0u);
    EXPECT_EQ(applyTerrainEdges(recording.editor, rules, {}), 0u);

    // Level 1 chosen on a one-level map: nothing may be written.
    recording.editor.setLevel(1);
    const std::vector<CellPosition> inside = {{2, 2}};
    EXPECT_EQ(applyTerrainEdges(recording.editor, rules, inside), 0u);
    EXPECT_EQ(applyTerrainEdgesToLevel(recording.editor, rules), 0u);
    EXPECT_EQ(document.ground, before);
    EXPECT_TRUE(recording.undoList.isEmpty());
}

}  // namespace
