// The overview picture of a level: one palette index per cell, found through
// small lookup tables and written straight into the image's rows.
#include "gfx/OverviewImage.h"

#include "base/LargeMemory.h"
#include "gfx/CellRenderer.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>

namespace {

// Palette layout: terrain types 0..9, the unknown terrain, roads 1..3, rivers 1..4.
constexpr int UnknownIndex = int(TerrainColours.size());
constexpr int FirstRoadIndex = UnknownIndex + 1;
constexpr int FirstRiverIndex = FirstRoadIndex + int(RoadLineColours.size());
constexpr int PaletteSize = FirstRiverIndex + int(RiverLineColours.size());

QList<QRgb> overviewPalette()
{
    QList<QRgb> palette(TerrainColours.begin(), TerrainColours.end());
    palette.append(UnknownTerrainColour);
    palette.append(QList<QRgb>(RoadLineColours.begin(), RoadLineColours.end()));
    palette.append(QList<QRgb>(RiverLineColours.begin(), RiverLineColours.end()));
    return palette;
}

// Palette index by byte value: 0 where the feature is absent or has no colour.
struct IndexTables {
    std::array<std::uint8_t, 256> terrain{};
    std::array<std::uint8_t, 256> river{};
    std::array<std::uint8_t, 256> road{};
};

constexpr IndexTables makeIndexTables()
{
    IndexTables tables;
    for (int value = 0; value < 256; ++value)
        tables.terrain[size_t(value)] = std::uint8_t(value < UnknownIndex ? value : UnknownIndex);
    for (int type = 1; type <= int(RiverLineColours.size()); ++type)
        tables.river[size_t(type)] = std::uint8_t(FirstRiverIndex + type - 1);
    for (int type = 1; type <= int(RoadLineColours.size()); ++type)
        tables.road[size_t(type)] = std::uint8_t(FirstRoadIndex + type - 1);
    return tables;
}

constexpr IndexTables Indexes = makeIndexTables();

// River indexes lie above road indexes and those above terrain indexes, so
// the largest of the three is the one shown, found without branches.
inline std::uint8_t cellIndex(const TerrainCell &cell)
{
    return std::max({Indexes.terrain[cell.tertype], Indexes.road[cell.roadtype], Indexes.river[cell.rivtype]});
}

// Draws the cells of the rectangle, which lies inside the picture.
void drawCells(QImage &overview, const TerrainLayer &layer, int scale, const QRect &cells)
{
    const int width = cells.width();
    for (int row = cells.top(); row <= cells.bottom(); ++row) {
        const TerrainCell *cell = &layer.at(std::uint32_t(row), std::uint32_t(cells.left()));
        uchar *line = overview.scanLine(row * scale) + cells.left() * scale;
        if (scale == 1) {
            for (int column = 0; column < width; ++column)
                line[column] = cellIndex(cell[column]);
        } else {
            for (int column = 0; column < width; ++column)
                std::memset(line + column * scale, cellIndex(cell[column]), size_t(scale));
        }
        for (int copy = 1; copy < scale; ++copy)
            std::memcpy(overview.scanLine(row * scale + copy) + cells.left() * scale, line, size_t(width * scale));
    }
}

// Draws the pixels of the rectangle (inside the picture) of a sampled
// overview of a level of the side: each shows its block's sample cell.
void drawSamples(QImage &overview, const TerrainLayer &layer, std::uint32_t side, int cellsPerPixel, const QRect &pixels)
{
    const auto sample = [&](int pixel) {
        return std::min<std::uint32_t>(std::uint32_t(pixel) * std::uint32_t(cellsPerPixel) + std::uint32_t(cellsPerPixel / 2),
                                       side - 1);
    };
    for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
        const TerrainCell *cells = &layer.at(sample(y), 0);
        uchar *line = overview.scanLine(y);
        for (int x = pixels.left(); x <= pixels.right(); ++x)
            line[x] = cellIndex(cells[sample(x)]);
    }
}

// An indexed image of the size, in memory made for being written in one go:
// a large overview is drawn right after it is made.
QImage newIndexedImage(int width, int height)
{
    const qsizetype bytesPerLine = (qsizetype(width) + 3) & ~qsizetype(3);  // rows of whole 32-bit words
    void *memory = allocateLarge(std::size_t(bytesPerLine) * std::size_t(height));
    if (!memory)
        return {};
    return QImage(static_cast<uchar *>(memory), width, height, bytesPerLine, QImage::Format_Indexed8,
                  [](void *buffer) { std::free(buffer); }, memory);
}

}  // namespace

QRect OverviewScale::pixelsOf(const QRect &cells) const
{
    if (cells.isEmpty())
        return {};
    if (samples())
        return QRect(QPoint(cells.left() / m_cells, cells.top() / m_cells),
                     QPoint(cells.right() / m_cells, cells.bottom() / m_cells));
    return QRect(cells.topLeft() * m_pixels, cells.size() * m_pixels);
}

QPoint OverviewScale::cellAt(QPoint pixel, std::uint32_t side) const
{
    const int last = int(std::max<std::uint32_t>(side, 1)) - 1;
    const auto cell = [&](int at) {
        return std::clamp(samples() ? at * m_cells + m_cells / 2 : at / m_pixels, 0, last);
    };
    return {cell(pixel.x()), cell(pixel.y())};
}

OverviewScale overviewScale(std::uint32_t side, QSize available, bool wholeLevel)
{
    const qint64 room = std::min(available.width(), available.height());
    for (int scale = MaxOverviewScale; scale >= MinOverviewScale; --scale)
        if (qint64(side) * scale <= room)
            return scale;
    if (!wholeLevel)
        return MinOverviewScale;
    // The fewest cells a pixel whose picture fits; a single pixel at worst.
    const qint64 cells = room <= 0 ? qint64(side) : (qint64(side) + room - 1) / room;
    return OverviewScale::cellsPerPixel(int(std::clamp<qint64>(cells, 2, std::max<qint64>(side, 2))));
}

QImage renderOverview(const TerrainLayer &layer, std::uint32_t side, OverviewScale scale)
{
    if (side == 0 || side > layer.side() || !scale.isValid())
        return {};
    const int pictureSide = int(scale.pictureSide(side));
    QImage overview = newIndexedImage(pictureSide, pictureSide);
    if (overview.isNull())
        return {};
    static const QList<QRgb> palette = overviewPalette();
    static_assert(PaletteSize <= 256);
    overview.setColorTable(palette);
    if (scale.samples())
        drawSamples(overview, layer, side, scale.cellsPerPixel(), overview.rect());
    else
        drawCells(overview, layer, scale.pixelsPerCell(), QRect(0, 0, int(side), int(side)));
    return overview;
}

void updateOverview(QImage &overview, const TerrainLayer &layer, OverviewScale scale, const QRect &cells)
{
    if (!scale.isValid() || overview.isNull() || layer.side() == 0)
        return;
    if (scale.samples()) {
        const std::uint32_t side = std::uint32_t(std::min<qint64>(layer.side(), qint64(overview.width()) * scale.cellsPerPixel()));
        const QRect level(0, 0, int(side), int(side));
        const QRect pixels = scale.pixelsOf(cells.intersected(level)).intersected(overview.rect());
        if (!pixels.isEmpty())
            drawSamples(overview, layer, side, scale.cellsPerPixel(), pixels);
        return;
    }
    const int pixels = scale.pixelsPerCell();
    const int side = std::min(overview.width() / pixels, int(layer.side()));
    const QRect area = cells.intersected(QRect(0, 0, side, std::min(side, overview.height() / pixels)));
    if (!area.isEmpty())
        drawCells(overview, layer, pixels, area);
}
