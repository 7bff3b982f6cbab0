// Drawing of map grid cells at any cell size: the visibility rule the grid
// applies before drawing, the plain-colour picture (a terrain colour with
// lines joining neighbouring rivers and roads), the sprite picture, and the
// picture of a whole level.
#pragma once

#include "map/MapDocument.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRgb>

#include <array>
#include <cstdint>

class QPainter;
class TileSprites;
class QRect;

// The part of the grid in view: the first visible column and row, and the
// numbers of columns and rows shown whole.
struct GridView {
    int leftCol = 0;
    int topRow = 0;
    int visibleColumns = 0;
    int visibleRows = 0;
};

// Fill colour by terrain type 0..9.
inline constexpr std::array<QRgb, 10> TerrainColours = {
    qRgb(80, 63, 15), qRgb(223, 207, 143), qRgb(0, 64, 0), qRgb(176, 192, 192), qRgb(79, 128, 111),
    qRgb(128, 112, 48), qRgb(128, 48, 0), qRgb(79, 79, 79), qRgb(15, 80, 144), qRgb(0, 0, 0)};
// Line colour by road type 1..3 (index type - 1).
inline constexpr std::array<QRgb, 3> RoadLineColours = {
    qRgb(103, 69, 35), qRgb(153, 153, 153), qRgb(34, 34, 34)};
// Line colour by river type 1..4 (index type - 1).
inline constexpr std::array<QRgb, 4> RiverLineColours = {
    qRgb(0, 0, 153), qRgb(255, 255, 255), qRgb(153, 102, 51), qRgb(153, 0, 0)};
// Fill of a cell whose terrain type byte has no colour (above 9, as a loaded
// file may hold): a loud colour, so such cells stand out and a redraw never
// leaves what the cell showed before.
inline constexpr QRgb UnknownTerrainColour = qRgb(255, 0, 255);
// Colour of the configuration numbers.
inline constexpr QRgb ConfigNumberColour = qRgb(0, 0, 0);

// True when the cell (column, row) is to be drawn: the map is not being
// re-dimensioned, the cell lies inside the map, and it is within the fully
// visible columns and rows or the one partly visible column or row after them.
bool cellIsDrawable(const MapDocument &document, int column, int row, const GridView &view, int level = 0);

// Cells smaller than this show no configuration numbers: the digits would
// hide the cell.
inline constexpr int MinNumberCellSize = 16;

// Draws the cell at layer[row][column] in plain colours into cellRect (its
// pixels; lines towards the right and bottom neighbours reach into them by
// the line width). Lines are one pixel wide per 32 pixels of cell side, at
// least one; at 32 pixels roads run through (15, 27) and rivers through
// (27, 15) of the cell, at other sizes the same points scaled. Road lines are
// drawn before river lines, so rivers lie over roads. Values outside the
// colour tables draw no line for that feature.
void renderPlainCell(QPainter &painter, const QRect &cellRect, const TerrainLayer &layer, std::uint32_t mapSize,
                     int column, int row, bool showConfigNumbers, const QFont &font);

// Everything the drawing of a grid cell reads besides the cell's position.
struct CellRenderContext {
    const MapDocument &document;
    GridView view;
    bool showConfigNumbers = false;
    QFont font;
    const TileSprites *sprites = nullptr;  // sprite mode when set, plain colours otherwise
    QColor background = Qt::white;         // the grid's own colour, under the tiles
    int level = 0;                         // the level drawn: 0 ground, 1 underground
};

// The font of the map grid and the main window as designed: "MS Sans Serif",
// 11 pixels high (the system's sans-serif where that font is missing).
QFont gridFont();

// Limits of a level picture: each side at most MaxPictureSide pixels and the
// picture (four bytes a pixel) at most MaxPictureBytes.
inline constexpr qint64 MaxPictureSide = 32767;
inline constexpr qint64 MaxPictureBytes = qint64(1) << 31;

// True when the picture of a level of side cells at cellSize pixels a cell
// (1..64) keeps within the limits.
bool levelPictureFits(std::uint32_t side, int cellSize);

// The largest cell size (1..64) whose picture of a level of side cells keeps
// within the limits; 0 when not even one pixel a cell does.
int largestFittingCellSize(std::uint32_t side);

// The whole layer of the level as the grid draws it at cellSize pixels a cell
// (1..64), on white: with the sprites when given, else in plain colours. A
// null image when the size lies outside 1..64, the picture would break the
// limits, or its memory cannot be had.
QImage renderMapLevel(const MapDocument &document, int cellSize, bool showConfigNumbers, const TileSprites *sprites,
                      int level = 0);

// The grid's single drawing entry: draws the cell at (column, row) of the
// context's level into cellRect, a square of the grid's cell size (1..64
// pixels), when cellIsDrawable allows it, else nothing. Sprites are drawn at
// the cell size; numbers are shown from MinNumberCellSize pixels up.
void RenderCell(QPainter &painter, const QRect &cellRect, const CellRenderContext &context, int column, int row);
