// Gestures that end however the mouse behaves: a fill closes its step (and gets
// its edges) without waiting for a release, a command run while the right
// button is held ends the stroke first, an undone cell can be painted again at
// once, and the readout follows the cell under the pointer through edits and
// scrolling.
#include "ui/EditorStatusBar.h"

#include "DesktopWindow.h"

#include <QLabel>
#include <QWheelEvent>

namespace {

// Dirt beside another terrain takes picture 20; water and snow take 30.
const QByteArray Rules = "[terrain 0]\n"
                         "rule = sss s.s sss : 0\n"
                         "rule = *** *.* *** : 20\n"
                         "[terrain 3]\n"
                         "rule = *** *.* *** : 30\n"
                         "[terrain 8]\n"
                         "rule = *** *.* *** : 30\n";

class GestureSteps : public DesktopWindow {
protected:
    GestureSteps() { edgeRules = Rules; }

    void SetUp() override
    {
        DesktopWindow::SetUp();
        openMap();
        ASSERT_TRUE(action("actionEdgeBrush")->isEnabled());
        action("actionEdgeBrush")->setChecked(true);
    }
    int picture(int column, int row) const { return context->session.document().ground.at(row, column).terconf; }
};

TEST_F(GestureSteps, AFillWhoseReleaseNeverComesIsAStepWithItsEdges)
{
    // A row of grass across the map, then snow filled along it; the fill's
    // release is swallowed, as a progress dialog does.
    action("actionEdgeBrush")->setChecked(false);
    choose("CBtertype", 2);
    choose("CBbrushx", 35);
    stroke({{0, 8}});
    action("actionEdgeBrush")->setChecked(true);
    choose("CBtertype", 3);
    choose("CBbrushx", 36);
    QTest::mousePress(grid->viewport(), Qt::RightButton, {}, centre(10, 8));
    EXPECT_EQ(type(0, 8), 3);
    EXPECT_EQ(type(35, 8), 3);
    EXPECT_EQ(picture(10, 7), 20) << "the dirt beside the filled row got its edge";
    EXPECT_EQ(picture(10, 8), 30);
    EXPECT_EQ(picture(10, 12), 0) << "dirt away from the water keeps the open picture";

    // The next gesture is a step of its own; one Ctrl+Z takes back the fill with its edges.
    choose("CBbrushx", 0);
    stroke({{5, 12}});
    trigger("actionUndoStep");
    EXPECT_EQ(type(5, 12), 0);
    EXPECT_EQ(type(10, 8), 3);
    trigger("actionUndoStep");
    EXPECT_EQ(type(10, 8), 2);
    EXPECT_EQ(picture(10, 7), 0);
}

TEST_F(GestureSteps, ACommandDuringAStrokeEndsItWithItsEdges)
{
    choose("CBtertype", 8);
    QTest::mousePress(grid->viewport(), Qt::RightButton, {}, centre(10, 10));
    moveHolding(grid->viewport(), centre(11, 10), Qt::RightButton);
    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(type(10, 10), 0);
    EXPECT_EQ(type(11, 10), 0);
    EXPECT_EQ(picture(12, 10), 0) << "the undone stroke took its edges with it";

    // The rest of the drag paints nothing; the next press starts a stroke that gets its edges.
    moveHolding(grid->viewport(), centre(12, 10), Qt::RightButton);
    QTest::mouseRelease(grid->viewport(), Qt::RightButton, {}, centre(12, 10));
    EXPECT_EQ(type(12, 10), 0);
    stroke({{5, 5}, {6, 5}});
    EXPECT_EQ(picture(7, 5), 20);
    EXPECT_EQ(picture(4, 5), 20);
}

TEST_F(GestureSteps, TheCellPressedLastPaintsAgainAfterUndoAndRedo)
{
    action("actionEdgeBrush")->setChecked(false);
    choose("CBtertype", 3);
    QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, centre(7, 7));
    EXPECT_EQ(type(7, 7), 3);
    trigger("actionUndoStep");
    EXPECT_EQ(type(7, 7), 0);
    QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, centre(7, 7));
    EXPECT_EQ(type(7, 7), 3) << "after Ctrl+Z";
    form->findChild<QPushButton *>("Bundo")->click();
    EXPECT_EQ(type(7, 7), 0);
    QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, centre(7, 7));
    EXPECT_EQ(type(7, 7), 3) << "after the panel's Undo";
}

TEST_F(GestureSteps, TheReadoutFollowsEditsAndScrollingAndNeverHidesAMessage)
{
    action("actionEdgeBrush")->setChecked(false);
    QTest::mouseMove(grid->viewport(), centre(2, 2));
    EXPECT_EQ(window->status().hoverText(), "2/2  Dirt, picture 0");
    choose("CBtertype", 3);
    QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, centre(2, 2));
    EXPECT_EQ(window->status().hoverText(), "2/2  Snow, picture 0") << "the painted cell is shown as it is now";

    QWheelEvent wheel(centre(2, 2), grid->viewport()->mapToGlobal(centre(2, 2)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(grid->viewport(), &wheel);
    ASSERT_EQ(grid->topRow(), 1);
    EXPECT_EQ(window->status().hoverText(), "2/3  Dirt, picture 0") << "the pointer is over the next row now";
    EXPECT_EQ(grid->outline(DrawGrid::Outline::Brush), QRect(2, 3, 1, 1));

    // A message has the whole status bar; the readout, the selection's size
    // and the tool's name have a row of their own.
    window->status().showNote(QString(60, u'x'));
    for (QLabel *label : {window->status().hoverLabel(), window->status().selectionLabel(), window->status().toolLabel()}) {
        EXPECT_FALSE(window->status().isAncestorOf(label)) << label->objectName().toStdString();
        EXPECT_TRUE(window->isAncestorOf(label)) << label->objectName().toStdString();
    }
    EXPECT_TRUE(window->status().hoverLabel()->isVisible());
    EXPECT_TRUE(window->status().toolLabel()->isVisible());
}

}  // namespace
