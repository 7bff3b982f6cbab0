// Tests of the cell renderer: which cells are drawn, the exact pixels of the
// plain-colour picture, lines and numbers at every cell size, and the picture
// of a whole level with its limits.
#include "gfx/CellRenderer.h"

#include "SpriteFixtures.h"
#include "gfx/TileDrawing.h"
#include "gfx/TileSprites.h"
#include "writers/LoadedMap.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

constexpr int Cell = 32;
constexpr QRgb Canvas = qRgb(1, 2, 3);

MapDocument openMap(std::uint32_t side)
{
    return loadedMap(TerrainLayer(side));
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

TEST(RenderPlainCell, LinesScaleWithTheCellSize)
{
    // A road cell with a road to its right and a river cell with a river
    // below it; each line is as wide as the cell has 32 pixels (at least
    // one), runs from its scaled anchor and reaches by its width into the
    // neighbour.
    for (const int size : {1, 5, 8, 16, 32, 64}) {
        SCOPED_TRACE(size);
        TerrainLayer layer(3);
        layer.at(0, 0) = {1, 0, 0, 0, 2};
        layer.at(0, 1) = {1, 0, 0, 0, 3};
        layer.at(1, 2) = {1, 0, 1, 0, 0};
        layer.at(2, 2) = {1, 0, 2, 0, 0};
        QImage image(3 * size, 3 * size, QImage::Format_RGB32);
        image.fill(Canvas);
        QPainter painter(&image);
        for (const auto &[column, row] : {std::pair{0, 0}, {2, 1}})
            renderPlainCell(painter, QRect(column * size, row * size, size, size), layer, 3, column, row, false, QFont());
        painter.end();
        const int width = std::max(1, size / 32);
        std::vector<std::pair<int, int>> road;
        for (int y = size * 27 / 32; y < size * 27 / 32 + width; ++y)
            for (int x = size * 15 / 32; x < size + width; ++x)
                road.emplace_back(x, y);
        EXPECT_EQ(pixelsOf(image, image.rect(), RoadLineColours[1]), road);
        std::vector<std::pair<int, int>> river;
        for (int y = size + size * 15 / 32; y < 2 * size + width; ++y)
            for (int x = 2 * size + size * 27 / 32; x < 2 * size + size * 27 / 32 + width; ++x)
                river.emplace_back(x, y);
        EXPECT_EQ(pixelsOf(image, image.rect(), RiverLineColours[0]), river);
    }
}

// Tables filled from the fixture sprite files.
const TileSprites &fixtureSprites()
{
    static const TileSprites sprites = [] {
        TileSprites filled;
        for (const TileSpriteName &name : TileSpriteNames)
            filled.CopyDefFrames(fixtureSpriteFile(name), name.kind, name.index);
        return filled;
    }();
    return sprites;
}

// A 3 x 2 map with rivers, roads, mirror bits and numbers of one to three digits.
MapDocument numberedMap()
{
    MapDocument map = openMap(3);
    const TerrainCell cells[] = {{2, 0, 1, 3, 0, 0, 0x05}, {8, 47, 0, 0, 2, 9, 0x30}, {1, 255, 4, 12, 3, 16, 0x3F},
                                 {0, 7, 2, 1, 1, 2, 0},      {9, 128, 0, 0, 0, 0, 0x03}, {5, 78, 3, 5, 0, 0, 0}};
    for (int i = 0; i < 6; ++i)
        map.ground.at(std::uint32_t(i / 3), std::uint32_t(i % 3)) = cells[i];
    return map;
}

// The cells drawn the way the grid drew them before numbers were prepared:
// writing the text for every cell.
QImage numbersWrittenPerCell(const MapDocument &map, int size, const QFont &font, const TileSprites *sprites,
                             QImage::Format format)
{
    QImage image(3 * size, 2 * size, format);
    image.fill(Canvas);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(QColor::fromRgb(ConfigNumberColour));
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 3; ++column) {
            const QRect cell(column * size, row * size, size, size);
            const TerrainCell &value = map.ground.at(std::uint32_t(row), std::uint32_t(column));
            const QString text = QString::number(value.terconf);
            if (sprites) {
                painter.fillRect(cell, Qt::white);
                drawSpriteCell(painter, cell.topLeft(), value, *sprites, size);
                painter.setBackground(Qt::white);
                painter.setBackgroundMode(Qt::OpaqueMode);
                painter.drawText(QRect(cell.topLeft(), QSize(size * 4, size)),
                                 Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, text);
                painter.setBackgroundMode(Qt::TransparentMode);
            } else {
                const QRgb fill = value.tertype < 10 ? TerrainColours[value.tertype] : UnknownTerrainColour;
                painter.fillRect(cell, QColor::fromRgb(fill));
                painter.setClipRect(cell);
                painter.drawText(cell, Qt::AlignLeft | Qt::AlignTop, text);
                painter.setClipping(false);
            }
        }
    return image;
}

QImage renderedCells(const MapDocument &map, int size, bool showConfigNumbers, const QFont &font,
                     const TileSprites *sprites, QImage::Format format)
{
    QImage image(3 * size, 2 * size, format);
    image.fill(Canvas);
    QPainter painter(&image);
    const CellRenderContext context{map, {0, 0, 3, 2}, showConfigNumbers, font, sprites};
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 3; ++column)
            RenderCell(painter, QRect(column * size, row * size, size, size), context, column, row);
    return image;
}

TEST(RenderCell, PreparedNumbersGiveThePixelsOfWrittenText)
{
    // Without rivers and roads, whose plain-colour lines other tests check.
    MapDocument map = numberedMap();
    for (std::uint32_t i = 0; i < 6; ++i) {
        map.ground.at(i / 3, i % 3).rivtype = 0;
        map.ground.at(i / 3, i % 3).roadtype = 0;
    }
    QFont large;
    large.setPixelSize(40);  // reaches past the cell, so the cut and the box show
    for (const TileSprites *sprites : {static_cast<const TileSprites *>(nullptr), &fixtureSprites()})
        for (const int size : {16, 32, 64})
            for (const QFont &font : {gridFont(), large})
                for (const QImage::Format format : {QImage::Format_RGB32, QImage::Format_ARGB32_Premultiplied}) {
                    SCOPED_TRACE(testing::Message() << (sprites ? "sprites" : "plain") << " size " << size << " font "
                                                    << font.pixelSize() << " format " << format);
                    // Twice, so the second draws from the pictures the first prepared.
                    for (int pass = 0; pass < 2; ++pass)
                        ASSERT_EQ(renderedCells(map, size, true, font, sprites, format),
                                  numbersWrittenPerCell(map, size, font, sprites, format));
                }
}

TEST(RenderCell, NoNumbersBelowSixteenPixels)
{
    const MapDocument map = numberedMap();
    for (const TileSprites *sprites : {static_cast<const TileSprites *>(nullptr), &fixtureSprites()})
        for (const int size : {1, 8, 15}) {
            SCOPED_TRACE(size);
            EXPECT_EQ(renderedCells(map, size, true, gridFont(), sprites, QImage::Format_RGB32),
                      renderedCells(map, size, false, gridFont(), sprites, QImage::Format_RGB32));
        }
}

TEST(RenderMapLevel, SameAsTheGridsDrawingAtEveryCellSize)
{
    MapDocument map = numberedMap();
    map.ground.at(1, 2).tertype = 12;  // a type without colour or tiles
    for (const TileSprites *sprites : {static_cast<const TileSprites *>(nullptr), &fixtureSprites()})
        for (const int size : {1, 5, 8, 16, 32, 64})
            for (const bool numbers : {false, true}) {
                SCOPED_TRACE(testing::Message() << (sprites ? "sprites" : "plain") << " size " << size << " numbers "
                                                << numbers);
                QImage expected(3 * size, 3 * size, QImage::Format_RGB32);
                expected.fill(Qt::white);
                QPainter painter(&expected);
                const CellRenderContext context{map, {0, 0, 3, 3}, numbers, gridFont(), sprites};
                for (int row = 0; row < 3; ++row)
                    for (int column = 0; column < 3; ++column)
                        RenderCell(painter, QRect(column * size, row * size, size, size), context, column, row);
                painter.end();
                ASSERT_EQ(renderMapLevel(map, size, numbers, sprites), expected);
            }
}

TEST(RenderMapLevel, DrawsTheCurrentLevelAndRefusesSizesOutOfRange)
{
    MapDocument map = openMap(2);
    map.hasUnderground = true;
    map.underground = TerrainLayer(2);
    map.underground.at(0, 0).tertype = 7;
    const QImage picture = renderMapLevel(map, 3, false, nullptr, 1);
    EXPECT_EQ(picture.size(), QSize(6, 6));
    EXPECT_EQ(picture.pixel(2, 2), TerrainColours[7]);
    EXPECT_EQ(picture.pixel(3, 3), TerrainColours[0]);
    EXPECT_TRUE(renderMapLevel(map, 0, false, nullptr).isNull());
    EXPECT_TRUE(renderMapLevel(map, 65, false, nullptr).isNull());
    EXPECT_TRUE(renderMapLevel(openMap(0), 32, false, nullptr).isNull());
}

TEST(LevelPictureLimits, SidesUpTo32767PixelsAndTwoGibibytes)
{
    const struct {
        std::uint32_t side;
        int cellSize;
        bool fits;
        int largest;
    } cases[] = {
        {144, 64, true, 64},      {512, 64, false, 45},    {724, 32, true, 32},    {725, 32, false, 31},
        {1024, 23, false, 22},    {9000, 2, true, 2},      {9000, 3, false, 2},    {23170, 1, true, 1},
        {23171, 1, false, 0},     {65535, 1, false, 0},    {36, 0, false, 64},     {36, 65, false, 64},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.side << " at " << c.cellSize);
        EXPECT_EQ(levelPictureFits(c.side, c.cellSize), c.fits);
        EXPECT_EQ(largestFittingCellSize(c.side), c.largest);
    }
}

}  // namespace
