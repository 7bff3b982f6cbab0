// The main window at every zoom step: picking cells with the mouse, the
// grid's fit to whole cells with scroll bars, the visible counts, and the
// wheel and drag scroll rules, each with the cell size in place of 32.
#include "ui/DrawGrid.h"
#include "ui/EditorContext.h"
#include "ui/TForm1.h"
#include "session/ZoomLevels.h"
#include "writers/MapWriter.h"

#include "FakePrompts.h"
#include "WindowDriver.h"
#include "TempDir.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QTest>

#include <gtest/gtest.h>

namespace {

constexpr int Side = 144;

QByteArray zeroMap()
{
    MapWriter map = MapWriter::patterned(Side, true);
    map.layers = {TerrainLayer(Side), TerrainLayer(Side)};
    return map.data();
}

class ZoomedWindow : public testing::TestWithParam<int> {
protected:
    void SetUp() override
    {
        dir.write("brackwen.ini", "[Programm_options]\nlanguage=english\ngraphics=2\nuse_nagscreen=0\n");
        const CurrentDirGuard current(dir.path());
        auto fake = std::make_unique<FakePrompts>(log);
        fake->openAnswer = dir.write("zero.vdm", zeroMap());
        context = std::make_unique<EditorContext>(std::move(fake));
        form = std::make_unique<TForm1>(*context);
        form->show();
        form->findChild<QPushButton *>("Bopen")->click();
        ASSERT_TRUE(context->session.document().isLoaded);
        grid = form->findChild<DrawGrid *>("DG");
        panel = form->findChild<QGroupBox *>("GB");
        form->setScrollPause([] {});
        grid->setCellSize(cellSize());
        form->layoutGrid();
    }

    static int cellSize() { return GetParam(); }
    int bar() const { return grid->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, grid); }
    QPoint centre(int column, int row) const { return grid->cellRect(column, row).center(); }
    void move(Qt::MouseButtons held, QPoint point) const { moveHolding(grid->viewport(), point, held); }
    void wheel(int delta, Qt::KeyboardModifiers modifiers) const
    {
        QWheelEvent event(centre(grid->leftCol(), grid->topRow()), QPointF(), QPoint(), QPoint(0, delta),
                          Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(grid->viewport(), &event);
    }
    int tertype(int column, int row) const { return context->session.document().ground.at(row, column).tertype; }

    TempDir dir;
    PromptLog log;
    std::unique_ptr<EditorContext> context;
    std::unique_ptr<TForm1> form;
    DrawGrid *grid = nullptr;
    QGroupBox *panel = nullptr;
};

// Whole cells only, plus the scroll bar's own width, at every window size.
TEST_P(ZoomedWindow, LayoutFitsWholeCells)
{
    const int n = cellSize();
    // Each client area is too small for the whole map at 8 pixels a cell.
    for (const QSize client : {QSize(1100, 900), QSize(1000, 757), QSize(594, 573)}) {
        SCOPED_TRACE(testing::Message() << client.width() << " x " << client.height());
        form->resize(client);
        form->layoutGrid();
        const int width = client.width() - panel->width();
        const int height = client.height();
        EXPECT_EQ(grid->width(), (width - bar()) / n * n + bar());
        EXPECT_EQ(grid->height(), (height - bar()) / n * n + bar());
        EXPECT_EQ(grid->visibleColCount(), (width - bar()) / n);
        EXPECT_EQ(grid->visibleRowCount(), (height - bar()) / n);
        EXPECT_EQ(grid->viewport()->width(), grid->visibleColCount() * n);
        EXPECT_EQ(grid->viewport()->height(), grid->visibleRowCount() * n);

        // Scrolled to the far end, the last column and row show whole.
        grid->setLeftCol(Side);
        grid->setTopRow(Side);
        EXPECT_EQ(grid->leftCol() + grid->visibleColCount(), Side);
        EXPECT_EQ(grid->topRow() + grid->visibleRowCount(), Side);
        EXPECT_EQ(grid->cellRect(Side - 1, Side - 1).bottomRight(),
                  QPoint(grid->viewport()->width() - 1, grid->viewport()->height() - 1));
    }

    // Without the panel the grid takes the whole width.
    panel->hide();
    form->layoutGrid();
    EXPECT_EQ(grid->width(), (form->width() - bar()) / n * n + bar());
    panel->show();

    // Only one axis scrolls: that axis is cut to whole cells, the other keeps its size.
    grid->setDimensions(2 * 504 / n, 5);
    form->layoutGrid();
    EXPECT_EQ(grid->height(), 573);
    EXPECT_EQ(grid->width(), 504 / n * n);
}

// A right click at a cell's centre paints that cell, wherever the grid is
// scrolled; the edges of a cell belong to it.
TEST_P(ZoomedWindow, PickingPaintsTheCellUnderThePointer)
{
    const int n = cellSize();
    auto *terrain = form->findChild<QComboBox *>("CBtertype");
    terrain->setCurrentIndex(2);
    Q_EMIT terrain->activated(2);
    grid->setLeftCol(20);
    grid->setTopRow(30);
    const int lastColumn = grid->leftCol() + grid->visibleColCount() - 1;
    const int lastRow = grid->topRow() + grid->visibleRowCount() - 1;
    for (const QPoint cell : {QPoint(20, 30), QPoint(23, 31), QPoint(lastColumn, lastRow)}) {
        SCOPED_TRACE(testing::Message() << cell.x() << "/" << cell.y());
        const QRect rect = grid->cellRect(cell.x(), cell.y());
        EXPECT_EQ(rect.size(), QSize(n, n));
        EXPECT_EQ(grid->cellAt(rect.center()), cell);
        EXPECT_EQ(grid->cellAt(rect.topLeft()), cell);
        EXPECT_EQ(grid->cellAt(rect.bottomRight()), cell);
        QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, rect.center());
        EXPECT_EQ(tertype(cell.x(), cell.y()), 2);
    }
    EXPECT_EQ(grid->cellAt(grid->cellRect(23, 31).bottomRight() + QPoint(1, 1)), QPoint(24, 32));
    // The scroll bars are on no cell.
    EXPECT_EQ(grid->cellAt(QPoint(grid->visibleColCount() * n, 0)).x(), -1);
    EXPECT_EQ(context->session.undoList().count(), 3u);
}

TEST_P(ZoomedWindow, WheelScrollsOneCellWithinTheMap)
{
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    wheel(-120, Qt::NoModifier);
    EXPECT_EQ(grid->topRow(), 1);
    wheel(-120, Qt::ControlModifier);
    EXPECT_EQ(grid->leftCol(), 1);
    wheel(120, Qt::ControlModifier);
    wheel(120, Qt::ControlModifier);
    EXPECT_EQ(grid->leftCol(), 0);

    // At the far end a notch further does nothing.
    grid->setLeftCol(Side - grid->visibleColCount());
    grid->setTopRow(Side - grid->visibleRowCount());
    const QPoint end(grid->leftCol(), grid->topRow());
    wheel(-120, Qt::ControlModifier);
    wheel(-120, Qt::NoModifier);
    EXPECT_EQ(QPoint(grid->leftCol(), grid->topRow()), end);
    wheel(120, Qt::NoModifier);
    EXPECT_EQ(grid->topRow(), end.y() - 1);
}

// A left drag onto the first or last visible column or row scrolls one cell.
TEST_P(ZoomedWindow, DragScrollsAtTheVisibleEdge)
{
    grid->setLeftCol(5);
    grid->setTopRow(5);
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, centre(7, 7));
    move(Qt::LeftButton, centre(5, 7));
    EXPECT_EQ(grid->leftCol(), 4);
    const int lastColumn = grid->leftCol() + grid->visibleColCount() - 1;
    move(Qt::LeftButton, centre(lastColumn, 7));
    EXPECT_EQ(grid->leftCol(), 5);
    const int lastRow = grid->topRow() + grid->visibleRowCount() - 1;
    move(Qt::LeftButton, centre(lastColumn, lastRow));
    EXPECT_EQ(grid->topRow(), 6);
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, centre(lastColumn, lastRow));
    EXPECT_EQ(grid->selection(), (GridRect{7, 7, lastColumn, lastRow}));
}

INSTANTIATE_TEST_SUITE_P(EveryStep, ZoomedWindow, testing::ValuesIn(zoom::Steps),
                         [](const testing::TestParamInfo<int> &info) { return std::to_string(info.param) + "px"; });

}  // namespace
