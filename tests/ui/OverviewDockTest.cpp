// The overview dock beside a real main window: its picture's colours and the
// frame around the grid's view, clicks and drags that scroll the grid, and
// the notices it follows (level, size, edits, scrolling).
#include "ui/DrawGrid.h"
#include "ui/OverviewDock.h"
#include "ui/OverviewView.h"
#include "ui/EditorContext.h"
#include "ui/TForm1.h"
#include "edit/BrushSettings.h"
#include "gfx/CellRenderer.h"
#include "gfx/OverviewImage.h"
#include "writers/MapWriter.h"

#include "FakePrompts.h"
#include "WindowDriver.h"
#include "TempDir.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QTest>

#include <gtest/gtest.h>

namespace {

constexpr int Side = 36;
// The ground's block of grass (columns 5..9, rows 6..8), a water cell and a
// rock cell on the underground level; everything else is dirt (type 0).
const QRect GrassBlock(5, 6, 5, 3);
const QPoint WaterCell(30, 20);
const QPoint RockCell(1, 1);

QByteArray blockMap()
{
    MapWriter map = MapWriter::patterned(Side, true);
    map.layers = {TerrainLayer(Side), TerrainLayer(Side)};
    for (int row = GrassBlock.top(); row <= GrassBlock.bottom(); ++row)
        for (int column = GrassBlock.left(); column <= GrassBlock.right(); ++column)
            map.layers[0].at(row, column).tertype = 2;
    map.layers[0].at(WaterCell.y(), WaterCell.x()).tertype = 8;
    map.layers[1].at(RockCell.y(), RockCell.x()).tertype = 9;
    return map.data();
}

// Records the areas the view repaints.
class PaintRecorder : public QObject {
public:
    QRegion painted;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent *>(event)->region();
        return false;
    }
};

class Overview : public testing::Test {
protected:
    void SetUp() override
    {
        dir.write("brackwen.ini", "[Programm_options]\nlanguage=english\ngraphics=2\nuse_nagscreen=0\n");
        const CurrentDirGuard current(dir.path());
        auto fake = std::make_unique<FakePrompts>(log);
        fake->openAnswer = dir.write("block.vdm", blockMap());
        context = std::make_unique<EditorContext>(std::move(fake));
        form = std::make_unique<TForm1>(*context);
        form->show();
        form->findChild<QPushButton *>("Bopen")->click();
        ASSERT_TRUE(context->session.document().isLoaded);
        grid = form->findChild<DrawGrid *>("DG");

        dock = std::make_unique<OverviewDock>(context->session, *grid, "Overview");
        // Room for four pixels a cell.
        dock->resize(Side * 4 + 40, Side * 4 + 60);
        dock->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dock.get()));
        viewWidget()->installEventFilter(&recorder);
        settle();
    }

    void settle() const { QCoreApplication::processEvents(); }
    const OverviewView &view() const { return dock->view(); }
    QWidget *viewWidget() const { return dock->findChild<OverviewView *>("overviewView"); }
    QPoint centre(QPoint cell) const { return view().scale().pixelsOf(QRect(cell, QSize(1, 1))).center(); }
    QRgb pictureColour(QPoint cell) const { return view().picture().pixel(centre(cell)); }
    // The grid's whole columns and rows and the partly shown one after them.
    QRect gridView(int side = Side) const
    {
        return QRect(grid->leftCol(), grid->topRow(), grid->visibleColCount() + 1, grid->visibleRowCount() + 1)
            .intersected(QRect(0, 0, side, side));
    }

    TempDir dir;
    PromptLog log;
    PaintRecorder recorder;  // outlives the view it watches
    std::unique_ptr<EditorContext> context;
    std::unique_ptr<TForm1> form;
    DrawGrid *grid = nullptr;
    std::unique_ptr<OverviewDock> dock;
};

TEST_F(Overview, ShowsTheLevelInItsColoursWithTheGridFramed)
{
    EXPECT_EQ(dock->objectName(), "overviewDock");
    EXPECT_EQ(dock->windowTitle(), "Overview");
    ASSERT_EQ(view().scale(), OverviewScale(4));
    ASSERT_EQ(view().picture().size(), QSize(Side * 4, Side * 4));
    EXPECT_EQ(view().picture(), renderOverview(context->session.document().ground, Side, 4));
    EXPECT_EQ(pictureColour(GrassBlock.topLeft()), TerrainColours[2]);
    EXPECT_EQ(pictureColour(WaterCell), TerrainColours[8]);
    EXPECT_EQ(pictureColour(QPoint(35, 35)), TerrainColours[0]);

    // The grid shows fewer cells than the map has: the frame marks them.
    ASSERT_LT(grid->visibleColCount(), Side);
    ASSERT_LT(grid->visibleRowCount(), Side);
    EXPECT_EQ(view().frame(), gridView());

    // On screen: the frame's black outer and white inner line over the cells,
    // the cells' colours elsewhere.
    const QImage shown = viewWidget()->grab().toImage();
    const QRect frame = view().framePixels();
    EXPECT_EQ(frame, QRect(gridView().topLeft() * 4, gridView().size() * 4));
    EXPECT_EQ(shown.pixel(frame.topLeft()), qRgb(0, 0, 0));
    EXPECT_EQ(shown.pixel(frame.topLeft() + QPoint(1, 1)), qRgb(255, 255, 255));
    EXPECT_EQ(shown.pixel(frame.bottomRight()), qRgb(0, 0, 0));
    EXPECT_EQ(shown.pixel(frame.bottomRight() - QPoint(1, 1)), qRgb(255, 255, 255));
    EXPECT_EQ(shown.pixel(centre(GrassBlock.topLeft())), TerrainColours[2]);
    EXPECT_EQ(shown.pixel(centre(WaterCell)), TerrainColours[8]);
}

TEST_F(Overview, FrameFollowsScrollingAndTheGridsSize)
{
    grid->setLeftCol(10);
    grid->setTopRow(7);
    EXPECT_EQ(view().frame(), gridView());
    EXPECT_EQ(view().frame().topLeft(), QPoint(10, 7));

    // The window grows: the grid shows more, and so does the frame.
    const QRect before = view().frame();
    form->resize(form->width() + 200, form->height() + 100);
    settle();
    EXPECT_EQ(view().frame(), gridView());
    EXPECT_GT(view().frame().width(), before.width());
    EXPECT_GT(view().frame().height(), before.height());

    // A larger cell size shows fewer cells.
    grid->setCellSize(64);
    form->layoutGrid();
    EXPECT_EQ(view().frame(), gridView());
    EXPECT_LT(view().frame().width(), before.width());
}

TEST_F(Overview, ClickAndDragCentreTheGridClampedAtTheEdges)
{
    const int columns = grid->visibleColCount();
    const int rows = grid->visibleRowCount();
    QTest::mouseClick(viewWidget(), Qt::LeftButton, {}, centre(QPoint(20, 18)));
    EXPECT_EQ(grid->leftCol(), 20 - columns / 2);
    EXPECT_EQ(grid->topRow(), 18 - rows / 2);
    EXPECT_EQ(view().frame(), gridView());

    // Near the far corner the view stops at the map's last cells.
    QTest::mouseClick(viewWidget(), Qt::LeftButton, {}, centre(QPoint(34, 35)));
    EXPECT_EQ(grid->leftCol(), Side - columns);
    EXPECT_EQ(grid->topRow(), Side - rows);

    // A drag moves the view along; past the picture's edge it stays at the edge.
    QTest::mousePress(viewWidget(), Qt::LeftButton, {}, centre(QPoint(30, 30)));
    moveHolding(viewWidget(), centre(QPoint(12, 2)), Qt::LeftButton);
    EXPECT_EQ(grid->leftCol(), 12 - columns / 2);
    EXPECT_EQ(grid->topRow(), 0);
    moveHolding(viewWidget(), QPointF(-20, -20), Qt::LeftButton);
    EXPECT_EQ(grid->leftCol(), 0);
    QTest::mouseRelease(viewWidget(), Qt::LeftButton, {}, QPoint(0, 0));

    // The right button does nothing.
    QTest::mouseClick(viewWidget(), Qt::RightButton, {}, centre(QPoint(20, 18)));
    EXPECT_EQ(grid->leftCol(), 0);
}

// A flood fill is one notice: the picture redraws and repaints only its
// rectangle, and matches a fresh picture of the edited level.
TEST_F(Overview, AFillRedrawsOnlyItsRectangle)
{
    recorder.painted = {};

    BrushSettings fill;
    fill.terrainType = 4;
    fill.fillX = fill.fillY = true;
    context->session.setAnchorCell({std::uint16_t(GrassBlock.left()), std::uint16_t(GrassBlock.top())});
    ASSERT_EQ(context->session.paint(fill, GrassBlock.left() + 1, GrassBlock.top() + 1),
              std::size_t(GrassBlock.width() * GrassBlock.height()));
    settle();

    EXPECT_EQ(recorder.painted, QRegion(QRect(GrassBlock.topLeft() * 4, GrassBlock.size() * 4)));
    EXPECT_EQ(pictureColour(GrassBlock.bottomRight()), TerrainColours[4]);
    EXPECT_EQ(view().picture(), renderOverview(context->session.document().ground, Side, 4));
}

TEST_F(Overview, FollowsTheLevelAndTheMapSize)
{
    BrushSettings water;
    water.terrainType = 8;
    context->session.paint(water, 0, 0);
    context->session.selectLevel(1);
    settle();
    EXPECT_EQ(pictureColour(RockCell), TerrainColours[9]);
    EXPECT_EQ(pictureColour(GrassBlock.topLeft()), TerrainColours[0]);
    // Undoing the ground's edit changes a level not shown: the picture stays.
    const QImage underground = view().picture();
    recorder.painted = {};
    context->session.undoLast();
    settle();
    EXPECT_EQ(view().picture(), underground);
    EXPECT_TRUE(recorder.painted.isEmpty());
    context->session.selectLevel(0);
    settle();
    EXPECT_EQ(pictureColour(GrassBlock.topLeft()), TerrainColours[2]);
    EXPECT_EQ(pictureColour(QPoint(0, 0)), TerrainColours[0]);

    // Twice the side no longer fits at four pixels a cell.
    ASSERT_TRUE(context->session.resize(2 * Side));
    settle();
    EXPECT_EQ(view().scale(), OverviewScale(2));
    EXPECT_EQ(view().picture(), renderOverview(context->session.document().ground, 2 * Side, 2));
    EXPECT_EQ(view().frame(), QRect(grid->leftCol(), grid->topRow(), grid->visibleColCount() + 1,
                                    grid->visibleRowCount() + 1));

    // A larger dock takes a larger scale.
    dock->resize(2 * Side * 4 + 40, 2 * Side * 4 + 60);
    settle();
    EXPECT_EQ(view().scale(), OverviewScale(4));
    EXPECT_EQ(view().picture().size(), QSize(2 * Side * 4, 2 * Side * 4));
}

// A level too large for one pixel a cell is shown whole, a sample of its
// cells a pixel, unless the menu's check asks for one pixel a cell; clicks
// and edits find their cells either way.
TEST_F(Overview, ALargeLevelIsShownWholeBySamplingItsCells)
{
    constexpr int Large = 1000;
    ASSERT_TRUE(context->session.resize(Large));
    settle();
    const QSize room = dock->findChild<QScrollArea *>("overviewScroll")->maximumViewportSize();
    const OverviewScale scale = view().scale();
    ASSERT_TRUE(scale.samples());
    EXPECT_LE(view().picture().width(), std::min(room.width(), room.height()));
    EXPECT_GT(view().picture().width(), std::min(room.width(), room.height()) / 2);
    EXPECT_EQ(view().picture(), renderOverview(context->session.document().ground, Large, scale));
    // The frame covers the pixels of the cells the grid shows, at least a few
    // pixels a side so that it can be seen, and inside the picture.
    const QRect frame = view().framePixels();
    EXPECT_TRUE(frame.contains(scale.pixelsOf(gridView(Large))));
    EXPECT_GE(frame.width(), 6);
    EXPECT_TRUE(view().picture().rect().contains(frame));

    // A click names the cell its pixel shows; the grid centres on it.
    QTest::mouseClick(viewWidget(), Qt::LeftButton, {}, QPoint(40, 30));
    const QPoint picked = scale.cellAt(QPoint(40, 30), Large);
    EXPECT_EQ(grid->leftCol(), picked.x() - grid->visibleColCount() / 2);
    EXPECT_EQ(grid->topRow(), picked.y() - grid->visibleRowCount() / 2);

    // A fill of a block redraws the pixels that sample it.
    BrushSettings water;
    water.terrainType = 8;
    water.brushWidth = water.brushHeight = 30;
    context->session.paint(water, 600, 600);
    settle();
    EXPECT_EQ(view().picture(), renderOverview(context->session.document().ground, Large, scale));
    EXPECT_EQ(view().picture().pixel(scale.pixelsOf(QRect(615, 615, 1, 1)).topLeft()), TerrainColours[8]);

    // Unchecked: one pixel a cell, in a scrolling area.
    dock->wholeLevelAction()->trigger();
    settle();
    EXPECT_EQ(view().scale(), OverviewScale(1));
    EXPECT_EQ(view().picture().size(), QSize(Large, Large));
    dock->wholeLevelAction()->trigger();
    settle();
    EXPECT_EQ(view().scale(), scale);
}

// While hidden the dock keeps nothing up to date; shown again it is current.
TEST_F(Overview, HiddenDockCatchesUpWhenShown)
{
    dock->hide();
    BrushSettings brush;
    brush.terrainType = 8;
    context->session.paint(brush, 0, 0);
    context->session.selectLevel(1);
    context->session.selectLevel(0);
    settle();
    EXPECT_EQ(pictureColour(QPoint(0, 0)), TerrainColours[0]);
    dock->show();
    settle();
    EXPECT_EQ(pictureColour(QPoint(0, 0)), TerrainColours[8]);
    EXPECT_EQ(view().frame(), gridView());
}

// The symmetry's mirror axis is drawn over the picture.
TEST_F(Overview, ShowsTheSymmetryAxis)
{
    EXPECT_EQ(view().guides(), SymmetryMode::Off);
    const int middle = view().picture().width() / 2;
    const QRgb before = viewWidget()->grab().toImage().pixel(middle, 2);
    context->session.setSymmetry(SymmetryMode::LeftRight);
    settle();
    EXPECT_EQ(view().guides(), SymmetryMode::LeftRight);
    const QImage drawn = viewWidget()->grab().toImage();
    EXPECT_NE(drawn.pixel(middle, 2), before);
    EXPECT_EQ(drawn.pixel(middle, 2), QColor(255, 0, 200).rgb());
}

}  // namespace
