// The tool palette as a map maker uses it: the keys choose tools, the picker
// fills the panel from a cell, fill any terrain turns a region into another
// terrain as one step, select same feeds Copy, and "[" and "]" size the brush.
#include "ui/EditorStatusBar.h"

#include "DesktopWindow.h"

namespace {

class ToolPalette : public DesktopWindow {
protected:
    void SetUp() override
    {
        DesktopWindow::SetUp();
        openMap();
        grid->setFocus();
    }
    QComboBox *combo(const char *name) const { return form->findChild<QComboBox *>(name); }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) const { QTest::keyClick(grid, key, modifiers); }
    void rightClick(int column, int row, Qt::KeyboardModifiers modifiers = {}) const
    {
        QTest::mouseClick(grid->viewport(), Qt::RightButton, modifiers, centre(column, row));
    }
    const TerrainCell &cell(int column, int row) const
    {
        return context->session.document().ground.at(row, column);
    }
};

TEST_F(ToolPalette, EachKeyChoosesItsTool)
{
    EXPECT_EQ(form->currentTool().name(), "Brush");
    EXPECT_EQ(window->status().toolText(), "Tool: Brush");
    const std::pair<Qt::Key, const char *> keys[] = {
        {Qt::Key_F, "Fill any terrain"}, {Qt::Key_I, "Picker"}, {Qt::Key_M, "Select same"}, {Qt::Key_B, "Brush"}};
    for (const auto &[pressed, name] : keys) {
        key(pressed);
        EXPECT_EQ(form->currentTool().name(), name);
        EXPECT_EQ(window->status().toolText(), QStringLiteral("Tool: ") + name);
    }
    EXPECT_NE(action("actionPalette"), nullptr);
}

TEST_F(ToolPalette, ThePickerPutsACellIntoThePanelAndHandsBackTheTool)
{
    key(Qt::Key_F);
    key(Qt::Key_I);
    rightClick(4, 3);  // water, picture 5, river type 2 with picture 7
    EXPECT_EQ(combo("CBtertype")->currentIndex(), 8);
    EXPECT_EQ(combo("CBterconf")->currentIndex(), 5);
    EXPECT_EQ(combo("CBrivtype")->currentIndex(), 4);
    EXPECT_EQ(combo("CBrivconf")->currentIndex(), 7);
    EXPECT_EQ(combo("CBroadtype")->currentIndex(), 0);
    EXPECT_EQ(form->currentTool().name(), "Fill any terrain") << "back to the tool used before";
    EXPECT_EQ(form->brush().terrainType, 8);

    // Alt with a right click picks with any tool.
    rightClick(0, 0, Qt::AltModifier);
    EXPECT_EQ(combo("CBtertype")->currentIndex(), 0);
    EXPECT_EQ(type(0, 0), 0) << "picking paints nothing";
}

TEST_F(ToolPalette, FillAnyTerrainTurnsAGrassRegionIntoWaterAsOneStep)
{
    // A 3 x 3 grass block in the dirt.
    choose("CBtertype", 2);
    choose("CBbrushx", 2);
    choose("CBbrushy", 2);
    stroke({{6, 6}});
    ASSERT_EQ(type(8, 8), 2);
    const QString undoBefore = undoCaption();

    choose("CBtertype", 8);
    key(Qt::Key_F);
    rightClick(7, 7);
    for (int row = 6; row <= 8; ++row)
        for (int column = 6; column <= 8; ++column) {
            EXPECT_EQ(type(column, row), 8) << column << "," << row;
            EXPECT_LE(cell(column, row).terconf, 32) << "a picture water has";
        }
    EXPECT_EQ(type(5, 6), 0) << "the dirt around stays";
    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(type(7, 7), 2);
    EXPECT_EQ(undoCaption(), undoBefore);

    // With Shift, every cell of the type: a lone grass cell away from the block too.
    key(Qt::Key_B);
    choose("CBtertype", 2);
    choose("CBbrushx", 0);
    choose("CBbrushy", 0);
    stroke({{12, 2}});
    choose("CBtertype", 3);
    key(Qt::Key_F);
    rightClick(7, 7, Qt::ShiftModifier);
    EXPECT_EQ(type(12, 2), 3);
    EXPECT_EQ(type(8, 6), 3);
}

TEST_F(ToolPalette, SelectSameFeedsCopyAndPaste)
{
    choose("CBtertype", 2);
    choose("CBbrushx", 1);
    stroke({{2, 5}});  // two grass cells side by side
    key(Qt::Key_M);
    rightClick(2, 5);
    ASSERT_TRUE(context->session.regionSelection());
    EXPECT_EQ(context->session.regionSelection()->cellCount(), 2u);
    QTest::keyClick(window.get(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(context->session.clipboard().width(), 2);
    EXPECT_EQ(context->session.clipboard().height(), 1);

    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, centre(8, 10));
    EXPECT_FALSE(context->session.regionSelection()) << "a selection by hand replaces it";
    QTest::keyClick(window.get(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(type(8, 10), 2);
    EXPECT_EQ(type(9, 10), 2);
}

TEST_F(ToolPalette, BracketsSizeTheBrushThroughThePanelsLists)
{
    key(Qt::Key_BracketRight);
    key(Qt::Key_BracketRight);
    EXPECT_EQ(combo("CBbrushx")->currentIndex(), 2);
    EXPECT_EQ(combo("CBbrushy")->currentIndex(), 2);
    EXPECT_EQ(form->brush().brushWidth, 3);
    key(Qt::Key_BracketLeft);
    EXPECT_EQ(form->brush().brushHeight, 2);
    for (int i = 0; i < 5; ++i)
        key(Qt::Key_BracketLeft);
    EXPECT_EQ(combo("CBbrushx")->currentIndex(), 0) << "never below one cell";
}

}  // namespace
