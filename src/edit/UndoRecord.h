// One undo entry: where a cell changed and what it held before.
#pragma once

#include "map/TerrainCell.h"

#include <cstdint>

struct UndoRecord {
    // The level of the one record that stands for a change of the map's side
    // in the edit history; no map has a level of that number.
    static constexpr std::uint8_t SizeChangeLevel = 0xFF;

    std::uint16_t column = 0;
    std::uint16_t row = 0;
    std::uint8_t level = 0;   // 0 ground, 1 underground
    TerrainCell previous;     // all seven bytes before the change

    friend bool operator==(const UndoRecord &, const UndoRecord &) = default;
};
static_assert(sizeof(UndoRecord) == 12, "undo records are packed to 12 bytes");
