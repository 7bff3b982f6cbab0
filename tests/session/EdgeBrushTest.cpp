// The edge brush and "Fix all edges" at the editor session: a stroke's edges
// belong to the stroke's undo step, the brush switched off leaves the painted
// cells alone, the whole-level fix is one step, and a broken rules file leaves
// the session without rules.
#include "session/EditorSession.h"

#include "edit/BrushSettings.h"
#include "edit/TerrainEdges.h"
#include "writers/MapWriter.h"

#include "LayerDifferences.h"
#include "TempDir.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace {

constexpr std::uint8_t Dirt = 0, Water = 8;

// Dirt borders keep a picture of their own, so a stroke of water shows in the
// dirt around it; a lone water cell differs from the inside of a lake.
const QByteArray Rules = "[terrain 0]\n"
                         "rule = sss s.s sss : 0 1 2 3\n"
                         "rule = *** *.* *** : 20 : lr\n"
                         "[terrain 8]\n"
                         "rule = *o* o.o *o* : 30 : ud\n"
                         "rule = *** *.* *** : 5 6\n";

// The cells and their eight neighbours inside a map of the side.
Cells withNeighbours(const Cells &cells, std::uint32_t side)
{
    Cells around;
    for (const auto &[column, row] : cells)
        for (std::uint32_t y = row > 0 ? row - 1 : 0; y <= std::min(row + 1, side - 1); ++y)
            for (std::uint32_t x = column > 0 ? column - 1 : 0; x <= std::min(column + 1, side - 1); ++x)
                around.emplace(x, y);
    return around;
}

// A two-level 36 x 36 map of plain dirt, opened, with the rules loaded.
class EdgeBrushTest : public testing::Test {
protected:
    void SetUp() override
    {
        MapWriter map = MapWriter::patterned(Side, true);
        map.layers = {TerrainLayer(Side), TerrainLayer(Side)};
        const MapOpenResult opened = session.open(dir.write("map.vdm", map.data()));
        ASSERT_TRUE(opened.ok()) << opened.reason.toStdString();
        ASSERT_EQ(session.loadEdgeRules(dir.write("terrain-edges.ini", Rules)).english(), QString());
        ASSERT_TRUE(session.hasEdgeRules());
        rules = *parseTerrainEdgeRules(Rules).rules;
    }

    const TerrainLayer &ground() const { return session.document().ground; }

    static constexpr std::uint32_t Side = 36;
    TempDir dir;
    EditorSession session;
    TerrainEdgeRules rules;
};

// A stroke of two 3 x 2 dabs of water, one of them at the map's corner, with
// the edge brush off and on. Off: only the painted cells change. On: the
// painted cells and their neighbours get what the rules give them and nothing
// else changes. Either way one undo step takes the whole stroke back and one
// redo puts it back.
TEST_F(EdgeBrushTest, AStrokeAndItsEdgesAreOneUndoStep)
{
    BrushSettings water;
    water.terrainType = Water;
    water.brushWidth = 3;
    water.brushHeight = 2;
    for (const bool edgeBrush : {false, true}) {
        SCOPED_TRACE(edgeBrush ? "edge brush on" : "edge brush off");
        session.setEdgeBrush(edgeBrush);
        const TerrainLayer before = ground();
        const std::size_t stepsBefore = session.history().undoStepCount();
        QSignalSpy changedNotices(&session, &EditorSession::cellsChanged);

        session.beginStep();
        ASSERT_GT(session.paint(water, 10, 12), 0u);
        ASSERT_GT(session.paint(water, 0, 0), 0u);
        session.endStep();

        Cells painted;
        for (std::uint32_t row = 0; row < Side; ++row)
            for (std::uint32_t column = 0; column < Side; ++column)
                if (ground().at(row, column).tertype == Water)
                    painted.emplace(column, row);
        ASSERT_EQ(painted.size(), 12u);
        const Cells changed = differences(before, ground());
        const Cells around = withNeighbours(painted, Side);
        if (edgeBrush) {
            for (const auto &[column, row] : around)
                EXPECT_EQ(ground().at(row, column), edgedCell(rules, ground(), column, row)) << column << ',' << row;
            for (const auto &cell : changed)
                EXPECT_TRUE(around.count(cell)) << cell.first << ',' << cell.second;
            EXPECT_EQ(ground().at(14, 13).terconf, 20) << "the dirt beside the stroke shows its border";
            EXPECT_EQ(changedNotices.count(), 3) << "two dabs and their edges";
        } else {
            EXPECT_EQ(changed, painted);
            EXPECT_EQ(changedNotices.count(), 2);
        }
        EXPECT_EQ(session.history().undoStepCount(), stepsBefore + 1);

        const TerrainLayer stroked = ground();
        ASSERT_EQ(session.undoStep().outcome, UndoStep::Outcome::Restored);
        EXPECT_EQ(ground(), before);
        EXPECT_EQ(session.history().undoStepCount(), stepsBefore);
        ASSERT_EQ(session.redoStep().outcome, UndoStep::Outcome::Restored);
        EXPECT_EQ(ground(), stroked);
        ASSERT_EQ(session.undoStep().outcome, UndoStep::Outcome::Restored);
        EXPECT_EQ(ground(), before);
    }
}

// "Fix all edges" edges every cell of the shown level, as the library edges a
// layer, as one undo step announced by one notice; the other level stays; a
// second fix finds nothing to do.
TEST_F(EdgeBrushTest, FixAllEdgesIsOneUndoStep)
{
    BrushSettings water;
    water.terrainType = Water;
    water.brushWidth = 4;
    water.brushHeight = 3;
    session.paint(water, 20, 5);
    session.paint(water, 2, 30);
    const TerrainLayer painted = ground();
    const TerrainLayer underground = session.document().underground;
    const std::size_t stepsBefore = session.history().undoStepCount();
    QSignalSpy changedNotices(&session, &EditorSession::cellsChanged);

    TerrainLayer expected = painted;
    const std::size_t expectedCount = applyTerrainEdgesToLayer(expected, rules);
    ASSERT_GT(expectedCount, 0u);
    EXPECT_EQ(session.fixAllEdges(), expectedCount);
    EXPECT_EQ(ground(), expected);
    EXPECT_EQ(session.document().underground, underground);
    EXPECT_EQ(session.history().undoStepCount(), stepsBefore + 1);
    ASSERT_EQ(changedNotices.count(), 1);
    EXPECT_EQ(changedNotices.at(0).at(0).toInt(), 0);
    EXPECT_EQ(changedNotices.at(0).at(1).toRect(), QRect(0, 0, int(Side), int(Side)));

    EXPECT_EQ(session.fixAllEdges(), 0u);
    EXPECT_EQ(session.history().undoStepCount(), stepsBefore + 1);

    ASSERT_EQ(session.undoStep().outcome, UndoStep::Outcome::Restored);
    EXPECT_EQ(ground(), painted);
    EXPECT_EQ(session.history().undoStepCount(), stepsBefore);
}

struct BrokenRules {
    const char *name;
    QByteArray text;
    int line;
};

// A rules file with a fault is refused with the line at fault, and the session
// is left with no rules at all, even when good rules were loaded before: the
// edge brush and "Fix all edges" then change nothing.
TEST_F(EdgeBrushTest, ABrokenRulesFileLeavesNoRules)
{
    const BrokenRules cases[] = {
        {"picture beyond the type's last", "[terrain 8]\nrule = *** *.* *** : 33\n", 2},
        {"rule before any section", "; rules\n\nrule = *** *.* *** : 1\n", 3},
        {"neighbourhood of eight marks", "[terrain 0]\nrule = sss s.s sss : 0\nrule = sss ss sss : 1\n", 3},
        {"section without rules", "[terrain 0]\nsame = 2\n[terrain 2]\nrule = *** *.* *** : 1\n", 1},
        {"unknown terrain type", Rules + "[terrain 10]\n", 7},
    };
    BrushSettings water;
    water.terrainType = Water;
    for (const BrokenRules &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(session.loadEdgeRules(dir.write("terrain-edges.ini", Rules)).english(), QString());
        const QString reason = session.loadEdgeRules(dir.write("broken.ini", c.text)).english();
        EXPECT_TRUE(reason.startsWith(QStringLiteral("line %1: ").arg(c.line))) << reason.toStdString();
        EXPECT_FALSE(session.hasEdgeRules());

        session.setEdgeBrush(true);
        const TerrainLayer before = ground();
        session.beginStep();
        session.paint(water, 17, 17);
        session.endStep();
        EXPECT_EQ(differences(before, ground()), (Cells{{17, 17}}));
        EXPECT_EQ(session.fixAllEdges(), 0u);
        session.undoStep();
        EXPECT_EQ(ground(), before);
    }
}

}  // namespace
