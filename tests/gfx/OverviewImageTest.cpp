// Tests of the overview picture: the scale that fits, each cell's colour (or
// each block's sample), and the redraw of a rectangle of changed cells only.
#include "gfx/OverviewImage.h"

#include "gfx/CellRenderer.h"

#include <gtest/gtest.h>

namespace {

// The colour the overview shows for a cell.
QRgb expectedColour(const TerrainCell &cell)
{
    if (cell.rivtype >= 1 && cell.rivtype <= RiverLineColours.size())
        return RiverLineColours[cell.rivtype - 1u];
    if (cell.roadtype >= 1 && cell.roadtype <= RoadLineColours.size())
        return RoadLineColours[cell.roadtype - 1u];
    return cell.tertype < TerrainColours.size() ? TerrainColours[cell.tertype] : UnknownTerrainColour;
}

// Every scale x scale block of the picture shows its cell's colour.
void expectCellsShown(const QImage &overview, const TerrainLayer &layer, int side, int scale)
{
    ASSERT_EQ(overview.size(), QSize(side * scale, side * scale));
    for (int y = 0; y < overview.height(); ++y)
        for (int x = 0; x < overview.width(); ++x)
            ASSERT_EQ(overview.pixel(x, y), expectedColour(layer.at(std::uint32_t(y / scale), std::uint32_t(x / scale))))
                << "pixel " << x << "," << y << " at scale " << scale;
}

// A layer holding every terrain type, unknown types, rivers, roads, rivers
// over roads and feature values without a colour.
TerrainLayer variedLayer(std::uint32_t side)
{
    TerrainLayer layer(side);
    for (std::uint32_t row = 0; row < side; ++row)
        for (std::uint32_t column = 0; column < side; ++column) {
            const std::uint32_t i = row * side + column;
            layer.at(row, column) = {std::uint8_t(i % 13 == 12 ? 200 : i % 13), std::uint8_t(i),
                                     std::uint8_t(i % 7 < 5 ? i % 7 : 0), 0, std::uint8_t(i % 5), 0, 0};
        }
    return layer;
}

TEST(OverviewScale, LargestScaleUpToFourThatFitsThenTheFewestCellsAPixel)
{
    const struct {
        std::uint32_t side;
        QSize available;
        bool wholeLevel;
        OverviewScale scale;
    } cases[] = {
        {36, {200, 200}, true, 4},
        {36, {144, 500}, true, 4},
        {36, {143, 500}, true, 3},
        {72, {150, 300}, true, 2},
        {144, {200, 200}, true, 1},
        // Too large for one pixel a cell: whole, at a sample of cells a pixel.
        {9000, {300, 300}, true, OverviewScale::cellsPerPixel(30)},
        {9000, {299, 500}, true, OverviewScale::cellsPerPixel(31)},
        {201, {200, 200}, true, OverviewScale::cellsPerPixel(2)},
        {50, {0, 0}, true, OverviewScale::cellsPerPixel(50)},
        // Or at one pixel a cell, to scroll.
        {9000, {300, 300}, false, 1},
        {50, {0, 0}, false, 1},
    };
    for (const auto &c : cases) {
        const OverviewScale scale = overviewScale(c.side, c.available, c.wholeLevel);
        EXPECT_TRUE(scale == c.scale) << c.side << " in " << c.available.width() << "x" << c.available.height()
                                      << ": " << scale.pixelsPerCell() << " pixels, " << scale.cellsPerPixel()
                                      << " cells";
        if (c.wholeLevel)
            EXPECT_LE(scale.pictureSide(c.side), std::max(std::min(c.available.width(), c.available.height()), 1)) << c.side;
    }
}

// Below one pixel a cell, each pixel shows its block's middle cell, or the
// last cell of the level where the block runs past it; a click on a pixel
// names that cell, and a rectangle of cells covers the pixels of its blocks.
TEST(OverviewScale, SampledPicturesShowTheMiddleCellOfEachBlock)
{
    const TerrainLayer layer = variedLayer(23);
    const OverviewScale scale = OverviewScale::cellsPerPixel(4);
    const QImage overview = renderOverview(layer, 23, scale);
    ASSERT_EQ(overview.size(), QSize(6, 6));
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) {
            const QPoint cell = scale.cellAt(QPoint(x, y), 23);
            EXPECT_EQ(cell, QPoint(std::min(x * 4 + 2, 22), std::min(y * 4 + 2, 22)));
            EXPECT_EQ(overview.pixel(x, y), expectedColour(layer.at(std::uint32_t(cell.y()), std::uint32_t(cell.x()))));
        }
    EXPECT_EQ(scale.pixelsOf(QRect(3, 4, 6, 1)), QRect(QPoint(0, 1), QPoint(2, 1)));
    EXPECT_EQ(OverviewScale(3).pixelsOf(QRect(3, 4, 6, 1)), QRect(9, 12, 18, 3));
    EXPECT_EQ(OverviewScale(3).cellAt(QPoint(8, 500), 23), QPoint(2, 22));
    EXPECT_TRUE(renderOverview(layer, 23, OverviewScale::cellsPerPixel(23)).size() == QSize(1, 1));

    // A change redraws the pixels whose sample it changed, and only those.
    TerrainLayer after = layer;
    after.at(10, 6) = {8, 0, 0, 0, 0, 0, 0};  // the sample of pixel (1, 2)
    after.at(9, 5) = {8, 0, 0, 0, 0, 0, 0};   // no pixel's sample
    QImage redrawn = overview;
    updateOverview(redrawn, after, scale, QRect(5, 9, 2, 2));
    EXPECT_EQ(redrawn, renderOverview(after, 23, scale));
    EXPECT_EQ(redrawn.pixel(1, 2), TerrainColours[8]);
    updateOverview(redrawn, TerrainLayer(23), scale, QRect(23, 0, 4, 4));
    EXPECT_EQ(redrawn, renderOverview(after, 23, scale));
}

TEST(RenderOverview, EachCellInItsTerrainRiverOrRoadColourAtEveryScale)
{
    const TerrainLayer layer = variedLayer(13);
    for (int scale = MinOverviewScale; scale <= MaxOverviewScale; ++scale) {
        const QImage overview = renderOverview(layer, 13, scale);
        EXPECT_EQ(overview.format(), QImage::Format_Indexed8);
        expectCellsShown(overview, layer, 13, scale);
    }
    // A map side smaller than the layer's (as during a size change) shows the
    // map's cells only.
    expectCellsShown(renderOverview(layer, 5, 2), layer, 5, 2);
}

TEST(RenderOverview, LargePicturesInTheirOwnMemoryDrawAndUpdateAlike)
{
    // 1501 x 1501 bytes: more than the block size from which pictures get
    // memory of their own, and rows that are not whole 32-bit words.
    const TerrainLayer layer = variedLayer(1501);
    QImage overview = renderOverview(layer, 1501, 1);
    expectCellsShown(overview, layer, 1501, 1);
    const QImage copy = overview;  // a copy keeps its pixels when the original changes
    updateOverview(overview, TerrainLayer(1501), 1, QRect(0, 0, 1501, 1501));
    expectCellsShown(overview, TerrainLayer(1501), 1501, 1);
    expectCellsShown(copy, layer, 1501, 1);
}

TEST(RenderOverview, RefusesSizesAndScalesOutOfRange)
{
    const TerrainLayer layer(4);
    EXPECT_TRUE(renderOverview(layer, 0, 1).isNull());
    EXPECT_TRUE(renderOverview(layer, 5, 1).isNull());
    EXPECT_TRUE(renderOverview(layer, 4, 0).isNull());
    EXPECT_TRUE(renderOverview(layer, 4, 5).isNull());
    EXPECT_TRUE(renderOverview(layer, 4, OverviewScale::cellsPerPixel(0)).isNull());
}

TEST(UpdateOverview, RedrawsOnlyTheGivenCellsClippedToThePicture)
{
    const int side = 10;
    const int scale = 3;
    const TerrainLayer before(side);
    QImage overview = renderOverview(before, side, scale);
    TerrainLayer after = variedLayer(side);
    const QRect changed(6, 2, 7, 3);  // reaches past the right edge

    updateOverview(overview, after, scale, changed);

    // Cells inside the rectangle show the new values; all others still show
    // the old ones, so nothing outside it was redrawn.
    TerrainLayer expected = before;
    for (int row = 0; row < side; ++row)
        for (int column = 0; column < side; ++column)
            if (changed.contains(column, row))
                expected.at(std::uint32_t(row), std::uint32_t(column)) = after.at(std::uint32_t(row), std::uint32_t(column));
    expectCellsShown(overview, expected, side, scale);
    EXPECT_EQ(overview, [&] {
        QImage redrawn = renderOverview(before, side, scale);
        updateOverview(redrawn, after, scale, QRect(6, 2, 4, 3));
        return redrawn;
    }());

    // Rectangles wholly outside the picture change nothing.
    const QImage kept = overview;
    updateOverview(overview, TerrainLayer(side), scale, QRect(side, 0, 3, 3));
    updateOverview(overview, TerrainLayer(side), scale, QRect(-4, -4, 4, 4));
    EXPECT_EQ(overview, kept);
}

}  // namespace
