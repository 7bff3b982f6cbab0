// The battlefield of a map cell and the choice between cell and list mode.
#include "obstacles/BattlefieldChoice.h"

#include "map/MapDocument.h"

#include <array>
#include <utility>

namespace {

constexpr std::uint8_t Water = 8;
constexpr std::uint8_t Rock = 9;
constexpr std::uint8_t UndergroundBattlefield = 6;

bool touchesWater(const TerrainLayer &layer, std::uint32_t column, std::uint32_t row)
{
    const std::uint32_t side = layer.side();
    constexpr std::array<std::pair<int, int>, 8> neighbours = {
        {{-1, 0}, {0, -1}, {1, 0}, {0, 1}, {-1, -1}, {1, 1}, {-1, 1}, {1, -1}}};
    for (const auto &[rowStep, columnStep] : neighbours) {
        const std::int64_t r = std::int64_t(row) + rowStep;
        const std::int64_t c = std::int64_t(column) + columnStep;
        if (r >= 0 && c >= 0 && r < side && c < side && layer.at(std::uint32_t(r), std::uint32_t(c)).tertype == Water)
            return true;
    }
    return false;
}

}  // namespace

std::optional<std::uint8_t> battlefieldOfCell(const TerrainLayer &layer, std::uint32_t column, std::uint32_t row,
                                              int level)
{
    const std::uint32_t side = layer.side();
    if (column >= side || row >= side)
        return std::nullopt;
    const std::uint8_t type = layer.at(row, column).tertype;
    if (type == Rock)
        return NoBattlefield;
    if (level == 1)
        return type == Water ? Water : UndergroundBattlefield;
    if (type == Water)
        return Water;
    const std::uint32_t last = side - 1;
    const bool corner = (column == 0 || column == last) && (row == 0 || row == last);
    if (!corner && touchesWater(layer, column, row))
        return ShoreBattlefield;
    // Types above rock name no terrain and so no battlefield.
    return type < Rock ? type : NoBattlefield;
}

std::optional<ObstacleChoice> chooseObstacleView(const ObstacleRequest &request, const ObstacleView &current)
{
    if (!request.featureOn)
        return std::nullopt;
    if (request.battlefieldItem != CellModeItem) {
        if (request.battlefieldItem < 0 || request.battlefieldItem > ShoreBattlefield || request.xItem < 0
            || request.yItem < 0)
            return std::nullopt;
        return ObstacleChoice{ObstacleChoice::Action::Show,
                              {std::uint8_t(request.battlefieldItem), std::uint8_t(request.xItem & 0xFF),
                               std::uint8_t(request.yItem & 0xFF)}};
    }
    if (!request.map || !request.map->isLoaded)
        return std::nullopt;
    const std::optional<std::uint8_t> battlefield = battlefieldOfCell(
        request.map->layer(request.map->hasLevel(request.level) ? request.level : 0), request.anchorColumn, request.anchorRow, request.level);
    if (!battlefield)
        return std::nullopt;
    if (*battlefield == NoBattlefield)
        return ObstacleChoice{ObstacleChoice::Action::NoBattlefield, {NoBattlefield, current.x, current.y}};
    return ObstacleChoice{ObstacleChoice::Action::Show,
                          {*battlefield, std::uint8_t(request.anchorColumn & 0xFF),
                           std::uint8_t(request.anchorRow & 0xFF)}};
}
