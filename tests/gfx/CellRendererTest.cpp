// Tests of the cell renderer: which cells are drawn, and the exact pixels of the
// plain-colour picture.
#include "gfx/CellRenderer.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

constexpr int Cell = 32;
constexpr QRgb Canvas = qRgb(1, 2, 3);

MapDocument openMap(std::uint32_t side)
{
    MapDocument document;
    document.mapSize = side;
    document.ground = TerrainLayer(side);
    document.isLoaded = true;
    return document;
}

// Renders the given cells of the layer into an image of columns x rows cells,
// first filled with the canvas colour, each cell at its own grid position.
QImage render(const TerrainLayer &layer, int columns, int rows, const std::vector<std::pair<int, int>> &cells,
              bool showConfigNumbers = false)
{
    QImage image(columns * Cell, rows * Cell, QImage::Format_RGB32);
    image.fill(Canvas);
    QPainter painter(&image);
    for (const auto &[column, row] : cells)
        renderPlainCell(painter, QRect(column * Cell, row * Cell, Cell, Cell), layer, layer.side(), column, row,
                        showConfigNumbers, QFont());
    return image;
}

// The pixels of one colour inside the rectangle, as (x, y) relative to its top-left.
std::vector<std::pair<int, int>> pixelsOf(const QImage &image, const QRect &area, QRgb colour)
{
    std::vector<std::pair<int, int>> pixels;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) == colour)
                pixels.emplace_back(x - area.left(), y - area.top());
    return pixels;
}

// The pixels of a one-pixel line from (x0, y0) to (x1, y1), both inclusive.
std::vector<std::pair<int, int>> line(int x0, int y0, int x1, int y1)
{
    std::vector<std::pair<int, int>> pixels;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            pixels.emplace_back(x, y);
    return pixels;
}

TEST(CellIsDrawable, InsideTheMapAndTheVisiblePartOnly)
{
    MapDocument map = openMap(40);
    const GridView view{5, 10, 20, 15};
    const struct {
        int column;
        int row;
        bool drawn;
    } cases[] = {
        {5, 10, true},   {25, 25, true},  // the partly visible column and row after the whole ones
        {4, 10, false},  {5, 9, false},   {26, 10, false}, {5, 28, false},  // three rows below the last whole one
        {-1, 10, false}, {40, 10, false}, {5, 40, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.column << "," << c.row);
        EXPECT_EQ(cellIsDrawable(map, c.column, c.row, view), c.drawn);
    }
    map.isResizing = true;
    EXPECT_FALSE(cellIsDrawable(map, 5, 10, view));
}

TEST(RenderCell, DrawsOnlyDrawableCells)
{
    MapDocument map = openMap(4);
    map.ground.at(1, 1).tertype = 8;
    QImage image(4 * Cell, 4 * Cell, QImage::Format_RGB32);
    image.fill(Canvas);
    QPainter painter(&image);
    const CellRenderContext context{map, {0, 0, 1, 1}, false, QFont()};
    RenderCell(painter, QRect(Cell, Cell, Cell, Cell), context, 1, 1);
    RenderCell(painter, QRect(2 * Cell, 2 * Cell, Cell, Cell), context, 2, 2);
    painter.end();
    EXPECT_EQ(image.pixel(Cell + 5, Cell + 5), TerrainColours[8]);
    EXPECT_EQ(image.pixel(2 * Cell + 5, 2 * Cell + 5), Canvas);
}

TEST(RenderPlainCell, FillsWithTheTerrainColour)
{
    TerrainLayer layer(12);
    for (int type = 0; type < 12; ++type)
        layer.at(0, type).tertype = std::uint8_t(type);
    std::vector<std::pair<int, int>> cells;
    for (int type = 0; type < 12; ++type)
        cells.emplace_back(type, 0);
    const QImage image = render(layer, 12, 1, cells);
    for (int type = 0; type < 12; ++type) {
        SCOPED_TRACE(type);
        const QRgb expected = type < 10 ? TerrainColours[type] : UnknownTerrainColour;
        EXPECT_EQ(pixelsOf(image, QRect(type * Cell, 0, Cell, Cell), expected).size(), std::size_t(Cell * Cell));
    }
}

TEST(RenderPlainCell, RoadInColumnZeroRunsFromItsAnchorIntoTheRightNeighbour)
{
    TerrainLayer layer(3);
    layer.at(1, 0) = {1, 0, 0, 0, 2};  // the road cell
    layer.at(1, 1) = {1, 0, 0, 0, 3};  // a road to its right
    layer.at(0, 0).rivtype = 1;        // rivers above and below do not count for roads
    layer.at(2, 0).rivtype = 1;
    const QImage image = render(layer, 3, 3, {{0, 1}});
    // From (Left + 15, Top + 27) up to and including column Right, the first
    // pixel column of the right neighbour.
    EXPECT_EQ(pixelsOf(image, QRect(0, Cell, 3 * Cell, Cell), RoadLineColours[1]), line(15, 27, 32, 27));
}

TEST(RenderPlainCell, RiverLinesLieOverRoadLinesAndEndOnePixelIntoLowerAndRightNeighbours)
{
    // A cell with a road and a river in the middle of a 3 x 3 map, with both
    // features on all four sides.
    TerrainLayer layer(3);
    for (const auto &[column, row] : {std::pair{1, 0}, {0, 1}, {2, 1}, {1, 2}, {1, 1}})
        layer.at(row, column) = {0, 0, 4, 0, 1};
    const QImage image = render(layer, 3, 3, {{1, 1}});

    QImage expected(3 * Cell, 3 * Cell, QImage::Format_RGB32);
    expected.fill(Canvas);
    QPainter painter(&expected);
    painter.fillRect(Cell, Cell, Cell, Cell, QColor::fromRgb(TerrainColours[0]));
    painter.end();
    const auto draw = [&expected](int x0, int y0, int x1, int y1, QRgb colour) {
        for (const auto &[x, y] : line(x0, y0, x1, y1))
            expected.setPixel(Cell + x, Cell + y, colour);
    };
    // Roads from (15, 27), rivers from (27, 15): left and up lines end on the
    // cell's own first column or row, right and down ones on the neighbour's.
    draw(0, 27, 15, 27, RoadLineColours[0]);
    draw(15, 27, 32, 27, RoadLineColours[0]);
    draw(15, 0, 15, 27, RoadLineColours[0]);
    draw(15, 27, 15, 32, RoadLineColours[0]);
    draw(0, 15, 27, 15, RiverLineColours[3]);
    draw(27, 15, 32, 15, RiverLineColours[3]);
    draw(27, 0, 27, 15, RiverLineColours[3]);
    draw(27, 15, 27, 32, RiverLineColours[3]);
    EXPECT_EQ(image, expected);
}

TEST(RenderPlainCell, ConfigNumberIsTheConfigurationOnTheTerrainColourCutAtTheCell)
{
    TerrainLayer layer(1);
    layer.at(0, 0) = {2, 47};
    QFont font;
    font.setPixelSize(40);  // larger than the cell, so the cut shows
    QImage image(2 * Cell, 2 * Cell, QImage::Format_RGB32);
    image.fill(Canvas);
    QPainter painter(&image);
    renderPlainCell(painter, QRect(0, 0, Cell, Cell), layer, 1, 0, 0, true, font);
    painter.end();

    QImage expected(2 * Cell, 2 * Cell, QImage::Format_RGB32);
    expected.fill(Canvas);
    QPainter reference(&expected);
    reference.setClipRect(0, 0, Cell, Cell);
    reference.fillRect(0, 0, Cell, Cell, QColor::fromRgb(TerrainColours[2]));
    reference.setFont(font);
    reference.setPen(QColor::fromRgb(ConfigNumberColour));
    reference.drawText(QRect(0, 0, Cell, Cell), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("47"));
    reference.end();

    EXPECT_EQ(image, expected);
    EXPECT_FALSE(pixelsOf(image, QRect(0, 0, Cell, Cell), ConfigNumberColour).empty());
    EXPECT_EQ(pixelsOf(image, QRect(0, Cell, 2 * Cell, Cell), Canvas).size(), std::size_t(2 * Cell * Cell));
    EXPECT_EQ(pixelsOf(image, QRect(Cell, 0, Cell, Cell), Canvas).size(), std::size_t(Cell * Cell));
}

}  // namespace
