// A contact sheet of a sprite file: every picture in a grid with its number
// under it, for choosing the picture numbers of terrain edge rules.
#pragma once

#include "gfx/QvDefWrapper.h"

#include <QImage>

// Ten pictures a row, in frame order, each in a box of the largest frame's
// size with its number centred below; tiles of up to 64 pixels are drawn at
// twice their size. A null image when the sheet would be too large to hold.
// Raises what TQvDefWrapper::ExtractFrame raises for a damaged frame.
QImage drawContactSheet(const TQvDefWrapper &def);
