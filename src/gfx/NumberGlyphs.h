// Prepared pictures of the configuration numbers that the grid writes on its
// cells, so that a repaint copies pictures instead of laying out text for
// every cell.
#pragma once

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRgb>

// How a number lies on its cell.
enum class NumberStyle {
    OnCellFill,  // plain colours: on the cell's fill colour, cut at the cell's edges
    OverTiles,   // sprites: on a box of the background colour, over the tiles, not cut at the cell
};

// A number's picture and where its top-left corner goes relative to the cell's.
struct NumberGlyph {
    QPoint offset;
    QImage image;  // ARGB32 premultiplied
};

// The picture of number (0..255) written in black with the font at the
// top-left of a cell of cellSize pixels, with the same pixels as writing the
// text there. OnCellFill gives the whole cell, filled with background;
// OverTiles gives the text on its background box, transparent elsewhere.
// Pictures are made on first use and kept (a few sets of fonts, colours and
// sizes); like all drawing this belongs to one thread.
const NumberGlyph &numberGlyph(int number, const QFont &font, QRgb background, int cellSize, NumberStyle style);
