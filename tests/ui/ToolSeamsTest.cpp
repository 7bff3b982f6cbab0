// The seams between the tools as a new user meets them: the tools' keys
// wherever the focus is, picking while I is held, Escape, the road and river
// pointers, what the fill and the selection say, the fill's region shown
// before the click, and selections by region that copy their shape and grow
// with Shift and shrink with Ctrl.
#include "ui/EditorStatusBar.h"
#include "ui/GridTool.h"

#include "DesktopWindow.h"

#include <QApplication>
#include <QLineEdit>
#include <QStatusBar>

namespace {

class ToolSeams : public DesktopWindow {
protected:
    void SetUp() override
    {
        DesktopWindow::SetUp();
        openMap();
        QApplication::processEvents();
    }
    QComboBox *combo(const char *name) const { return form->findChild<QComboBox *>(name); }
    QString tool() const { return form->currentTool().name(); }
    void click(Qt::MouseButton button, int column, int row, Qt::KeyboardModifiers modifiers = {}) const
    {
        QTest::mouseClick(grid->viewport(), button, modifiers, centre(column, row));
    }
    // A left-button drag from one cell to another with the keys held.
    void leftDrag(QPoint from, QPoint to, Qt::KeyboardModifiers modifiers) const
    {
        QTest::mousePress(grid->viewport(), Qt::LeftButton, modifiers, centre(from.x(), from.y()));
        moveHolding(grid->viewport(), centre(to.x(), to.y()), Qt::LeftButton);
        QTest::mouseRelease(grid->viewport(), Qt::LeftButton, modifiers, centre(to.x(), to.y()));
    }
    // Paints grass cells with a one-cell brush.
    void grass(const QList<QPoint> &cells)
    {
        QTest::keyClick(grid, Qt::Key_B);
        choose("CBtertype", 2);
        for (const QPoint &cell : cells)
            stroke({cell});
    }
    QString note() const { return window->status().currentMessage(); }
};

TEST_F(ToolSeams, TheGridHasTheKeysAfterOpeningAndAfterClicksAround)
{
    EXPECT_EQ(QApplication::focusWidget(), grid) << "a map that opens gives the grid the keys";

    auto *copy = form->findChild<QPushButton *>("Bcopycells");
    QTest::mouseClick(copy, Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), grid) << "after a panel button";

    // A list of the panel that has the focus passes the tools' letters on.
    combo("CBtertype")->setFocus();
    QTest::keyClick(combo("CBtertype"), Qt::Key_F);
    EXPECT_EQ(tool(), "Fill any terrain");
    EXPECT_EQ(window->status().toolText(), "Tool: Fill any terrain");

    // A box that takes text keeps its letters.
    auto *box = new QLineEdit(window.get());
    window->statusBar()->addWidget(box);
    box->show();
    box->setFocus();
    QTest::keyClicks(box, "bi");
    EXPECT_EQ(box->text(), "bi");
    EXPECT_EQ(tool(), "Fill any terrain");
}

TEST_F(ToolSeams, HoldingIPicksWithAnyToolAndLettingGoHandsItBack)
{
    QTest::keyClick(grid, Qt::Key_R);
    ASSERT_EQ(tool(), "Road");
    QTest::keyPress(grid, Qt::Key_I);
    EXPECT_EQ(tool(), "Picker");
    click(Qt::RightButton, 4, 3);  // water
    EXPECT_EQ(combo("CBtertype")->currentIndex(), 8);
    EXPECT_EQ(tool(), "Picker") << "the picker stays while I is held";
    click(Qt::RightButton, 0, 0);  // dirt
    EXPECT_EQ(combo("CBtertype")->currentIndex(), 0);
    QTest::keyRelease(grid, Qt::Key_I);
    EXPECT_EQ(tool(), "Road") << "letting I go hands the button back";
    EXPECT_EQ(type(0, 0), 0) << "picking paints nothing";

    // A tap chooses the picker until its next pick, as before.
    QTest::keyClick(grid, Qt::Key_I);
    EXPECT_EQ(tool(), "Picker");
    click(Qt::RightButton, 4, 3);
    EXPECT_EQ(tool(), "Road");

    const QAction *picker = window->findChild<QAction *>(QStringLiteral("toolI"));
    ASSERT_NE(picker, nullptr);
    EXPECT_TRUE(picker->toolTip().contains(QStringLiteral("Hold I"))) << picker->toolTip().toStdString();
}

TEST_F(ToolSeams, EscapeLeavesThePickerAndEndsTheDrag)
{
    QTest::keyClick(grid, Qt::Key_F);
    QTest::keyClick(grid, Qt::Key_I);
    QTest::keyClick(grid, Qt::Key_Escape);
    EXPECT_EQ(tool(), "Fill any terrain") << "back to the tool before the picker";

    // A brush stroke: what it painted before Escape stays, one step; the rest of the drag paints nothing.
    QTest::keyClick(grid, Qt::Key_B);
    choose("CBtertype", 3);
    const QString undoBefore = undoCaption();
    QTest::mousePress(grid->viewport(), Qt::RightButton, {}, centre(10, 10));
    moveHolding(grid->viewport(), centre(11, 10), Qt::RightButton);
    QTest::keyClick(grid, Qt::Key_Escape);
    moveHolding(grid->viewport(), centre(12, 10), Qt::RightButton);
    QTest::mouseRelease(grid->viewport(), Qt::RightButton, {}, centre(12, 10));
    EXPECT_EQ(type(10, 10), 3);
    EXPECT_EQ(type(11, 10), 3);
    EXPECT_EQ(type(12, 10), 0) << "after Escape";
    trigger("actionUndoStep");
    EXPECT_EQ(type(10, 10), 0);
    EXPECT_EQ(undoCaption(), undoBefore);

    // A selection drag stops where Escape found it.
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, centre(1, 1));
    moveHolding(grid->viewport(), centre(3, 3), Qt::LeftButton);
    QTest::keyClick(grid, Qt::Key_Escape);
    moveHolding(grid->viewport(), centre(6, 6), Qt::LeftButton);
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, centre(6, 6));
    EXPECT_EQ(grid->selectedCells(), QRect(QPoint(1, 1), QPoint(3, 3)));
}

TEST_F(ToolSeams, RoadAndRiverHaveThePointersOfTheirIcons)
{
    QTest::keyClick(grid, Qt::Key_R);
    const QCursor road = grid->viewport()->cursor();
    QTest::keyClick(grid, Qt::Key_W);
    const QCursor river = grid->viewport()->cursor();
    EXPECT_EQ(road.shape(), Qt::BitmapCursor);
    EXPECT_EQ(river.shape(), Qt::BitmapCursor);
    EXPECT_NE(road.pixmap().toImage(), river.pixmap().toImage());
}

TEST_F(ToolSeams, FillAndSelectSameSayHowManyCellsAndTheReadoutCountsTheRegion)
{
    grass({{8, 9}, {9, 9}});
    QTest::keyClick(grid, Qt::Key_M);
    ASSERT_EQ(tool(), "Select same");
    click(Qt::RightButton, 8, 9);
    EXPECT_EQ(note(), "2 cells selected");
    EXPECT_EQ(window->status().selectionText(), "Selection 2 cells in 2 x 1");
    click(Qt::LeftButton, 5, 5);
    EXPECT_EQ(window->status().selectionText(), "Selection 1 x 1") << "a rectangle again";

    choose("CBtertype", 8);
    QTest::keyClick(grid, Qt::Key_F);
    click(Qt::RightButton, 9, 9);
    EXPECT_EQ(note(), "2 cells filled");
}

TEST_F(ToolSeams, TheCopiedCellsTransformsWaitForCopiedCells)
{
    QAction *flip = action("actionFlipLeftRightClipboard");
    ASSERT_NE(flip, nullptr);
    EXPECT_FALSE(flip->isEnabled());
    EXPECT_TRUE(action("actionFlipLeftRightLevel")->isEnabled());
    QTest::keyClick(window.get(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(flip->isEnabled());
}

TEST_F(ToolSeams, FillAnyTerrainOutlinesItsRegionBeforeTheClick)
{
    grass({{7, 7}, {8, 7}, {8, 8}});
    QTest::keyClick(grid, Qt::Key_F);
    QTest::mouseMove(grid->viewport(), centre(8, 8));
    ASSERT_NE(grid->fillPreview(), nullptr);
    EXPECT_EQ(grid->fillPreview()->cellCount(), 3u);
    EXPECT_TRUE(grid->fillPreview()->contains(7, 7));
    EXPECT_TRUE(grid->outline(DrawGrid::Outline::Fill).isEmpty()) << "the region, not the cell alone";

    QTest::mouseMove(grid->viewport(), centre(12, 2));
    EXPECT_EQ(grid->fillPreview()->cellCount(), 36u * 36u - 4u) << "the dirt around";

    // After the fill the region under the pointer is found again.
    choose("CBtertype", 3);
    click(Qt::RightButton, 8, 8);
    QTest::mouseMove(grid->viewport(), centre(8, 7));
    QTest::mouseMove(grid->viewport(), centre(7, 7));
    EXPECT_EQ(grid->fillPreview()->cellCount(), 3u);
    EXPECT_EQ(type(7, 7), 3);

    QTest::keyClick(grid, Qt::Key_B);
    QTest::mouseMove(grid->viewport(), centre(8, 8));
    EXPECT_EQ(grid->fillPreview(), nullptr) << "only the fill shows a region";
}

TEST_F(ToolSeams, ARegionCopiesItsShapeAndGrowsWithShiftAndShrinksWithCtrl)
{
    // An L of grass, and a lone grass cell away from it.
    grass({{2, 6}, {2, 7}, {3, 7}, {10, 10}});
    QTest::keyClick(grid, Qt::Key_M);
    click(Qt::RightButton, 2, 6);
    ASSERT_EQ(context->session.regionSelection()->cellCount(), 3u);

    click(Qt::RightButton, 10, 10, Qt::ShiftModifier);
    EXPECT_EQ(context->session.regionSelection()->cellCount(), 4u) << "Shift adds";
    click(Qt::RightButton, 10, 10, Qt::ControlModifier);
    EXPECT_EQ(context->session.regionSelection()->cellCount(), 3u) << "Ctrl takes out";

    // Copy and paste write the L only: (3, 6) of its block stays as the map has it.
    QTest::keyClick(window.get(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(context->session.clipboard().isRegion());
    click(Qt::LeftButton, 8, 2);
    QTest::keyClick(window.get(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(type(8, 2), 2);
    EXPECT_EQ(type(8, 3), 2);
    EXPECT_EQ(type(9, 3), 2);
    EXPECT_EQ(type(9, 2), 0) << "outside the copied region";

    // Rectangles: Ctrl with a drag takes one out, Shift with a drag adds one to the region.
    click(Qt::RightButton, 2, 6);
    leftDrag({2, 7}, {3, 7}, Qt::ControlModifier);
    ASSERT_TRUE(context->session.regionSelection());
    EXPECT_EQ(context->session.regionSelection()->cellCount(), 1u);
    EXPECT_TRUE(context->session.regionSelection()->contains(2, 6));
    leftDrag({5, 5}, {6, 6}, Qt::ShiftModifier);
    EXPECT_EQ(context->session.regionSelection()->cellCount(), 5u);
    EXPECT_EQ(note(), "5 cells selected");

    // Ctrl with a drag over a plain rectangle cuts a hole in it.
    click(Qt::LeftButton, 0, 0);
    leftDrag({0, 0}, {2, 2}, {});
    EXPECT_FALSE(context->session.regionSelection());
    leftDrag({1, 1}, {1, 1}, Qt::ControlModifier);
    ASSERT_TRUE(context->session.regionSelection());
    EXPECT_EQ(context->session.regionSelection()->cellCount(), 8u);
}

}  // namespace
