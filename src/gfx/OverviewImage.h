// The overview picture: a whole level at one to four pixels a cell, or at a
// sample of its cells a pixel, each cell in the colour of its terrain (or of
// its river or road), kept up to date by redrawing only the cells that
// changed.
#pragma once

#include "map/TerrainLayer.h"

#include <QImage>
#include <QRect>
#include <QSize>

#include <cstdint>

inline constexpr int MinOverviewScale = 1;
inline constexpr int MaxOverviewScale = 4;

// How an overview maps cells to pixels: each cell as a square of 1..4 pixels
// a side or, for a level too large for one pixel a cell, each square block of
// 2 or more cells a side as one pixel, which shows a sample of the block (its
// middle cell, or the one nearest it inside the level).
class OverviewScale {
public:
    // A number is pixels a cell.
    constexpr OverviewScale(int pixelsPerCell = MinOverviewScale)
        : m_pixels(pixelsPerCell)
    {
    }
    static constexpr OverviewScale cellsPerPixel(int cells)
    {
        OverviewScale scale;
        scale.m_cells = cells;
        return scale;
    }

    int pixelsPerCell() const { return m_pixels; }
    int cellsPerPixel() const { return m_cells; }
    // True below one pixel a cell.
    bool samples() const { return m_cells > 1; }
    bool isValid() const
    {
        return m_cells == 1 ? m_pixels >= MinOverviewScale && m_pixels <= MaxOverviewScale : m_pixels == 1 && m_cells > 1;
    }

    // The picture's pixels a side for a level of the side.
    qint64 pictureSide(std::uint32_t side) const
    {
        return samples() ? (qint64(side) + m_cells - 1) / m_cells : qint64(side) * m_pixels;
    }
    // The pixels that show the cells (a rectangle of column and row numbers).
    QRect pixelsOf(const QRect &cells) const;
    // The cell the pixel shows, inside a level of the side.
    QPoint cellAt(QPoint pixel, std::uint32_t side) const;

    friend bool operator==(const OverviewScale &, const OverviewScale &) = default;

private:
    int m_pixels = MinOverviewScale;
    int m_cells = 1;
};

// The scale at which a level of side cells fits into available: the largest
// number of pixels a cell (1..4) that fits; when even one does not, the
// fewest cells a pixel that fit (wholeLevel) or one pixel a cell (not).
OverviewScale overviewScale(std::uint32_t side, QSize available, bool wholeLevel = true);

// The first side x side cells of the layer (side at most the layer's side)
// at the scale: an 8-bit indexed image whose colour table holds the terrain
// colours, UnknownTerrainColour for terrain types without one, and the river
// and road line colours. A river shows over a road, a road over the terrain.
// A null image when side or the scale is out of range or the memory cannot be
// had.
QImage renderOverview(const TerrainLayer &layer, std::uint32_t side, OverviewScale scale);

// Redraws the pixels that show the cells of the rectangle (columns and rows,
// clipped to the picture) of an overview made by renderOverview from the same
// layer and scale, after they changed.
void updateOverview(QImage &overview, const TerrainLayer &layer, OverviewScale scale, const QRect &cells);
