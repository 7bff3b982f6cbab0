// The zoom steps: stepping up and down, between steps and at the ends, and a
// remembered size read back.
#include "session/ZoomLevels.h"

#include <gtest/gtest.h>

namespace {

struct ZoomCase {
    int cellSize;
    int next;
    int previous;
    int remembered;
};

constexpr ZoomCase ZoomCases[] = {
    {8, 16, 8, 8},    {16, 32, 8, 16},   {32, 64, 16, 32}, {64, 64, 32, 64},
    {20, 32, 16, 32}, {1, 8, 8, 32},     {100, 64, 64, 32}, {0, 8, 8, 32},
};

TEST(ZoomLevels, StepsFromEverySize)
{
    for (const ZoomCase &c : ZoomCases) {
        SCOPED_TRACE(c.cellSize);
        EXPECT_EQ(zoom::nextStep(c.cellSize), c.next);
        EXPECT_EQ(zoom::previousStep(c.cellSize), c.previous);
        EXPECT_EQ(zoom::rememberedStep(c.cellSize), c.remembered);
    }
    EXPECT_EQ(zoom::ResetStep, 32);
}

TEST(ZoomLevels, StepsRunThroughAllSizesAndBack)
{
    int cellSize = zoom::Steps.front();
    for (std::size_t i = 1; i < zoom::Steps.size(); ++i)
        EXPECT_EQ(cellSize = zoom::nextStep(cellSize), zoom::Steps[i]);
    for (std::size_t i = zoom::Steps.size() - 1; i > 0; --i)
        EXPECT_EQ(cellSize = zoom::previousStep(cellSize), zoom::Steps[i - 1]);
}

}  // namespace
