// Which battlefield the obstacle window shows: the one of the selected map
// cell (cell mode) or the one picked in the panel's three lists (list mode).
// This is the decision the Obstacles button, the three lists and the cell
// selection make; the main window applies the result to the window.
#pragma once

#include "obstacles/ObstacleView.h"

#include <cstdint>
#include <optional>

struct MapDocument;
class TerrainLayer;

// Index of the last item ("not change") of the battlefield list: cell mode.
inline constexpr int CellModeItem = 10;

// The battlefield code of the cell at (column, row) of a layer: rock and
// terrain types above 9 give NoBattlefield (unless the shore rule makes them
// shore); water gives 8 on either level; on the underground level every other
// type gives 6; on the surface a cell next to water (diagonals included) that
// is not a corner of the map is shore (9). Nothing when the cell lies outside
// the layer.
std::optional<std::uint8_t> battlefieldOfCell(const TerrainLayer &layer, std::uint32_t column, std::uint32_t row,
                                              int level);

struct ObstacleRequest {
    bool featureOn = false;            // the obstacle catalogue is on
    int battlefieldItem = CellModeItem;  // selected index of the battlefield list
    int xItem = 0;                     // selected index of the x list (= x)
    int yItem = 0;                     // selected index of the y list (= y)
    const MapDocument *map = nullptr;  // the open map, or null
    std::uint32_t anchorColumn = 0;    // the selected cell
    std::uint32_t anchorRow = 0;
    int level = 0;                     // the chosen level (0 ground, 1 underground)
};

struct ObstacleChoice {
    enum class Action {
        Show,           // store view, show the window if hidden, repaint it
        NoBattlefield,  // store view, set the caption to "noobstacles", repaint, do not show
    };
    Action action = Action::Show;
    ObstacleView view;  // the new ObstacleView
};

// The choice for a request, given the view shown so far (a cell without a
// battlefield keeps its x and y). Nothing means nothing happens: the feature
// is off, no map is open in cell mode, the selected cell lies outside the
// current map, or no list item is selected.
std::optional<ObstacleChoice> chooseObstacleView(const ObstacleRequest &request, const ObstacleView &current);
