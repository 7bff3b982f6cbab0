// Symmetric painting, transforms and rivers and roads at the editor session:
// an edit and its mirrored copies are one undo step, a cell that is its own
// mirror is written once, a flipped block pastes flipped, and a path laid or
// erased by a drag is one step with its neighbours mended.
#include "session/EditorSession.h"

#include "edit/BrushSettings.h"
#include "edit/PathPieces.h"
#include "edit/TerrainEdges.h"
#include "writers/MapWriter.h"

#include "LayerDifferences.h"
#include "TempDir.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <tuple>
#include <utility>

namespace {

constexpr std::uint8_t Water = 8;

// Road 1 has a piece for every shape a drag draws; road 2 has no rules.
const QByteArray PathRulesText = "[road 1]\n"
                                 "rule = j o j o : 1\n"
                                 "rule = o j o j : 0\n"
                                 "rule = o o j j : 2 : lr ud\n"
                                 "rule = j o o j : 2 : lr\n"
                                 "rule = o j o o : 12\n"
                                 "rule = o o o j : 12 : lr\n"
                                 "rule = j o o o : 11\n"
                                 "rule = o o j o : 11 : ud\n"
                                 "rule = * * * * : 15\n";

BrushSettings waterBrush(std::uint8_t width = 1, std::uint8_t height = 1)
{
    BrushSettings water;
    water.terrainType = Water;
    water.brushWidth = width;
    water.brushHeight = height;
    return water;
}

class SymmetrySessionTest : public testing::Test {
protected:
    // Opens a one-level map of the side with the given ground.
    void open(std::uint32_t side, TerrainLayer ground)
    {
        MapWriter map = MapWriter::patterned(side, false);
        map.layers = {std::move(ground)};
        const MapOpenResult opened = session.open(dir.write("map.vdm", map.data()));
        ASSERT_TRUE(opened.ok()) << opened.reason.toStdString();
    }
    void open(std::uint32_t side) { open(side, TerrainLayer(side)); }
    void loadRules(const QByteArray &text)
    {
        ASSERT_EQ(session.loadEdgeRules(dir.write("terrain-edges.ini", text)).english(), QString());
    }

    const TerrainLayer &ground() const { return session.document().ground; }

    // One step of the brush at (column, row), as a click of the paint tool.
    void click(const BrushSettings &brush, int column, int row)
    {
        session.beginStep();
        session.paint(brush, column, row);
        session.endStep();
    }

    TempDir dir;
    EditorSession session;
};

// Left-right symmetry: a click writes the cell and its mirror, flipped, and
// one undo takes both back; on an odd side the middle column is its own
// mirror and is written once.
TEST_F(SymmetrySessionTest, LeftRightClickWritesTheCellAndItsMirrorInOneStep)
{
    struct Case {
        std::uint32_t side;
        int column;
        Cells expected;
    };
    for (const Case &c : {Case{36, 3, {{3, 5}, {32, 5}}}, Case{35, 17, {{17, 5}}}}) {
        SCOPED_TRACE(c.side);
        open(c.side);
        session.setSymmetry(SymmetryMode::LeftRight);
        const TerrainLayer before = ground();
        const std::size_t records = session.undoList().count();

        click(waterBrush(), c.column, 5);

        EXPECT_EQ(differences(before, ground()), c.expected);
        EXPECT_EQ(session.undoList().count(), records + c.expected.size()) << "each cell recorded once";
        EXPECT_EQ(session.history().undoStepCount(), 1u);
        const TerrainCell mirror = ground().at(5, c.side - 1 - c.column);
        EXPECT_EQ(mirror.tertype, Water);
        if (c.expected.size() == 2) {
            EXPECT_EQ(mirror.mirror & MirrorBit::TerrainLeftRight, MirrorBit::TerrainLeftRight);
        }

        ASSERT_EQ(session.undoStep().outcome, UndoStep::Outcome::Restored);
        EXPECT_EQ(ground(), before);
    }
}

// Four-way symmetry: a fill of a rectangle by the top-left corner lands in all
// four corners as one step; with symmetry off again only the edit changes.
TEST_F(SymmetrySessionTest, FourWayFillLandsInEveryQuarter)
{
    open(12);
    session.setSymmetry(SymmetryMode::FourWay);
    const TerrainLayer before = ground();

    session.fillSelection(waterBrush(), QRect(QPoint(1, 0), QPoint(3, 1)));

    Cells expected;
    for (const std::uint32_t column : {1u, 2u, 3u})
        for (const std::uint32_t row : {0u, 1u})
            for (const auto &[x, y] : {std::pair{column, row}, std::pair{11 - column, row}, std::pair{column, 11 - row},
                                       std::pair{11 - column, 11 - row}})
                expected.emplace(x, y);
    EXPECT_EQ(differences(before, ground()), expected);
    EXPECT_EQ(ground().at(11, 10).mirror & (MirrorBit::TerrainLeftRight | MirrorBit::TerrainUpsideDown),
              MirrorBit::TerrainLeftRight | MirrorBit::TerrainUpsideDown)
        << "the opposite corner is turned half round";
    EXPECT_EQ(session.history().undoStepCount(), 1u);

    session.setSymmetry(SymmetryMode::Off);
    const TerrainLayer filled = ground();
    click(waterBrush(), 5, 5);
    EXPECT_EQ(differences(filled, ground()), (Cells{{5, 5}}));

    ASSERT_EQ(session.undoStep().outcome, UndoStep::Outcome::Restored);
    ASSERT_EQ(session.undoStep().outcome, UndoStep::Outcome::Restored);
    EXPECT_EQ(ground(), before);
}

// The copies of an edit lie apart: each quarter they were written in is told
// on its own, none of the notices reaching over the middle of the level, and
// together they hold every cell written.
TEST_F(SymmetrySessionTest, AMirroredEditIsToldQuarterByQuarter)
{
    for (const SymmetryMode mode : {SymmetryMode::Off, SymmetryMode::LeftRight, SymmetryMode::TopBottom,
                                    SymmetryMode::FourWay, SymmetryMode::HalfTurn, SymmetryMode::QuarterTurn,
                                    SymmetryMode::Diagonal}) {
        SCOPED_TRACE(int(mode));
        open(13);
        session.setSymmetry(mode);
        const TerrainLayer before = ground();
        QSignalSpy notices(&session, &EditorSession::cellsChanged);
        click(waterBrush(2, 1), 1, 2);
        QList<QRect> told;
        for (const QList<QVariant> &notice : notices) {
            EXPECT_EQ(notice.at(0).toInt(), 0);
            told << notice.at(1).toRect();
            EXPECT_FALSE(told.back().contains(6, 6)) << "the middle is not told";
        }
        for (const auto &[column, row] : differences(before, ground()))
            EXPECT_TRUE(std::any_of(told.begin(), told.end(),
                                    [&](const QRect &rect) { return rect.contains(int(column), int(row)); }))
                << column << ", " << row << " written but not told";
    }
}

// A replace fill works out its own pictures by the rules, with the edge brush
// off: its mirrored copy takes its pictures, and its neighbours theirs, from
// the rules too, in the fill's one step.
TEST_F(SymmetrySessionTest, AMirroredReplaceFillTakesItsEdgesFromTheRules)
{
    const QByteArray rules = "[terrain 0]\n"
                             "rule = sss s.s sss : 0\n"
                             "rule = *** *.* *** : 20 : lr\n"
                             "[terrain 2]\n"
                             "rule = sss s.s sss : 7\n"
                             "rule = *** *.* *** : 9 : ud\n";
    TerrainLayer lake(12);
    for (std::uint32_t row = 2; row < 5; ++row)
        for (std::uint32_t column = 1; column < 3; ++column)
            lake.at(row, column).tertype = Water;
    open(12, lake);
    loadRules(rules);
    session.setSymmetry(SymmetryMode::LeftRight);
    BrushSettings grass;
    grass.terrainType = 2;

    EXPECT_GT(session.replaceFill(grass, 1, 2, false), 0u);

    EXPECT_EQ(session.history().undoStepCount(), 1u);
    const TerrainEdgeRules edges = *parseTerrainEdgeRules(rules).rules;
    for (std::uint32_t row = 0; row < 12; ++row)
        for (std::uint32_t column = 0; column < 12; ++column) {
            const bool filled = row >= 2 && row < 5 && (column == 1 || column == 2 || column == 9 || column == 10);
            EXPECT_EQ(ground().at(row, column).tertype, filled ? 2 : 0) << column << ',' << row;
            EXPECT_EQ(ground().at(row, column), edgedCell(edges, ground(), column, row)) << column << ',' << row;
        }
    session.undoStep();
    EXPECT_EQ(ground(), lake);
}

// Fill any terrain writes the terrain alone: with "no river, no road" in the
// panel (as the picker leaves it after a water cell) the region's rivers and
// roads stay, and a mirrored fill keeps its copy's rivers and roads too.
TEST_F(SymmetrySessionTest, FillAnyTerrainKeepsRiversAndRoads)
{
    TerrainLayer meadow(8);
    for (std::uint32_t i = 0; i < 64; ++i)
        meadow.data()[i].tertype = 2;
    meadow.at(2, 1) = {2, 0, 1, 3, 0, 0, MirrorBit::RiverLeftRight};
    meadow.at(3, 1) = {2, 0, 0, 0, 2, 5, 0};
    meadow.at(3, 6) = {2, 0, 0, 0, 2, 5, 0};
    open(8, meadow);
    session.setSymmetry(SymmetryMode::LeftRight);
    BrushSettings picked;
    picked.terrainType = 3;
    picked.paintRiver = picked.paintRoad = true;

    EXPECT_EQ(session.replaceFill(picked, 0, 0, false), 64u);

    for (std::uint32_t row = 0; row < 8; ++row)
        for (std::uint32_t column = 0; column < 8; ++column) {
            const TerrainCell &cell = ground().at(row, column);
            EXPECT_EQ(cell.tertype, 3);
            EXPECT_EQ(std::make_tuple(cell.rivtype, cell.rivconf, cell.roadtype, cell.roadconf, cell.mirror & 0x3C),
                      std::make_tuple(meadow.at(row, column).rivtype, meadow.at(row, column).rivconf,
                                      meadow.at(row, column).roadtype, meadow.at(row, column).roadconf,
                                      meadow.at(row, column).mirror & 0x3C))
                << column << ',' << row;
        }
}

// Symmetry copies what the operation wrote, never what the rules did after
// it. On a 4 x 4 map whose left column is water: fill any terrain at (0,0)
// with water (its picture 0 over the column's 5) under left-right symmetry
// makes the right column water and nothing else; under four-way the same;
// fix all edges is not mirrored and changes no type.
TEST_F(SymmetrySessionTest, SymmetryNeverCopiesWhatTheRulesDid)
{
    const QByteArray rules = "[terrain 8]\n"
                             "rule = sss s.s sss : 0\n"
                             "rule = *** *.* *** : 10 : lr\n"
                             "[terrain 2]\n"
                             "rule = sss s.s sss : 7\n"
                             "rule = *** *.* *** : 9 : ud\n";
    for (const SymmetryMode mode : {SymmetryMode::LeftRight, SymmetryMode::FourWay}) {
        SCOPED_TRACE(int(mode));
        TerrainLayer shore(4);
        for (std::uint32_t row = 0; row < 4; ++row)
            for (std::uint32_t column = 0; column < 4; ++column)
                shore.at(row, column) = column == 0 ? TerrainCell{Water, 5} : TerrainCell{2, 7};
        open(4, shore);
        loadRules(rules);
        session.setSymmetry(mode);
        session.setEdgeBrush(true);

        session.replaceFill(waterBrush(), 0, 0, false);
        for (std::uint32_t row = 0; row < 4; ++row)
            for (std::uint32_t column = 0; column < 4; ++column)
                EXPECT_EQ(ground().at(row, column).tertype, column == 0 || column == 3 ? Water : 2)
                    << column << ',' << row;

        const TerrainLayer filled = ground();
        session.fixAllEdges();
        for (std::uint32_t row = 0; row < 4; ++row)
            for (std::uint32_t column = 0; column < 4; ++column)
                EXPECT_EQ(ground().at(row, column).tertype, filled.at(row, column).tertype) << column << ',' << row;
    }
}

// A river laid beside a painted water cell under left-right symmetry, with
// the edge brush off, changes no terrain on either side: the path's rules
// re-piece rivers only, and the two sides stay alike.
TEST_F(SymmetrySessionTest, AMirroredPathLeavesTheTerrainOfBothSidesAlone)
{
    open(8);
    loadRules("[terrain 8]\nrule = sss s.s sss : 0\nrule = *** *.* *** : 10 : lr\n"
              "[river 1]\nrule = * * * * : 4\n");
    session.setSymmetry(SymmetryMode::LeftRight);
    click(waterBrush(), 1, 3);
    const TerrainLayer painted = ground();
    session.beginStep(StepKind::Path);
    session.layPath(PathLayer::River, 1, {2, 2}, {2, 4}, false, 0);
    session.endStep();
    for (std::uint32_t row = 0; row < 8; ++row)
        for (std::uint32_t column = 0; column < 8; ++column) {
            const TerrainCell &cell = ground().at(row, column);
            const TerrainCell &before = painted.at(row, column);
            EXPECT_EQ(std::make_tuple(cell.tertype, cell.terconf, cell.mirror & 3),
                      std::make_tuple(before.tertype, before.terconf, before.mirror & 3))
                << column << ',' << row;
            EXPECT_EQ(cell.rivtype, ground().at(row, 7 - column).rivtype) << column << ',' << row;
        }
}

// Copied cells flipped left to right paste reversed with their mirror bits
// toggled; a quarter turn of a selection that is not square is refused and
// changes nothing; a flip of a selection is one step.
TEST_F(SymmetrySessionTest, TransformsOfTheClipboardAndTheSelection)
{
    TerrainLayer ground(10);
    for (std::uint32_t column = 0; column < 3; ++column)
        ground.at(0, column).tertype = std::uint8_t(column + 1);
    open(10, ground);
    ASSERT_TRUE(session.copy(QRect(QPoint(0, 0), QPoint(2, 0))));

    const TransformResult flipped = session.transform(Transform::FlipHorizontal, {TransformTarget::Kind::Clipboard, QRect()});
    ASSERT_TRUE(flipped.ok()) << transformRefusalText(flipped.refusal).toStdString();
    EXPECT_EQ(session.history().undoStepCount(), 0u) << "the block is no part of the map";
    session.paste(4, 4);
    for (std::uint32_t column = 0; column < 3; ++column) {
        EXPECT_EQ(this->ground().at(4, 4 + column).tertype, 3 - column);
        EXPECT_EQ(this->ground().at(4, 4 + column).mirror, LeftRightMirrorBits);
    }

    const TerrainLayer pasted = this->ground();
    const TransformResult refused =
        session.transform(Transform::Turn90, {TransformTarget::Kind::Selection, QRect(QPoint(4, 4), QPoint(6, 4))});
    EXPECT_FALSE(refused.ok());
    EXPECT_EQ(this->ground(), pasted);
    EXPECT_EQ(session.history().undoStepCount(), 1u);

    const TransformResult back =
        session.transform(Transform::FlipHorizontal, {TransformTarget::Kind::Selection, QRect(QPoint(4, 4), QPoint(6, 4))});
    ASSERT_TRUE(back.ok());
    for (std::uint32_t column = 0; column < 3; ++column)
        EXPECT_EQ(this->ground().at(4, 4 + column), ground.at(0, column));
    EXPECT_EQ(session.history().undoStepCount(), 2u);
    session.undoStep();
    EXPECT_EQ(this->ground(), pasted);
}

class PathSessionTest : public SymmetrySessionTest {
protected:
    void SetUp() override
    {
        open(16);
        loadRules(PathRulesText);
        ASSERT_TRUE(session.hasPathRules());
        paths = parseTerrainEdgeRules(PathRulesText).rules->paths();
    }

    // Every cell of the ground as the road rules leave it.
    void expectPieced()
    {
        for (std::uint32_t row = 0; row < 16; ++row)
            for (std::uint32_t column = 0; column < 16; ++column)
                EXPECT_EQ(ground().at(row, column), piecedCell(paths, PathLayer::Road, ground(), column, row))
                    << column << ',' << row;
    }

    PathRules paths;
};

// A drag that lays a road east then south is one step with an end, straights
// and a bend; a drag that erases the southern arm is another, and mends the
// bend into an end; undo takes each back whole.
TEST_F(PathSessionTest, ARoadLaidAndErasedByDragsIsOneStepEach)
{
    const TerrainLayer before = ground();
    session.beginStep();
    EXPECT_FALSE(session.layPath(PathLayer::Road, 1, {2, 5}, {6, 5}, false, 0).rulesMissing);
    session.layPath(PathLayer::Road, 1, {6, 5}, {6, 8}, false, 0);
    session.endStep();
    EXPECT_EQ(session.history().undoStepCount(), 1u);
    EXPECT_EQ(ground().at(5, 2).roadconf, 12);
    EXPECT_EQ(ground().at(5, 4).roadconf, 0);
    EXPECT_EQ(ground().at(5, 6).roadconf, 2);
    EXPECT_EQ(ground().at(5, 6).mirror, MirrorBit::RoadLeftRight | MirrorBit::RoadUpsideDown);
    EXPECT_EQ(ground().at(8, 6).roadconf, 11);
    expectPieced();
    const TerrainLayer laid = ground();

    session.beginStep();
    session.layPath(PathLayer::Road, 1, {6, 6}, {6, 8}, true, 0);
    session.endStep();
    EXPECT_EQ(session.history().undoStepCount(), 2u);
    EXPECT_EQ(ground().at(8, 6).roadtype, 0);
    EXPECT_EQ(ground().at(5, 6).roadconf, 12) << "the bend is mended into an end";
    EXPECT_EQ(ground().at(5, 6).mirror, MirrorBit::RoadLeftRight);
    expectPieced();

    session.undoStep();
    EXPECT_EQ(ground(), laid);
    session.undoStep();
    EXPECT_EQ(ground(), before);

    const PathLaid missing = session.layPath(PathLayer::Road, 2, {1, 1}, {1, 2}, false, 7);
    EXPECT_TRUE(missing.rulesMissing);
    EXPECT_EQ(ground().at(1, 1).roadconf, 7) << "the fallback picture";
    EXPECT_EQ(session.history().undoStepCount(), 1u) << "a call outside a step is a step";
}

// Under left-right symmetry a road's mirrored copy takes its pieces from the
// rules, so both halves are pieced, in one step.
TEST_F(PathSessionTest, AMirroredRoadIsPiecedByTheRules)
{
    session.setSymmetry(SymmetryMode::LeftRight);
    session.beginStep();
    session.layPath(PathLayer::Road, 1, {1, 3}, {4, 3}, false, 0);
    session.layPath(PathLayer::Road, 1, {4, 3}, {4, 6}, false, 0);
    session.endStep();
    EXPECT_EQ(session.history().undoStepCount(), 1u);
    EXPECT_EQ(ground().at(6, 11).roadtype, 1);
    EXPECT_EQ(ground().at(3, 14).roadtype, 1);
    expectPieced();
}

// Laying a road beside a road under left-right symmetry adds a road at the
// mirror of the laid cells only, and erasing one takes off its mirror only:
// the neighbours the rules re-pieced are not copied with their types.
TEST_F(PathSessionTest, AMirroredRoadCopiesOnlyTheCellsLaid)
{
    TerrainLayer road(16);
    for (std::uint32_t column = 2; column < 5; ++column)
        road.at(4, column).roadtype = 1;
    open(16, road);
    loadRules(PathRulesText);
    session.setSymmetry(SymmetryMode::LeftRight);

    session.layPath(PathLayer::Road, 1, {5, 4}, {5, 4}, false, 0);
    for (std::uint32_t column = 0; column < 16; ++column)
        EXPECT_EQ(ground().at(4, column).roadtype, (column >= 2 && column <= 5) || column == 10 ? 1 : 0) << column;

    session.layPath(PathLayer::Road, 1, {3, 4}, {3, 4}, true, 0);
    for (std::uint32_t column = 0; column < 16; ++column)
        EXPECT_EQ(ground().at(4, column).roadtype, column == 2 || column == 4 || column == 5 || column == 10 ? 1 : 0)
            << column;
    expectPieced();
}

// Drawing a road over a road of its own type with a wrong piece mends the
// piece, though the drag writes no type there; under left-right symmetry the
// mirror image's wrong piece is mended too, and undo gives both back.
TEST_F(PathSessionTest, ARoadDrawnOverItselfMendsItsPieces)
{
    for (const SymmetryMode mode : {SymmetryMode::Off, SymmetryMode::LeftRight}) {
        SCOPED_TRACE(int(mode));
        open(16);
        loadRules(PathRulesText);
        session.setSymmetry(mode);
        session.layPath(PathLayer::Road, 1, {2, 5}, {6, 5}, false, 0);
        TerrainLayer broken = ground();
        broken.at(5, 4).roadconf = 9;
        broken.at(5, 11).roadconf = 9;
        open(16, broken);
        loadRules(PathRulesText);
        session.setSymmetry(mode);

        session.layPath(PathLayer::Road, 1, {3, 5}, {5, 5}, false, 0);
        EXPECT_EQ(ground().at(5, 4).roadconf, 0);
        EXPECT_EQ(ground().at(5, 11).roadconf, mode == SymmetryMode::Off ? 9 : 0);
        session.undoStep();
        EXPECT_EQ(ground(), broken);
    }
}

// Shift+click draws on from the last point laid on this map and level only:
// undo, another level and another map forget it.
TEST_F(PathSessionTest, TheLastPathPointIsForgottenByUndoAndAnotherMap)
{
    session.layPath(PathLayer::Road, 1, {2, 5}, {6, 5}, false, 0);
    EXPECT_EQ(session.lastPathPoint(), QPoint(6, 5));
    session.undoStep();
    EXPECT_EQ(session.lastPathPoint(), QPoint(-1, -1)) << "the path it ended was undone";
    session.layPath(PathLayer::Road, 1, {2, 5}, {3, 5}, false, 0);
    session.selectLevel(0);
    EXPECT_EQ(session.lastPathPoint(), QPoint(-1, -1));
    session.layPath(PathLayer::Road, 1, {2, 5}, {3, 5}, false, 0);
    open(16);
    EXPECT_EQ(session.lastPathPoint(), QPoint(-1, -1));
}

// "Fix all roads and rivers" pieces every road of the level as one step and
// then finds nothing more to do.
TEST_F(PathSessionTest, FixAllPathsIsOneStep)
{
    TerrainLayer roads(16);
    for (std::uint32_t column = 3; column < 9; ++column)
        roads.at(7, column).roadtype = 1;
    for (std::uint32_t row = 7; row < 12; ++row)
        roads.at(row, 3).roadtype = 1;
    open(16, roads);
    loadRules(PathRulesText);

    EXPECT_GT(session.fixAllPaths(), 0u);
    EXPECT_EQ(session.history().undoStepCount(), 1u);
    expectPieced();
    EXPECT_EQ(session.fixAllPaths(), 0u);
    session.undoStep();
    EXPECT_EQ(ground(), roads);
}

}  // namespace
