// The zoom steps of the map grid: the cell sizes the View menu and the zoom
// keys step through, shared by both so they always agree.
#pragma once

#include <array>

namespace zoom {

// Cell sides in pixels, smallest first.
inline constexpr std::array<int, 4> Steps = {8, 16, 32, 64};
// The cell size of a fresh start and of "reset zoom".
inline constexpr int ResetStep = 32;

// The next larger step after cellSize (the largest step stays); a size
// between steps goes to the step above it.
int nextStep(int cellSize);
// The next smaller step before cellSize (the smallest step stays); a size
// between steps goes to the step below it.
int previousStep(int cellSize);
// The step for a remembered cell size: the size itself when it is a step,
// else the reset step, so that a damaged setting never gives a strange grid.
int rememberedStep(int cellSize);

}  // namespace zoom
