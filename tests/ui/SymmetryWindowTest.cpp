// Symmetry, transforms and the road tool in the main window: with left-right
// symmetry one right click paints a cell and its mirror and one Ctrl+Z takes
// both back, Ctrl+M steps through the modes and moves the grid's guides, a
// transform entry flips the level as a step, each mirror-half entry gives the
// bytes of the command-line tool, and a road drag is one step.
#include "ui/PathTool.h"
#include "ui/ToolIcons.h"

#include "CliRunner.h"
#include "DesktopWindow.h"

#include <QMenu>

namespace {

// Road 1: a straight piece for east-west, anything else picture 15.
const QByteArray Rules = "[road 1]\n"
                         "rule = o j o j : 0\n"
                         "rule = * * * * : 15\n";

class SymmetryWindow : public DesktopWindow {
protected:
    SymmetryWindow() { edgeRules = Rules; }

    void SetUp() override
    {
        DesktopWindow::SetUp();
        openMap();
    }
    const TerrainLayer &ground() const { return context->session.document().ground; }
};

TEST_F(SymmetryWindow, ALeftRightClickPaintsTwoCellsAndOneUndoTakesBothBack)
{
    trigger("actionSymmetry1");
    EXPECT_EQ(context->session.symmetry(), SymmetryMode::LeftRight);
    EXPECT_EQ(grid->symmetryGuides(), SymmetryMode::LeftRight);
    EXPECT_TRUE(action("actionSymmetry1")->isChecked());

    choose("CBtertype", 2);
    stroke({{5, 9}});
    EXPECT_EQ(type(5, 9), 2);
    EXPECT_EQ(type(30, 9), 2) << "the mirrored cell";
    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(type(5, 9), 0);
    EXPECT_EQ(type(30, 9), 0);

    // Ctrl+M steps on to top-bottom, checks it and moves the guides.
    QTest::keyClick(window.get(), Qt::Key_M, Qt::ControlModifier);
    EXPECT_EQ(context->session.symmetry(), SymmetryMode::TopBottom);
    EXPECT_TRUE(action("actionSymmetry2")->isChecked());
    EXPECT_EQ(grid->symmetryGuides(), SymmetryMode::TopBottom);
    stroke({{5, 9}});
    EXPECT_EQ(type(5, 26), 2);
    EXPECT_EQ(type(30, 9), 0);
}

TEST_F(SymmetryWindow, CtrlMStepsFromTheHalfTurnToTheQuarterTurnWhichPaintsFourImages)
{
    trigger("actionSymmetry4");
    QTest::keyClick(window.get(), Qt::Key_M, Qt::ControlModifier);
    EXPECT_EQ(context->session.symmetry(), SymmetryMode::QuarterTurn);
    EXPECT_TRUE(action("actionSymmetry6")->isChecked());
    EXPECT_EQ(grid->symmetryGuides(), SymmetryMode::QuarterTurn);

    choose("CBtertype", 2);
    stroke({{5, 9}});
    for (const auto &[column, row] : {std::pair{5, 9}, std::pair{26, 5}, std::pair{30, 26}, std::pair{9, 30}})
        EXPECT_EQ(type(column, row), 2) << column << ", " << row;
    EXPECT_EQ(type(30, 9), 0) << "no mirror image";
    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(type(26, 5), 0);

    // The cycle goes on to the diagonal, then back to off.
    QTest::keyClick(window.get(), Qt::Key_M, Qt::ControlModifier);
    EXPECT_EQ(context->session.symmetry(), SymmetryMode::Diagonal);
    QTest::keyClick(window.get(), Qt::Key_M, Qt::ControlModifier);
    EXPECT_EQ(context->session.symmetry(), SymmetryMode::Off);
}

TEST_F(SymmetryWindow, FlippingTheLevelIsOneStep)
{
    const TerrainLayer before = ground();
    trigger("actionFlipLeftRightLevel");
    EXPECT_EQ(type(31, 3), 8) << "the water cell moved across";
    EXPECT_EQ(type(4, 3), 0);
    trigger("actionUndoStep");
    EXPECT_EQ(ground(), before);
}

TEST_F(SymmetryWindow, EachMirrorHalfEntryGivesTheBytesOfTheToolAsOneStep)
{
    // Patterned cells on an odd side: nothing lines up with a mirror, and
    // the middle column and row stay.
    const QString patterned = dir.write("patterned.vdm", MapWriter::patterned(35, true).data());
    window->openFile(patterned);
    ASSERT_EQ(context->session.document().mapSize, 35u);
    const auto bytes = [this] { return serializeMapData(context->session.document()); };
    const QByteArray before = bytes();
    const std::pair<const char *, const char *> cases[] = {{"actionMirrorLeftHalf", "left"},
                                                           {"actionMirrorRightHalf", "right"},
                                                           {"actionMirrorTopHalf", "top"},
                                                           {"actionMirrorBottomHalf", "bottom"}};
    for (const auto &[name, word] : cases) {
        SCOPED_TRACE(word);
        trigger(name);
        EXPECT_NE(bytes(), before);

        const QString toolOut = dir.filePath("tool.vdm");
        const CliRun run = runCli({"transform", patterned, toolOut, "--mirror-half", QString::fromLatin1(word), "--rules",
                                   dir.filePath("terrain-edges.ini")});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        MapLoadResult tool = loadMapData(readFile(toolOut));
        ASSERT_TRUE(tool.ok());
        EXPECT_EQ(serializeMapData(*tool.document), bytes());

        trigger("actionUndoStep");
        EXPECT_EQ(bytes(), before) << "one step";
    }
}

TEST_F(SymmetryWindow, ARoadDragIsOneStep)
{
    BrushSettings brush;
    brush.roadType = 1;
    PathTool road(toolLook(context->texts.toolroad, ToolGlyph::Road, Qt::Key_R), context->session, PathLayer::Road, brush);
    bool noted = false;
    road.setRulesMissingNote([&noted] { noted = true; });
    EXPECT_FALSE(road.icon().isNull());

    // A drag that jumps two cells at a time still lays a road without gaps.
    road.press({{10, 20}, Qt::RightButton, Qt::RightButton, {}});
    road.move({{12, 20}, Qt::NoButton, Qt::RightButton, {}});
    road.move({{14, 20}, Qt::NoButton, Qt::RightButton, {}});
    road.release({{14, 20}, Qt::RightButton, Qt::NoButton, {}});
    for (int column = 10; column <= 14; ++column)
        EXPECT_EQ(ground().at(20, column).roadtype, 1) << column;
    EXPECT_EQ(ground().at(20, 12).roadconf, 0) << "the rules' straight piece";
    EXPECT_FALSE(noted);

    // Shift+click draws on from the last point; Ctrl erases.
    road.press({{14, 23}, Qt::RightButton, Qt::RightButton, Qt::ShiftModifier});
    road.release({{14, 23}, Qt::RightButton, Qt::NoButton, {}});
    EXPECT_EQ(ground().at(22, 14).roadtype, 1);
    road.press({{14, 22}, Qt::RightButton, Qt::RightButton, Qt::ControlModifier});
    road.release({{14, 22}, Qt::RightButton, Qt::NoButton, {}});
    EXPECT_EQ(ground().at(22, 14).roadtype, 0);

    trigger("actionUndoStep");
    EXPECT_EQ(ground().at(22, 14).roadtype, 1);
    trigger("actionUndoStep");
    EXPECT_EQ(ground().at(22, 14).roadtype, 0);
    EXPECT_EQ(ground().at(20, 14).roadtype, 1);
    trigger("actionUndoStep");
    EXPECT_EQ(ground().at(20, 12).roadtype, 0) << "the whole drag went back at once";

    // A type without rules is laid with the panel's picture, and the window is told.
    brush.roadType = 2;
    road.press({{3, 30}, Qt::RightButton, Qt::RightButton, {}});
    road.release({{3, 30}, Qt::RightButton, Qt::NoButton, {}});
    EXPECT_TRUE(noted);
    EXPECT_EQ(ground().at(30, 3).roadtype, 2);
}

}  // namespace
