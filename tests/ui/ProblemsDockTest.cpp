// The problems dock and the statistics dock in the main window, driven as a
// user does: View, Problems lists a broken road piece, framed in red on the
// grid while View, Problem marks is checked; a click on its row,
// or Return, selects its cell; F8 and Shift+F8 go round the problems; the
// status bar counts them; mending the piece with the road tool takes its row
// away. View, Statistics shows the live dock, which follows an edit.
#include "edit/PathPieces.h"
#include "session/ProblemWatch.h"
#include "ui/FairnessView.h"
#include "ui/ProblemCount.h"
#include "ui/ProblemListModel.h"
#include "ui/ProblemsDock.h"
#include "ui/StatisticsDock.h"

#include "DesktopWindow.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTableWidget>

namespace {

// Road 1 has straights, ends and a catch-all piece.
const QByteArray Rules = "[road 1]\n"
                         "rule = o j o j : 0\n"
                         "rule = j o j o : 1\n"
                         "rule = o j o o : 12\n"
                         "rule = o o o j : 12 : lr\n"
                         "rule = * * * * : 15\n";

class ProblemsWindow : public DesktopWindow {
protected:
    ProblemsWindow() { edgeRules = Rules; }

    // A road along row 10 from column 5 to 9, pieced by the rules, with the
    // piece at (7, 10) broken; and a lone road cell at (20, 25) with a
    // straight piece, where the rules give it the lone one.
    void SetUp() override
    {
        DesktopWindow::SetUp();
        MapWriter map = MapWriter::patterned(36, false);
        map.layers = {TerrainLayer(36)};
        for (int column = 5; column <= 9; ++column)
            map.layers[0].at(10, column).roadtype = 1;
        applyPathPiecesToLayer(map.layers[0], context->session.edgeRules()->paths(), PathLayer::Road);
        map.layers[0].at(10, 7).roadconf = 3;
        map.layers[0].at(25, 20).roadtype = 1;
        map.layers[0].at(25, 20).roadconf = 0;
        mapPath = dir.write("road.vdm", map.data());
        openMap();
        dock = window->check().problems;
        view = dock->view();
    }

    QString cellText(int row) const { return view->model()->index(row, ProblemListModel::CellColumn).data().toString(); }
    QPoint selectedCell() const
    {
        const GridRect s = grid->selection();
        EXPECT_EQ(s.left, s.right);
        EXPECT_EQ(s.top, s.bottom);
        return QPoint(s.left, s.top);
    }
    void clickRow(int row) const
    {
        const QRect cell = view->visualRect(view->model()->index(row, ProblemListModel::ReasonColumn));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    }

    ProblemsDock *dock = nullptr;
    QTableView *view = nullptr;
};

TEST_F(ProblemsWindow, RowsGoToTheirCellsAndMendedProblemsLeaveTheList)
{
    EXPECT_FALSE(dock->isVisible());
    trigger("actionProblems");
    ASSERT_TRUE(dock->isVisible());
    ASSERT_EQ(view->model()->rowCount(), 2);
    EXPECT_EQ(view->model()->index(0, ProblemListModel::KindColumn).data().toString(), "Road piece");
    EXPECT_EQ(cellText(0), "7,10");
    EXPECT_EQ(view->model()->index(0, ProblemListModel::ReasonColumn).data().toString(),
              "road picture 3, the rules choose 0");
    EXPECT_EQ(view->model()->index(1, ProblemListModel::KindColumn).data().toString(), "Road end");
    EXPECT_EQ(window->check().count->text(), "Problems: 2");

    clickRow(1);
    EXPECT_EQ(selectedCell(), QPoint(20, 25));
    view->setCurrentIndex(view->model()->index(0, 0));
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_EQ(selectedCell(), QPoint(7, 10));

    // F8 from the first problem goes to the second, then round to the first;
    // Shift+F8 goes back.
    QTest::keyClick(window.get(), Qt::Key_F8);
    EXPECT_EQ(selectedCell(), QPoint(20, 25));
    QTest::keyClick(window.get(), Qt::Key_F8);
    EXPECT_EQ(selectedCell(), QPoint(7, 10));
    QTest::keyClick(window.get(), Qt::Key_F8, Qt::ShiftModifier);
    EXPECT_EQ(selectedCell(), QPoint(20, 25));
    EXPECT_EQ(view->currentIndex().row(), 1);

    // The marks frame the problem cells in red, until View, Problem marks is unchecked.
    const auto marked = [this](int column, int row) {
        const QImage shown = grid->viewport()->grab().toImage();
        const QRect cell = grid->cellRect(column, row);
        for (int x = cell.left(); x < cell.left() + 4; ++x)
            if (shown.pixelColor(x, cell.center().y()) == QColor(230, 30, 30))
                return true;
        return false;
    };
    clickRow(0);
    EXPECT_TRUE(marked(7, 10));
    EXPECT_FALSE(marked(6, 10));
    trigger("actionProblemMarks");
    EXPECT_FALSE(marked(7, 10));
    trigger("actionProblemMarks");

    // The road tool mends the broken piece (its row clicked to bring it into
    // view): erased with Ctrl, then drawn again, it gets the rules' piece;
    // its row goes, the other stays.
    clickRow(0);
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_R);
    ASSERT_EQ(form->currentTool().name(), context->texts.toolroad);
    QTest::mouseClick(grid->viewport(), Qt::RightButton, Qt::ControlModifier, centre(7, 10));
    EXPECT_EQ(context->session.document().ground.at(10, 7).roadtype, 0);
    stroke({{6, 10}, {7, 10}, {8, 10}});
    EXPECT_EQ(context->session.document().ground.at(10, 7).roadconf, 0);
    ASSERT_EQ(view->model()->rowCount(), 1);
    EXPECT_EQ(cellText(0), "20,25");
    EXPECT_EQ(window->check().count->text(), "Problems: 1");
    // Undo of both steps brings it back.
    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(view->model()->rowCount(), 2);

    // A click on the status bar's count shows the list when it was closed.
    dock->close();
    QTest::mouseClick(window->check().count, Qt::LeftButton);
    EXPECT_TRUE(dock->isVisible());
}

TEST_F(ProblemsWindow, StatisticsDockNamesTheLevelAndFollowsEdits)
{
    StatisticsDock *statistics = window->check().statistics;
    trigger("actionStatistics");
    ASSERT_TRUE(statistics->isVisible());
    EXPECT_EQ(statistics->title()->text(), "road.vdm, Ground");
    EXPECT_TRUE(statistics->counts()->toPlainText().contains("Dirt: 1296 cells, 100.00 %"))
        << statistics->counts()->toPlainText().toStdString();

    choose("CBtertype", 8);  // water
    stroke({{2, 2}});
    statistics->refresh();
    EXPECT_TRUE(statistics->counts()->toPlainText().contains("Water: 1 cell, 0.08 %"))
        << statistics->counts()->toPlainText().toStdString();

    // The fairness table: left and right sides, the roads differing most (5
    // cells on the left, 1 on the right), the water's share to two decimals.
    QTableWidget *table = statistics->fairness()->table();
    ASSERT_EQ(table->columnCount(), 3);
    EXPECT_EQ(table->horizontalHeaderItem(0)->text(), "Left");
    EXPECT_EQ(table->horizontalHeaderItem(1)->text(), "Right");
    EXPECT_EQ(table->item(0, 2)->text(), "4") << table->verticalHeaderItem(0)->text().toStdString();
    int water = -1;
    for (int row = 0; row < table->rowCount(); ++row)
        if (table->verticalHeaderItem(row)->text() == "Water share, %")
            water = row;
    ASSERT_GE(water, 0);
    EXPECT_EQ(table->item(water, 0)->text(), "0.15");
    EXPECT_EQ(table->item(water, 1)->text(), "0.00");
}

}  // namespace
