// The item indexes of the brush selectors of the side panel, as the main window
// reads them, and the rule that refills the terrain configuration list.
#pragma once

#include <array>
#include <cstdint>

// Index of each selector's chosen item (-1 when a list has no selection yet).
struct BrushSelectors {
    // Items of the type lists that leave their part of the cell alone, and the
    // "fill" item of the brush size lists.
    static constexpr int TerrainNotChange = 10;
    static constexpr int RiverNotChange = 9;
    static constexpr int RoadNotChange = 7;
    static constexpr int RiverConfigNotChange = 13;
    static constexpr int RoadConfigNotChange = 17;
    static constexpr int MirrorModeSet = 0;
    static constexpr int MirrorModeSetMarked = 1;
    static constexpr int MirrorModeNotChange = 2;
    static constexpr int BrushFill = 36;

    int CBtertype = 0;
    int CBterconf = 0;
    int CBrivtype = RiverNotChange;
    int CBrivconf = RiverConfigNotChange;
    int CBroadtype = RoadNotChange;
    int CBroadconf = RoadConfigNotChange;
    std::array<bool, 6> LBmirror{};  // selected state of the mirror items 0..5
    int CBmirror = MirrorModeNotChange;
    int CBbrushx = 0;
    int CBbrushy = 0;
};

// The selectors that paint a cell as it is: its terrain type and picture,
// river and road with their pictures (a type of 0, none, picks the "no river"
// or "no road" item), and its six mirror bits set; the brush size stays as
// in current. A byte beyond a list picks that list's "not change" item.
struct TerrainCell;
BrushSelectors selectorsForCell(const TerrainCell &cell, const BrushSelectors &current);

// What the terrain configuration list holds for one terrain type: the numbers
// 0 .. maxTerrainSprite of the type, then the "n/c" item, and the item to select.
struct TerrainConfigList {
    int itemCount = 0;      // maxTerrainSprite + 2
    int selectedIndex = 0;  // the previous configuration when the new list has it as a number, else 0

    friend bool operator==(const TerrainConfigList &, const TerrainConfigList &) = default;
};

// The list to show after the terrain type changed to terrainTypeIndex (0..10),
// given the configuration chosen before.
TerrainConfigList terrainConfigListFor(int terrainTypeIndex, std::uint8_t previousConfig);
