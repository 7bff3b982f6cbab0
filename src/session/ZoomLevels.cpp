// The zoom steps of the map grid.
#include "session/ZoomLevels.h"

#include <algorithm>

namespace zoom {

int nextStep(int cellSize)
{
    const auto larger = std::upper_bound(Steps.begin(), Steps.end(), cellSize);
    return larger == Steps.end() ? Steps.back() : *larger;
}

int previousStep(int cellSize)
{
    const auto notSmaller = std::lower_bound(Steps.begin(), Steps.end(), cellSize);
    return notSmaller == Steps.begin() ? Steps.front() : *(notSmaller - 1);
}

int rememberedStep(int cellSize)
{
    return std::find(Steps.begin(), Steps.end(), cellSize) == Steps.end() ? ResetStep : cellSize;
}

}  // namespace zoom
