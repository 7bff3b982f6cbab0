// The overview picture: a whole level at one to four pixels a cell, each cell
// in the colour of its terrain (or of its river or road), kept up to date by
// redrawing only the cells that changed.
#pragma once

#include "map/TerrainLayer.h"

#include <QImage>
#include <QRect>
#include <QSize>

#include <cstdint>

inline constexpr int MinOverviewScale = 1;
inline constexpr int MaxOverviewScale = 4;

// The largest number of pixels a cell (1..4) at which a level of side cells
// fits into available; 1 when even that does not fit.
int overviewScale(std::uint32_t side, QSize available);

// The first side x side cells of the layer (side at most the layer's side),
// scale x scale pixels a cell (1..4): an 8-bit indexed image whose colour
// table holds the terrain colours, UnknownTerrainColour for terrain types
// without one, and the river and road line colours. A river shows over a
// road, a road over the terrain. A null image when side or scale is out of
// range or the memory cannot be had.
QImage renderOverview(const TerrainLayer &layer, std::uint32_t side, int scale);

// Redraws the cells of the rectangle (columns and rows, clipped to the
// picture) of an overview made by renderOverview from the same layer and
// scale, after they changed.
void updateOverview(QImage &overview, const TerrainLayer &layer, int scale, const QRect &cells);
