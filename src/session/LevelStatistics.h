// The statistics page of a level: how many cells of each terrain, river and
// road type it holds, with their share, in the interface's words.
#pragma once

#include <QString>

class TerrainLayer;
struct InterfaceTexts;

QString levelStatisticsText(const TerrainLayer &layer, const InterfaceTexts &texts);
