// The text of the information label for a selected cell.
#pragma once

#include "map/TerrainCell.h"

#include <QRect>
#include <QString>

// Eleven lines joined by single carriage returns: the selection's corners
// (inclusive column and row numbers), the cell's position, its six value bytes
// and the six mirror bits as digits, bit 5 first. Bits 6 and 7 are not shown.
QString cellInformationText(const QRect &selection, int column, int row, const TerrainCell &cell);
