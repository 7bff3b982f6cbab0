// A cell of the map grid as the editing state keeps it (the anchor cell).
#pragma once

#include <cstdint>

struct CellPosition {
    std::uint16_t column = 0;
    std::uint16_t row = 0;

    friend bool operator==(const CellPosition &, const CellPosition &) = default;
};
