// Tests of the map check: a level with one planted fault of every kind gives
// exactly that problem (and the clean level none), mirror problems under
// every symmetry, the same list from one thread, two threads and cell by
// cell, and the list kept by re-checking the cells around random edits equal
// to a whole check.
#include "check/MapCheck.h"
#include "check/SymmetryNames.h"
#include "edit/Transforms.h"

#include "CheckFixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

namespace {

struct Expected {
    int x;
    int y;
    ProblemKind kind;
    const char *reason = nullptr;  // checked when given

    friend bool operator==(const Expected &, const Expected &) = default;
};

std::vector<Expected> found(const std::vector<Problem> &problems)
{
    std::vector<Expected> list;
    for (const Problem &problem : problems)
        list.push_back({problem.cell.column, problem.cell.row, problem.kind});
    return list;
}

void PrintTo(const Expected &e, std::ostream *os)
{
    *os << e.x << ',' << e.y << ' ' << problemKindName(e.kind);
}

TEST(MapCheck, EachPlantedFaultGivesExactlyItsProblem)
{
    const TerrainEdgeRules rules = checkRules();
    struct Case {
        const char *name;
        std::function<void(TerrainLayer &)> plant;
        bool reapply;  // the rules mend the pictures around the planted types
        std::vector<Expected> problems;
    };
    const Case cases[] = {
        {"clean", [](TerrainLayer &) {}, false, {}},
        {"a terrain picture", [](TerrainLayer &l) { l.at(3, 3).terconf = 5; }, false,
         {{3, 3, ProblemKind::TerrainPicture, "terrain picture 5, the rules choose 0"}}},
        {"a terrain mirror bit", [](TerrainLayer &l) { l.at(4, 2).mirror |= MirrorBit::TerrainUpsideDown; }, false,
         {{2, 4, ProblemKind::TerrainPicture, "terrain picture 0 ud, the rules choose 0"}}},
        {"a one-cell pond no rule fits", [](TerrainLayer &l) { l.at(3, 2).tertype = Water; }, true,
         {{2, 3, ProblemKind::NoRule, "no terrain rule fits its neighbours (0)"}}},
        {"a road piece in the middle", [](TerrainLayer &l) { l.at(1, 3).roadconf = 1; }, false,
         {{3, 1, ProblemKind::RoadPiece, "road picture 1, the rules choose 0"}}},
        {"a road's end without its end piece", [](TerrainLayer &l) { l.at(1, 1).roadconf = 0; }, false,
         {{1, 1, ProblemKind::RoadEnd, "the road ends without a closing piece (0, the rules choose 12)"}}},
        {"a lone road cell", [](TerrainLayer &l) { l.at(4, 1).roadtype = 1; }, false,
         {{1, 4, ProblemKind::RoadEnd, "the road ends without a closing piece (0, the rules choose 15)"}}},
        {"a river piece facing the wrong way", [](TerrainLayer &l) { l.at(2, 6).mirror |= MirrorBit::RiverLeftRight; }, false,
         {{6, 2, ProblemKind::RiverPiece, "river picture 1 lr, the rules choose 1"}}},
        {"a river's end without its end piece", [](TerrainLayer &l) { l.at(3, 6).rivconf = 1; }, false,
         {{6, 3, ProblemKind::RiverEnd, "the river ends without a closing piece (1, the rules choose 3)"}}},
        {"a river bend no rule fits", [](TerrainLayer &l) { l.at(3, 7).rivtype = 1; }, true,
         {{6, 3, ProblemKind::NoRule, "no river rule fits its neighbours (north, east)"}}},
        {"a road joining one that does not join back", [](TerrainLayer &l) { l.at(1, 5).roadtype = 2; }, true,
         {{4, 1, ProblemKind::RoadJoin, "the road opens to the east, whose piece does not join back"}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TerrainLayer layer = cleanLevel(rules);
        c.plant(layer);
        if (c.reapply)
            applyAllRules(layer, rules);
        const std::vector<Problem> problems = checkLevel(layer, {&rules, SymmetryMode::Off});
        std::vector<Expected> want;
        for (const Expected &e : c.problems)
            want.push_back({e.x, e.y, e.kind});
        ASSERT_EQ(found(problems), want);
        for (std::size_t i = 0; i < problems.size(); ++i)
            EXPECT_EQ(problemReason(problems[i], ProblemTexts::english()).toStdString(), c.problems[i].reason);
    }
}

// A level of the side whose types and pictures mirror each other under the
// mode: the first cell of every group of mirror places copied to the others
// with the transform's mirror bits.
TerrainLayer symmetricLevel(SymmetryMode mode, std::uint32_t side, std::mt19937 &random)
{
    TerrainLayer layer(side);
    for (TerrainCell *cell = layer.data(); cell != layer.data() + layer.cellCount(); ++cell)
        *cell = {std::uint8_t(random() % 10), std::uint8_t(random() % 20), std::uint8_t(random() % 2), 3,
                 std::uint8_t(random() % 3), 5, std::uint8_t(random() % 64)};
    for (std::uint32_t row = 0; row < side; ++row)
        for (std::uint32_t column = 0; column < side; ++column) {
            const CellPosition position{std::uint16_t(column), std::uint16_t(row)};
            const MirrorPlaces places = mirrorPlaces(mode, side, position);
            if (std::any_of(places.begin(), places.end(), [&](const MirrorPlace &p) {
                    return p.position.row * side + p.position.column < row * side + column;
                }))
                continue;
            for (const MirrorPlace &place : places)
                layer.at(place.position.row, place.position.column) =
                    transformedCell(layer.at(row, column), toggledMirrorBits(place.transform));
        }
    return layer;
}

// Under every mode, a type or (where mirror bits can draw the copy) a
// picture changed at one mirror place gives one problem, at the group's
// first cell, naming the changed place.
TEST(MapCheck, MirrorProblemsUnderEverySymmetry)
{
    std::mt19937 random(7);
    for (const SymmetryName &name : symmetryNames()) {
        if (name.mode == SymmetryMode::Off)
            continue;
        SCOPED_TRACE(name.name);
        constexpr std::uint32_t Side = 9;
        const TerrainLayer clean = symmetricLevel(name.mode, Side, random);
        const CheckSettings settings{nullptr, name.mode};
        EXPECT_TRUE(checkLevel(clean, settings).empty());

        const CellPosition first{1, 2};
        const MirrorPlaces places = mirrorPlaces(name.mode, Side, first);
        ASSERT_GT(places.count, 0u);
        const MirrorPlace planted = places.places[places.count - 1];
        // The first of the group in reading order.
        CellPosition head = first;
        for (const MirrorPlace &place : places)
            if (place.position.row * Side + place.position.column < head.row * Side + head.column)
                head = place.position;

        TerrainLayer changedType = clean;
        TerrainCell &typeCell = changedType.at(planted.position.row, planted.position.column);
        typeCell.roadtype = std::uint8_t(typeCell.roadtype + 1);
        std::vector<Problem> problems = checkLevel(changedType, settings);
        ASSERT_EQ(problems.size(), 1u);
        EXPECT_EQ(problems[0].kind, ProblemKind::Mirror);
        EXPECT_EQ(problems[0].cell, head);
        EXPECT_EQ(problems[0].other,
                  head == planted.position ? mirrorPlaces(name.mode, Side, head).places[0].position : planted.position);
        EXPECT_EQ(problems[0].sides, 0);

        TerrainLayer changedPicture = clean;
        TerrainCell &pictureCell = changedPicture.at(planted.position.row, planted.position.column);
        pictureCell.terconf = std::uint8_t(pictureCell.terconf + 1);
        problems = checkLevel(changedPicture, settings);
        // Mirror bits draw the copy at a place the group's first cell reaches
        // by a flip or a half turn, not by a quarter turn or the diagonal.
        const MirrorPlaces fromHead = mirrorPlaces(name.mode, Side, head);
        const bool drawable = std::any_of(fromHead.begin(), fromHead.end(), [&](const MirrorPlace &place) {
            return (head == planted.position || place.position == planted.position) && !swapsSides(place.transform);
        });
        if (!drawable) {
            EXPECT_TRUE(problems.empty()) << "a turned or diagonal copy cannot show its picture turned";
        } else {
            ASSERT_EQ(problems.size(), 1u);
            EXPECT_EQ(problems[0].cell, head);
            EXPECT_EQ(problems[0].sides, 1) << "only the pictures differ";
        }
    }
}

// A level of random types and pictures, with rivers and roads.
TerrainLayer randomLevel(std::uint32_t side, std::mt19937 &random)
{
    TerrainLayer layer(side);
    for (TerrainCell *cell = layer.data(); cell != layer.data() + layer.cellCount(); ++cell)
        *cell = {random() % 4 ? Grass : Water, std::uint8_t(random() % 2), std::uint8_t(random() % 3 == 0),
                 std::uint8_t(random() % 5), std::uint8_t(random() % 4 == 0 ? 1 + random() % 2 : 0),
                 std::uint8_t(random() % 16), std::uint8_t(random() % 64)};
    return layer;
}

TEST(MapCheck, ThreadsAndSingleCellsGiveTheSameList)
{
    const TerrainEdgeRules rules = checkRules();
    std::mt19937 random(11);
    const TerrainLayer layer = randomLevel(600, random);
    for (const SymmetryMode mode : {SymmetryMode::Off, SymmetryMode::FourWay, SymmetryMode::Diagonal}) {
        const CheckSettings settings{&rules, mode};
        const std::vector<Problem> one = checkLevel(layer, settings, 1);
        EXPECT_EQ(checkLevel(layer, settings, 2), one);
        std::vector<Problem> cells;
        for (std::uint32_t row = 0; row < layer.side(); ++row)
            for (std::uint32_t column = 0; column < layer.side(); ++column)
                checkCell(layer, settings, {std::uint16_t(column), std::uint16_t(row)}, cells);
        EXPECT_EQ(cells, one);
        EXPECT_TRUE(std::is_sorted(one.begin(), one.end()));
    }
}

// Random rectangles of random cells, or a few cells anywhere, written into
// the level: re-checking around them (the rectangle, or the cells'
// positions) gives the list a whole check gives, under every symmetry.
TEST(MapCheck, RecheckAroundEditsEqualsWholeCheck)
{
    const TerrainEdgeRules rules = checkRules();
    std::mt19937 random(5);
    for (const SymmetryName &name : symmetryNames()) {
        SCOPED_TRACE(name.name);
        const CheckSettings settings{&rules, name.mode};
        TerrainLayer layer = randomLevel(23, random);
        ProblemList list;
        list.checkAll(layer, settings);
        for (int edit = 0; edit < 200; ++edit) {
            if (edit % 2) {
                // A few cells anywhere, re-checked around their positions.
                std::vector<CellPosition> positions;
                const TerrainLayer cells = randomLevel(2, random);
                for (std::size_t i = 0; i < 1 + random() % 4; ++i) {
                    positions.push_back({std::uint16_t(random() % 23), std::uint16_t(random() % 23)});
                    layer.at(positions.back().row, positions.back().column) = cells.data()[i];
                }
                list.recheck(layer, settings, positions);
                ASSERT_EQ(list.problems(), checkLevel(layer, settings)) << "after edit " << edit;
                continue;
            }
            const int left = int(random() % 23), top = int(random() % 23);
            const QRect rect = QRect(left, top, 1 + int(random() % 3), 1 + int(random() % 3)).intersected(QRect(0, 0, 23, 23));
            const TerrainLayer cells = randomLevel(3, random);
            for (int row = rect.top(); row <= rect.bottom(); ++row)
                for (int column = rect.left(); column <= rect.right(); ++column)
                    layer.at(row, column) = cells.at(row - rect.top(), column - rect.left());
            list.recheck(layer, settings, rect);
            ASSERT_EQ(list.problems(), checkLevel(layer, settings)) << "after edit " << edit;
        }
    }
}

TEST(MapCheck, FirstAtOrAfterFindsTheNextProblemInReadingOrder)
{
    const TerrainEdgeRules rules = checkRules();
    TerrainLayer layer = cleanLevel(rules);
    layer.at(1, 3).roadconf = 1;
    layer.at(3, 3).terconf = 5;
    ProblemList list;
    list.checkAll(layer, {&rules, SymmetryMode::Off});
    ASSERT_EQ(list.problems().size(), 2u);
    EXPECT_EQ(list.firstAtOrAfter({0, 0}), 0u);
    EXPECT_EQ(list.firstAtOrAfter({3, 1}), 0u);
    EXPECT_EQ(list.firstAtOrAfter({4, 1}), 1u);
    EXPECT_EQ(list.firstAtOrAfter({4, 3}), 2u);
}

}  // namespace
